#include "export/exporter.h"

#include "data/dataset.h"
#include "db/dates.h"
#include "export/xlsxsheet.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QProgressDialog>

#include <memory>

namespace exporting {

const char* const kCannotStartText = "Excel 不能运行，请检查！";
const char* const kCaption = "Velmora软件";

namespace {
constexpr int kProgressStep = 500;
}

void Spreadsheet::putStored(int row, int col, const data::StoredCell& cell, bool date) {
    switch (cell.kind) {
    case data::StoredCell::Null: putCell(row, col, db::Value()); break;
    case data::StoredCell::Int: putCell(row, col, cell.integer); break;
    case data::StoredCell::Real: putCell(row, col, cell.real); break;
    case data::StoredCell::Text: {
        const QString text = QString::fromUtf8(cell.text.data(), static_cast<qsizetype>(cell.text.size()));
        if (date) {
            if (auto d = db::dates::fromStorage(text)) {
                putCell(row, col, *d);
                break;
            }
        }
        putCell(row, col, text);
        break;
    }
    }
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

    // What each column reads, found once and not per cell: a field the list
    // lacks gives empty cells; the list's own columns go to the sheet as
    // stored, without making a value of each cell on the way.
    struct Source {
        int field = -1;
        bool stored = false;
        bool date = false;
    };
    std::vector<Source> sources(n);
    list.first();
    for (int c = 0; c < n; ++c) {
        Source& s = sources[c];
        s.field = list.fieldIndex(layout.columns[c].field);
        if (s.field >= 0) {
            s.stored = !list.field(s.field).lookup;
            s.date = list.field(s.field).type == db::FieldType::DateTime;
        }
    }

    const int total = list.count();
    int row = 4;
    while (!list.isEmpty() && !list.eof()) {
        const int at = list.currentRow();
        const bool asStored = !list.isEditing();
        for (int c = 0; c < n; ++c) {
            const Source& s = sources[c];
            if (s.field < 0)
                continue;
            if (s.stored && asStored)
                sheet.putStored(row, c + 1, list.storedCell(at, s.field), s.date);
            else
                sheet.putCell(row, c + 1, list.value(s.field));
        }
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

void exportToSpreadsheet(QWidget* parent, data::DataSet& list, const Layout& layout) {
    XlsxSpreadsheet sheet(layout.title, desktop());
    const int total = list.count();
    if (total <= kProgressThreshold) {
        exportList(list, layout, sheet);
        return;
    }
    // Shown from the first step on (no minimum duration) and modal, so no
    // window can be used while the list is walked.
    std::unique_ptr<QProgressDialog> dialog;
    const Progress progress = [&](int done, int all) {
        if (!dialog) {
            dialog = std::make_unique<QProgressDialog>(QStringLiteral("正在导出“%1”……").arg(layout.title),
                                                       QStringLiteral("取消"), 0, all, parent);
            dialog->setObjectName(QStringLiteral("dlgExportProgress"));
            dialog->setWindowTitle(ui::appTitle());
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setMinimumDuration(0);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
        }
        dialog->setValue(done);
        QApplication::processEvents();
        return !dialog->wasCanceled();
    };
    exportList(list, layout, sheet, progress);
}

} // namespace exporting
