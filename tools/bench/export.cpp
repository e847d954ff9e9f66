// Exporting 100,000 goods rows: the export walk into an .xlsx against a bare
// libxlsxwriter loop that writes the same cells from memory.
#include "app/schema.h"
#include "bench/bench.h"
#include "bench/support.h"
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
    return "rows=" + std::to_string(g.list->count()) + " kb=" + bench::sizeKb(written);
}

BENCH_CASE("export-bare-100k") {
    GoodsList g(ctx.goodsFile());
    const exporting::Layout& layout = exporting::goodsListLayout();
    const int n = static_cast<int>(layout.columns.size());
    // The same cells, taken out of the list beforehand: numbers, day numbers, UTF-8 texts.
    std::vector<bench::BareCell> cells;
    cells.reserve(size_t(g.list->count()) * n);
    for (g.list->first(); !g.list->eof(); g.list->next())
        for (const auto& col : layout.columns)
            cells.push_back(bench::bareCell(g.list->value(col.field)));
    return bench::writeBare(ctx.dir + QStringLiteral("/bare.xlsx"), layout, cells, timer);
}
