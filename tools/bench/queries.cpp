// The goods list on the shared file: a million units opened in the window
// against the bare engine loop (raw-step), selective queries served by an
// index, and the export of 100,000 listed units against export-bare-100k.
#include "app/schema.h"
#include "bench/bench.h"
#include "export/exporter.h"
#include "export/layouts.h"
#include "export/xlsxsheet.h"
#include "queries/ckmx.h"
#include "queries/goodscriteria.h"
#include "queries/query.h"

#include <QApplication>
#include <QFileInfo>

#include <string>

namespace {

// How the engine runs the goods list's statement for these criteria.
std::string plan(db::Connection& c, const data::Criteria& criteria, bool server) {
    auto st = c.prepare((server ? QStringLiteral("explain ") : QStringLiteral("explain query plan ")) +
                        queries::goodsListSql(criteria));
    st->bindAll(criteria.params());
    QStringList steps;
    while (st->step())
        steps << st->value(server ? 0 : 3).toString().trimmed();
    return "\"" + steps.join(QStringLiteral("; ")).toStdString() + "\"";
}

// Opens the goods list as the query window does and lets it paint its first lines.
std::string openList(bench::Context& ctx, bench::Timer& timer, const queries::GoodsQuery& q) {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    const data::Criteria criteria = queries::goodsCriteria(q);
    timer.start();
    TckmxFrm w(*c);
    w.sqlWhere = criteria;
    w.show();
    QApplication::processEvents();
    timer.stop();
    const int n = w.units().count();
    const QString supplier = n ? w.units().value(QStringLiteral("jhname")).toString() : QString();
    return "rows=" + std::to_string(n) + " file_rows=" + std::to_string(ctx.rows) +
           " first_supplier=" + supplier.toStdString() + " plan=" + plan(*c, criteria, !ctx.server.isEmpty());
}

} // namespace

// The query window itself: created and shown with its choices filled.
BENCH_CASE("goods-query-open") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    timer.start();
    TqueryFrm w(*c);
    w.show();
    QApplication::processEvents();
    timer.stop();
    return "file_rows=" + std::to_string(ctx.rows);
}

BENCH_CASE("goods-list-1M") {
    queries::GoodsQuery q;
    q.model = QStringLiteral("XH-"); // every unit
    return openList(ctx, timer, q);
}

BENCH_CASE("goods-list-in-stock") {
    queries::GoodsQuery q;
    q.state = QStringLiteral("入");
    return openList(ctx, timer, q);
}

BENCH_CASE("goods-query-barcode") {
    queries::GoodsQuery q;
    q.barcode = QStringLiteral("TXM%1").arg(ctx.rows / 2 / 3 * 3 + 3, 9, 10, QLatin1Char('0'));
    return openList(ctx, timer, q);
}

BENCH_CASE("goods-query-bill") {
    queries::GoodsQuery q;
    q.bill = QStringLiteral("PJ%1").arg(ctx.rows / 2 / 3 * 3 + 3);
    return openList(ctx, timer, q);
}

// Stock-in days of the shared file's first 70 days: about 100,000 units.
BENCH_CASE("goods-export-100k") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    queries::GoodsQuery q;
    q.stockIn = queries::DayRange{QDate(2025, 1, 1), QDate(2025, 1, 1).addDays(69)};
    TckmxFrm w(*c);
    w.sqlWhere = queries::goodsCriteria(q);
    w.show();
    QApplication::processEvents();
    // What "Excel" does, into the scratch folder, with nothing opened.
    QString written;
    exporting::desktop() = {[] { return true; },
                            [&](const QString& f) {
                                written = f;
                                return true;
                            },
                            [&] { return ctx.dir; }};
    timer.start();
    w.BitBtn2Click();
    timer.stop();
    return "rows=" + std::to_string(w.units().count()) + " kb=" + std::to_string(QFileInfo(written).size() / 1024);
}
