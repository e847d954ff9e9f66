// Registering 10,000 units at once: the rule on its own, and the window with
// its grid in step, against a file that already holds the goods rows.
#include "app/schema.h"
#include "bench/bench.h"
#include "core/codes.h"
#include "data/dataset.h"
#include "stockin/registration.h"
#include "stockin/rkgl.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <string>

namespace {

stockin::Entry tenThousand() { return {"XH-007", 3, "10000", QDate::currentDate(), "整柜到货"}; }

std::string figures(db::Connection& c, const data::DataSet& list) {
    return "stored=" + std::to_string(c.scalar("select count(*) from hwgl where remark = '整柜到货'").toInt()) +
           " listed=" + std::to_string(list.count());
}

} // namespace

BENCH_CASE("stockin-10k") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    data::DataSet units(*c);
    units.setSql(QStringLiteral("select * from hwgl where rkrq = ? and if_in = ?"),
                 {db::Value(QDate::currentDate()), core::codes::kInStock});
    units.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    units.open();
    timer.start();
    const stockin::Outcome o = stockin::registerUnits(units, tenThousand());
    timer.stop();
    return "n=" + std::to_string(o.stored) + " " + figures(*c, units);
}

// The same 10,000 rows with one prepared statement in one transaction: what the
// engine itself needs for them.
BENCH_CASE("stockin-bare-10k") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    const stockin::Entry e = tenThousand();
    const int n = e.quantity.toInt();
    timer.start();
    {
        db::Transaction tx(*c);
        auto ins =
            c->prepare(QStringLiteral("insert into hwgl (if_in, jhid, hwmc, rkrq, remark) values (?, ?, ?, ?, ?)"));
        const db::Params row = {core::codes::kInStock, *e.supplier, e.model, db::Value(e.date), e.remark};
        for (int i = 0; i < n; ++i) {
            ins->reset();
            ins->bindAll(row);
            ins->step();
        }
        tx.commit();
    }
    timer.stop();
    return "stored=" + std::to_string(c->scalar("select count(*) from hwgl where remark = '整柜到货'").toInt());
}

namespace {

// "入库 &a" in the stock-in window for `quantity` units; the time until the grid shows them.
std::string fromWindow(bench::Context& ctx, bench::Timer& timer, const QString& quantity) {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    TrkglFrm w(*c);
    w.show();
    QApplication::processEvents();
    stockin::Entry e = tenThousand();
    e.quantity = quantity;
    w.findChild<QComboBox*>(QStringLiteral("cmbXh"))->setEditText(e.model);
    auto* supplier = w.findChild<QComboBox*>(QStringLiteral("dlkDwmcPL"));
    supplier->setCurrentIndex(supplier->findData(*e.supplier));
    w.findChild<QLineEdit*>(QStringLiteral("edtNum"))->setText(e.quantity);
    w.findChild<QPlainTextEdit*>(QStringLiteral("memRemark"))->setPlainText(e.remark);
    timer.start();
    w.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    QApplication::processEvents();
    timer.stop();
    return figures(*c, w.units());
}

} // namespace

BENCH_CASE("stockin-10k-window") { return fromWindow(ctx, timer, QStringLiteral("10000")); }

// The largest quantity the window takes.
BENCH_CASE("stockin-100k-window") { return fromWindow(ctx, timer, QStringLiteral("100000")); }
