#pragma once

#include "data/dataset.h"
#include "db/errors.h"
#include "db/value.h"
#include "export/layouts.h"

#include <QString>

#include <functional>

class QWidget;

namespace exporting {

// The spreadsheet application cannot be started (or nothing can show the file).
class CannotStart : public db::Error {
public:
    using Error::Error;
};

// A later spreadsheet call failed; reported by the general error guard.
class SpreadsheetError : public db::Error {
public:
    using Error::Error;
};

// The spreadsheet calls an export makes, in this order: connect, setVisible,
// setCaption, newWorkbook, firstSheet, putCell for every cell (rows in
// ascending order, left to right), release. connect() throws CannotStart when
// the application cannot be started; the other calls throw SpreadsheetError.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;
    virtual void connect() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void newWorkbook() = 0;
    virtual void firstSheet() = 0;
    // Rows and columns count from 1. A null value leaves the cell empty.
    virtual void putCell(int row, int col, const db::Value& value) = 0;
    // The same for a cell as the list stores it (`date`: of a date column, so
    // its text is the stored form of a date). By default it becomes the value
    // the list would give and goes to putCell; a sheet may write it directly.
    virtual void putStored(int row, int col, const data::StoredCell& cell, bool date);
    // Done: hands the workbook over to the user.
    virtual void release() = 0;
    // The user gave up half way: nothing of this export is to stay behind.
    virtual void discard() {}
};

extern const char* const kCannotStartText; // "Excel 不能运行，请检查！"
extern const char* const kCaption;         // "Velmora软件"

// Called every few rows during the walk with the rows written so far and the
// total; returning false cancels the export.
using Progress = std::function<bool(int done, int total)>;

// Writes the title, the headers and every row of the list into the sheet,
// moving the list with its own navigation (a pending edit is stored or an
// untouched new row dropped on the way to the first row); the first row is
// current afterwards. When the spreadsheet cannot start, shows the error box
// and returns with nothing written and the list not moved. Returns false only
// when progress cancelled the export (the sheet is discarded).
bool exportList(data::DataSet& list, const Layout& layout, Spreadsheet& sheet, const Progress& progress = {});

// What an "Excel" button calls: writes an .xlsx into the documents folder and
// opens it with the desktop's default spreadsheet application; shows
// "Excel 不能运行，请检查！" (and writes nothing) when none can open it. Large
// lists show a progress dialog whose cancel leaves no file behind.
void exportToSpreadsheet(QWidget* parent, data::DataSet& list, const Layout& layout);

// Lists longer than this show the progress dialog.
constexpr int kProgressThreshold = 5000;

} // namespace exporting
