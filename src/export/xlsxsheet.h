#pragma once

#include "export/exporter.h"

#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace exporting {

// The desktop around an export; tests replace its members.
struct Desktop {
    // Whether some application can show an .xlsx file; asked before anything is written.
    std::function<bool()> canOpen;
    // Shows the finished file; false when the desktop refused.
    std::function<bool(const QString& file)> open;
    // The folder exports are written into.
    std::function<QString()> folder;
};

// xdg-open with a registered .xlsx handler, QDesktopServices, the documents folder.
Desktop systemDesktop();
// The desktop exportToSpreadsheet uses (initially systemDesktop()).
Desktop& desktop();

// The Excel number format for the short date format, with or without the time of day.
QString excelDateFormat(const QString& qtDateFormat, bool withTime);
// A name that does not exist yet in folder: "Velmora软件" + title + date and time.
QString uniqueFileName(const QString& folder, const QString& title);

// Writes a new .xlsx row by row (libxlsxwriter's constant-memory mode) and
// hands it to the desktop on release(). Numbers become number cells, dates
// date cells in the short date format, everything else text. Each column is
// as wide as its header and its widest value (from row 3 on; the title in row
// 1 does not count), within 8 to 60 characters; a character of the wide East
// Asian scripts counts as two. A workbook not released (a cancel or a failed
// call) is removed with its file.
class XlsxSpreadsheet : public Spreadsheet {
public:
    XlsxSpreadsheet(const QString& title, Desktop& desktop);
    ~XlsxSpreadsheet() override;
    XlsxSpreadsheet(const XlsxSpreadsheet&) = delete;
    XlsxSpreadsheet& operator=(const XlsxSpreadsheet&) = delete;

    void connect() override;
    void setVisible(bool) override {}
    void setCaption(const QString& caption) override;
    void newWorkbook() override;
    void firstSheet() override;
    void putCell(int row, int col, const db::Value& value) override;
    void putStored(int row, int col, const data::StoredCell& cell, bool date) override;
    void release() override;
    void discard() override;

    // The file being written (empty before newWorkbook).
    QString fileName() const { return file_; }

private:
    void check(int err, const QString& what) const;
    void drop();
    void writeNumber(int row, int col, double v, lxw_format* format, int width);
    void writeText(int row, int col, std::string_view utf8);
    void widen(int row, int col, int width);

    QString title_;
    Desktop& desktop_;
    QString caption_;
    QString file_;
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    lxw_format* dateFormat_ = nullptr;
    lxw_format* dateTimeFormat_ = nullptr;
    int dateWidth_ = 0, dateTimeWidth_ = 0; // of a date shown in those formats
    std::vector<int> widths_;               // widest cell by column (0-based)
    std::string text_;                      // a text cell's bytes with their terminating NUL
};

// The width of a text in characters, a wide East Asian character counting two.
int displayWidth(std::string_view utf8);

} // namespace exporting
