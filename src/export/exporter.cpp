#include "export/exporter.h"

#include "data/dataset.h"
#include "ui/prompter.h"

namespace exporting {

const char* const kCannotStartText = "Excel 不能运行，请检查！";
const char* const kCaption = "Velmora软件";

namespace {
constexpr int kProgressStep = 500;
}

bool exportList(data::DataSet& list, const Layout& layout, Spreadsheet& sheet, const Progress& progress) {
    try {
        sheet.connect();
    } catch (const CannotStart&) {
        ui::prompter().error(QString::fromUtf8(kCannotStartText));
        return true;
    }
    sheet.setVisible(true);
    sheet.setCaption(QString::fromUtf8(kCaption));
    sheet.newWorkbook();
    sheet.firstSheet();

    sheet.putCell(1, 4, layout.title);
    const int n = static_cast<int>(layout.columns.size());
    for (int c = 0; c < n; ++c)
        sheet.putCell(3, c + 1, layout.columns[c].header);

    // Field positions once, not per cell; a field the list lacks gives empty cells.
    std::vector<int> fields(n);
    list.first();
    for (int c = 0; c < n; ++c)
        fields[c] = list.fieldIndex(layout.columns[c].field);

    const int total = list.count();
    int row = 4;
    while (!list.isEmpty() && !list.eof()) {
        for (int c = 0; c < n; ++c)
            if (fields[c] >= 0)
                sheet.putCell(row, c + 1, list.value(fields[c]));
        ++row;
        if (progress && (row - 4) % kProgressStep == 0 && !progress(row - 4, total)) {
            sheet.discard();
            list.first();
            return false;
        }
        list.next();
    }
    list.first();
    sheet.release();
    return true;
}

void exportToSpreadsheet(QWidget*, data::DataSet&, const Layout&) {
    ui::prompter().error(QString::fromUtf8(kCannotStartText));
}

} // namespace exporting
