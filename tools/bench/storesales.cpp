// Store sales on a large file: opening the entry window over 1,000,000 units and
// 10,000 unfinished sales, selling units from it, and exporting the sales.
#include "app/schema.h"
#include "bench/bench.h"
#include "bench/support.h"
#include "export/exporter.h"
#include "export/layouts.h"
#include "export/xlsxsheet.h"
#include "storesales/mc.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>
#include <xlsxwriter.h>

namespace {

constexpr int kSales = 10000;

// The goods file with 10,000 unfinished sales, each with one issued unit.
std::unique_ptr<db::Connection> salesFile(bench::Context& ctx) {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    db::Transaction tx(*c);
    c->exec(QStringLiteral("insert into jxs (mc, dq, type) values ('银泰卖场', '杭州', 'mc')"));
    auto ins = c->prepare(
        QStringLiteral("insert into mcxs (gjrq, xsdd, khxm, tel, khaddress, cxrj, cxp, shrq, cxy, czxt, gcs, bz, "
                       "xhms, finish, ts) values (?, '银泰卖场', ?, ?, ?, '杀毒软件', '鼠标', ?, '小李', 'WINXP', "
                       "'王工', '送货上门', '笔记本电脑', '否', 1)"));
    const QDate day0(2025, 1, 1);
    for (int i = 0; i < kSales; ++i) {
        ins->reset();
        ins->bindAll({db::Value(day0.addDays(i % 300)), QStringLiteral("客户%1").arg(i),
                      QStringLiteral("1380000%1").arg(i, 4, 10, QLatin1Char('0')),
                      QStringLiteral("杭州市西湖路%1号").arg(i), db::Value(day0.addDays(i % 300 + 2))});
        ins->step();
    }
    // Unit 3k+1 is issued; give the first 10,000 of them to the sales.
    c->exec(QStringLiteral("update hwgl set mcid = (hwid - 1) / 3 + 1, khmc = '银泰卖场:客户' "
                           "where hwid % 3 = 1 and hwid <= ?"),
            {3 * kSales});
    tx.commit();
    return c;
}

} // namespace

BENCH_CASE("storesales-open-1M") {
    auto c = salesFile(ctx);
    timer.start();
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    timer.stop();
    return "file_rows=" + std::to_string(ctx.rows) + " sales_listed=" + std::to_string(w.sales().count()) +
           " units_listed=" + std::to_string(w.units().count());
}

BENCH_CASE("storesales-issue-1M") {
    auto c = salesFile(ctx);
    bench::QuietPrompter prompter;
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    w.findChild<QComboBox*>("cmbXh")->setEditText(QStringLiteral("xh-007"));
    auto* issue = w.findChild<QPushButton*>("BitBtn2");
    constexpr int kPresses = 200;
    double slowest = 0;
    for (int i = 0; i < kPresses; ++i) {
        bench::Timer one;
        timer.start();
        one.start();
        issue->click();
        one.stop();
        timer.stop();
        slowest = std::max(slowest, one.ms());
    }
    return "file_rows=" + std::to_string(ctx.rows) + " presses=" + std::to_string(kPresses) +
           " units_listed=" + std::to_string(w.units().count()) + " mean_ms=" + std::to_string(timer.ms() / kPresses) +
           " slowest_ms=" + std::to_string(slowest) + " messages=" + std::to_string(prompter.messages);
}

namespace {

exporting::Desktop intoFolder(const QString& dir, QString& written) {
    return {[] { return true; },
            [&written](const QString& f) {
                written = f;
                return true;
            },
            [dir] { return dir; }};
}

} // namespace

// "Excel" in the window: the walk with the units' refresh held back, the
// progress dialog shown.
BENCH_CASE("storesales-export-10k") {
    auto c = salesFile(ctx);
    bench::QuietPrompter prompter;
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    QString written;
    exporting::desktop() = intoFolder(ctx.dir, written);
    timer.start();
    w.findChild<QPushButton*>("BitBtn3")->click();
    timer.stop();
    return "rows=" + std::to_string(w.sales().count()) + " kb=" + bench::sizeKb(written) +
           " units_listed=" + std::to_string(w.units().count()) + " messages=" + std::to_string(prompter.messages);
}

// The same walk with the units read again for every sale on the way.
BENCH_CASE("storesales-export-10k-refreshing") {
    auto c = salesFile(ctx);
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    QString written;
    exporting::Desktop desk = intoFolder(ctx.dir, written);
    exporting::XlsxSpreadsheet sheet(exporting::storeSalesLayout().title, desk);
    timer.start();
    exporting::exportList(w.sales(), exporting::storeSalesLayout(), sheet);
    timer.stop();
    return "rows=" + std::to_string(w.sales().count()) + " kb=" + bench::sizeKb(written);
}

// A bare libxlsxwriter loop over the same cells, taken from the list beforehand.
BENCH_CASE("storesales-export-bare-10k") {
    auto c = salesFile(ctx);
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    data::DataSet& list = w.sales();
    const exporting::Layout& layout = exporting::storeSalesLayout();
    std::vector<bench::BareCell> cells;
    for (int r = 0; r < list.count(); ++r)
        for (const auto& col : layout.columns)
            cells.push_back(bench::bareCell(list.value(r, list.fieldIndex(col.field))));
    return bench::writeBare(ctx.dir + QStringLiteral("/bare-sales.xlsx"), layout, cells, timer);
}
