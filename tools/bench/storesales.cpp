// Store sales on a large file: opening the entry window over 1,000,000 units and
// 10,000 unfinished sales, selling units from it, and exporting the sales.
#include "app/schema.h"
#include "bench/bench.h"
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

class QuietPrompter : public ui::Prompter {
public:
    QuietPrompter() { ui::setPrompter(this); }
    ~QuietPrompter() override { ui::setPrompter(nullptr); }
    void message(const QString&) override { ++messages; }
    bool confirm(const QString&) override { return true; }
    void error(const QString&) override { ++messages; }
    void stop(const QString&) override { ++messages; }
    int messages = 0;
};

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

std::string sizeKb(const QString& file) { return std::to_string(QFileInfo(file).size() / 1024); }

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
    QuietPrompter prompter;
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
    QuietPrompter prompter;
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    QString written;
    exporting::desktop() = intoFolder(ctx.dir, written);
    timer.start();
    w.findChild<QPushButton*>("BitBtn3")->click();
    timer.stop();
    return "rows=" + std::to_string(w.sales().count()) + " kb=" + sizeKb(written) +
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
    return "rows=" + std::to_string(w.sales().count()) + " kb=" + sizeKb(written);
}

// A bare libxlsxwriter loop over the same cells, taken from the list beforehand.
BENCH_CASE("storesales-export-bare-10k") {
    auto c = salesFile(ctx);
    TmcFrm w(*c);
    w.show();
    QApplication::processEvents();
    data::DataSet& list = w.sales();
    const exporting::Layout& layout = exporting::storeSalesLayout();
    const int n = static_cast<int>(layout.columns.size());
    struct Cell {
        int kind; // 0 empty, 1 number, 2 date, 3 text
        double number;
        QByteArray text;
    };
    std::vector<Cell> cells;
    const qint64 zero = QDate(1899, 12, 30).toJulianDay();
    for (int r = 0; r < list.count(); ++r)
        for (const auto& col : layout.columns) {
            const db::Value v = list.value(r, list.fieldIndex(col.field));
            if (v.isNull())
                cells.push_back({0, 0, {}});
            else if (const qint64* i = v.ifInt())
                cells.push_back({1, double(*i), {}});
            else if (const QDateTime* dt = v.ifDateTime())
                cells.push_back({2, double(dt->date().toJulianDay() - zero), {}});
            else
                cells.push_back({3, 0, v.toString().toUtf8()});
        }
    const QString file = ctx.dir + QStringLiteral("/bare-sales.xlsx");
    timer.start();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(file.toUtf8().constData(), &options);
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy/m/d");
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    worksheet_write_string(ws, 0, 3, layout.title.toUtf8().constData(), nullptr);
    for (int col = 0; col < n; ++col)
        worksheet_write_string(ws, 2, lxw_col_t(col), layout.columns[col].header.toUtf8().constData(), nullptr);
    size_t k = 0;
    for (lxw_row_t r = 3; k < cells.size(); ++r)
        for (lxw_col_t col = 0; col < lxw_col_t(n); ++col, ++k) {
            const Cell& cell = cells[k];
            if (cell.kind == 1)
                worksheet_write_number(ws, r, col, cell.number, nullptr);
            else if (cell.kind == 2)
                worksheet_write_number(ws, r, col, cell.number, date);
            else if (cell.kind == 3)
                worksheet_write_string(ws, r, col, cell.text.constData(), nullptr);
        }
    const lxw_error err = workbook_close(wb);
    timer.stop();
    return "rows=" + std::to_string(cells.size() / n) + " kb=" + sizeKb(file) + " err=" + std::to_string(err);
}
