// Exporting 100,000 goods rows: the export walk into an .xlsx against a bare
// libxlsxwriter loop that writes the same cells from memory.
#include "app/schema.h"
#include "bench/bench.h"
#include "data/dataset.h"
#include "db/dates.h"
#include "export/exporter.h"
#include "export/xlsxsheet.h"

#include <QFileInfo>

#include <string>
#include <xlsxwriter.h>

namespace {

constexpr int kRows = 100000;

struct GoodsList {
    std::unique_ptr<db::Connection> conn;
    std::unique_ptr<data::DataSet> suppliers, categories, list;
    explicit GoodsList(const QString& file) : conn(app::schema::openDatabase(file)) {
        suppliers = std::make_unique<data::DataSet>(*conn);
        categories = std::make_unique<data::DataSet>(*conn);
        list = std::make_unique<data::DataSet>(*conn);
        suppliers->setSql(QStringLiteral("select * from jhdw"));
        categories->setSql(QStringLiteral("select * from cktype"));
        suppliers->open();
        categories->open();
        list->setSql(QStringLiteral("select * from hwgl order by hwid limit ?"), {kRows});
        list->setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
        list->addLookupField(QStringLiteral("jhname"), QStringLiteral("jhid"), suppliers.get(), QStringLiteral("jhid"),
                             QStringLiteral("dwmc"));
        list->addLookupField(QStringLiteral("type_name"), QStringLiteral("type_id"), categories.get(),
                             QStringLiteral("type_id"), QStringLiteral("type_name"));
        list->open();
    }
};

std::string sizeKb(const QString& file) { return std::to_string(QFileInfo(file).size() / 1024); }

} // namespace

BENCH_CASE("export-100k") {
    GoodsList g(ctx.goodsFile());
    QString written;
    exporting::Desktop desk{[] { return true; },
                            [&](const QString& f) {
                                written = f;
                                return true;
                            },
                            [&] { return ctx.dir; }};
    exporting::XlsxSpreadsheet sheet(exporting::goodsListLayout().title, desk);
    timer.start();
    exporting::exportList(*g.list, exporting::goodsListLayout(), sheet);
    timer.stop();
    return "rows=" + std::to_string(g.list->count()) + " kb=" + sizeKb(written);
}

BENCH_CASE("export-bare-100k") {
    GoodsList g(ctx.goodsFile());
    const exporting::Layout& layout = exporting::goodsListLayout();
    const int n = static_cast<int>(layout.columns.size());
    // The same cells, taken out of the list beforehand: numbers, day numbers, UTF-8 texts.
    struct Cell {
        int kind; // 0 empty, 1 number, 2 date, 3 text
        double number;
        QByteArray text;
    };
    std::vector<Cell> cells;
    cells.reserve(size_t(g.list->count()) * n);
    const qint64 zero = QDate(1899, 12, 30).toJulianDay();
    for (g.list->first(); !g.list->eof(); g.list->next())
        for (const auto& col : layout.columns) {
            const db::Value v = g.list->value(col.field);
            if (v.isNull())
                cells.push_back({0, 0, {}});
            else if (const qint64* i = v.ifInt())
                cells.push_back({1, double(*i), {}});
            else if (const QDateTime* dt = v.ifDateTime())
                cells.push_back({2, double(dt->date().toJulianDay() - zero), {}});
            else
                cells.push_back({3, 0, v.toString().toUtf8()});
        }
    const QString file = ctx.dir + QStringLiteral("/bare.xlsx");
    timer.start();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(file.toUtf8().constData(), &options);
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy/m/d");
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    worksheet_write_string(ws, 0, 3, layout.title.toUtf8().constData(), nullptr);
    for (int c = 0; c < n; ++c)
        worksheet_write_string(ws, 2, lxw_col_t(c), layout.columns[c].header.toUtf8().constData(), nullptr);
    size_t k = 0;
    for (lxw_row_t r = 3; k < cells.size(); ++r)
        for (lxw_col_t c = 0; c < lxw_col_t(n); ++c, ++k) {
            const Cell& cell = cells[k];
            if (cell.kind == 1)
                worksheet_write_number(ws, r, c, cell.number, nullptr);
            else if (cell.kind == 2)
                worksheet_write_number(ws, r, c, cell.number, date);
            else if (cell.kind == 3)
                worksheet_write_string(ws, r, c, cell.text.constData(), nullptr);
        }
    const lxw_error err = workbook_close(wb);
    timer.stop();
    return "rows=" + std::to_string(cells.size() / n) + " kb=" + sizeKb(file) + " err=" + std::to_string(err);
}
