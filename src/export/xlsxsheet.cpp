#include "export/xlsxsheet.h"

#include "db/dates.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <xlsxwriter.h>

namespace exporting {

namespace {

constexpr int kMinWidth = 8;
constexpr int kMaxWidth = 60;

const QString kXlsxMime = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

// A handler for the mime type in some mimeinfo.cache of the XDG data folders.
bool mimeCacheHasHandler() {
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QFile f(dir + QStringLiteral("/mimeinfo.cache"));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QByteArray key = kXlsxMime.toUtf8() + '=';
        while (!f.atEnd()) {
            const QByteArray line = f.readLine().trimmed();
            if (line.startsWith(key) && line.size() > key.size())
                return true;
        }
    }
    return false;
}

bool systemCanOpen() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        QProcess p;
        p.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), kXlsxMime});
        if (p.waitForFinished(3000) && p.exitCode() == 0 && !p.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return mimeCacheHasHandler();
}

QString systemFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QDir().mkpath(docs) && QFileInfo(docs).isWritable())
        return docs;
    return QDir::tempPath();
}

// Days since 1899-12-30, the spreadsheet's day zero (valid from March 1900 on).
double serialDate(const QDateTime& dt) {
    static const qint64 zero = QDate(1899, 12, 30).toJulianDay();
    return double(dt.date().toJulianDay() - zero) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

// A stored date ("yyyy-MM-dd hh:mm:ss") as a day number, read without making a
// date and time value; and whether it is at midnight. Nothing for any other
// text, or a date before 1901 (the spreadsheet cannot show those as dates).
std::optional<std::pair<double, bool>> storedSerial(std::string_view t) {
    if (t.size() != 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':')
        return std::nullopt;
    bool ok = true;
    auto num = [&](size_t at, size_t n) {
        int v = 0;
        for (size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9')
                ok = false;
            v = v * 10 + (t[i] - '0');
        }
        return v;
    };
    const QDate d(num(0, 4), num(5, 2), num(8, 2));
    const int h = num(11, 2), m = num(14, 2), sec = num(17, 2);
    if (!ok || !d.isValid() || d.year() < 1901 || h > 23 || m > 59 || sec > 59)
        return std::nullopt;
    static const qint64 zero = QDate(1899, 12, 30).toJulianDay();
    const int seconds = (h * 60 + m) * 60 + sec;
    return std::pair{double(d.toJulianDay() - zero) + seconds * 1000 / 86400000.0, seconds == 0};
}

// How many characters a number takes in the general format.
int numberWidth(double v) {
    if (v == double(qint64(v)) && std::abs(v) < 1e15)
        return int(std::to_string(qint64(v)).size());
    return int(QString::number(v, 'g', 15).size());
}

QString cellName(int row, int col) {
    QString letters;
    for (int c = col; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

} // namespace

int displayWidth(std::string_view utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? b : b & (0x3F >> (n - 1));
        for (size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        // Hangul Jamo, CJK and its punctuation, kana, Hangul syllables,
        // compatibility ideographs, full-width forms, the ideograph planes.
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

Desktop systemDesktop() {
    return {systemCanOpen, [](const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); },
            systemFolder};
}

Desktop& desktop() {
    static Desktop d = systemDesktop();
    return d;
}

QString excelDateFormat(const QString& qt, bool withTime) {
    QString out;
    QString literal;
    auto flushLiteral = [&] {
        if (!literal.isEmpty())
            out += QLatin1Char('"') + literal + QLatin1Char('"');
        literal.clear();
    };
    for (qsizetype i = 0; i < qt.size();) {
        const QChar ch = qt[i];
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == ch)
            ++run;
        if (ch == u'd' || ch == u'M' || ch == u'y') {
            flushLiteral();
            const QChar e = ch == u'M' ? QChar(u'm') : ch;
            if (ch == u'y')
                run = run >= 3 ? 4 : 2;
            out += QString(std::min<qsizetype>(run, 4), e);
            i += run;
        } else if (ch == u'\'') {
            // A quoted literal; '' is a quote itself.
            qsizetype j = i + 1;
            while (j < qt.size() && qt[j] != u'\'')
                literal += qt[j++];
            if (j == i + 1)
                literal += u'\'';
            i = j + 1;
        } else if (ch == u'/' || ch == u'-' || ch == u' ' || ch == u':') {
            flushLiteral();
            out += QString(run, ch);
            i += run;
        } else {
            literal += QString(run, ch);
            i += run;
        }
    }
    flushLiteral();
    if (withTime)
        out += QStringLiteral(" hh:mm:ss");
    return out;
}

QString uniqueFileName(const QString& folder, const QString& title) {
    const QString base = QStringLiteral("Velmora软件") + title + QLatin1Char('-') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base + QStringLiteral(".xlsx") : QStringLiteral("%1-%2.xlsx").arg(base).arg(n);
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}

XlsxSpreadsheet::XlsxSpreadsheet(const QString& title, Desktop& desktop) : title_(title), desktop_(desktop) {}

XlsxSpreadsheet::~XlsxSpreadsheet() { drop(); }

void XlsxSpreadsheet::check(int err, const QString& what) const {
    if (err != LXW_NO_ERROR)
        throw SpreadsheetError(QStringLiteral("%1：%2").arg(what, QString::fromUtf8(lxw_strerror(lxw_error(err)))));
}

void XlsxSpreadsheet::connect() {
    if (!desktop_.canOpen || !desktop_.canOpen())
        throw CannotStart(QString::fromUtf8(kCannotStartText));
}

void XlsxSpreadsheet::setCaption(const QString& caption) { caption_ = caption; }

void XlsxSpreadsheet::newWorkbook() {
    const QString folder = desktop_.folder ? desktop_.folder() : QDir::tempPath();
    // Reserve the name at once, so that a second export in the same second
    // cannot choose it too; the workbook is written over it on release.
    for (;;) {
        const QString name = uniqueFileName(folder, title_);
        QFile reserve(name);
        if (reserve.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file_ = name;
            break;
        }
        // Only a name taken in the meantime is worth another try.
        if (!QFileInfo::exists(name))
            throw SpreadsheetError(
                QStringLiteral("不能新建文件 %1：%2").arg(QDir::toNativeSeparators(name), reserve.errorString()));
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray path = QFile::encodeName(file_);
    wb_ = workbook_new_opt(path.constData(), &options);
    if (!wb_) {
        QFile::remove(file_);
        file_.clear();
        throw SpreadsheetError(QStringLiteral("不能新建工作簿"));
    }
    if (!caption_.isEmpty()) {
        const QByteArray title = caption_.toUtf8();
        lxw_doc_properties props{};
        props.title = const_cast<char*>(title.constData());
        check(workbook_set_properties(wb_, &props), QStringLiteral("设置文档属性失败"));
    }
    const QString fmt = db::dates::shortDateFormat();
    dateFormat_ = workbook_add_format(wb_);
    format_set_num_format(dateFormat_, excelDateFormat(fmt, false).toUtf8().constData());
    dateTimeFormat_ = workbook_add_format(wb_);
    format_set_num_format(dateTimeFormat_, excelDateFormat(fmt, true).toUtf8().constData());
    // A date with two-digit month and day shows the widest.
    dateWidth_ = int(QDate(2000, 12, 28).toString(fmt).size());
    dateTimeWidth_ = dateWidth_ + 9; // " hh:mm:ss"
    widths_.clear();
}

void XlsxSpreadsheet::firstSheet() {
    if (!wb_)
        throw SpreadsheetError(QStringLiteral("没有工作簿"));
    ws_ = workbook_add_worksheet(wb_, nullptr);
    if (!ws_)
        throw SpreadsheetError(QStringLiteral("不能新建工作表"));
}

void XlsxSpreadsheet::putCell(int row, int col, const db::Value& value) {
    if (!ws_)
        throw SpreadsheetError(QStringLiteral("没有工作表"));
    if (value.isNull())
        return;
    if (const qint64* i = value.ifInt()) {
        writeNumber(row, col, double(*i), nullptr, numberWidth(double(*i)));
    } else if (const double* d = value.ifReal()) {
        writeNumber(row, col, *d, nullptr, numberWidth(*d));
    } else if (const QDateTime* dt = value.ifDateTime(); dt && dt->date().year() >= 1901) {
        const bool midnight = dt->time() == QTime(0, 0);
        writeNumber(row, col, serialDate(*dt), midnight ? dateFormat_ : dateTimeFormat_,
                    midnight ? dateWidth_ : dateTimeWidth_);
    } else {
        const QString* t = value.ifText();
        const QByteArray utf8 = t ? t->toUtf8() : value.toString().toUtf8();
        writeText(row, col, std::string_view(utf8.constData(), size_t(utf8.size())));
    }
}

void XlsxSpreadsheet::putStored(int row, int col, const data::StoredCell& cell, bool date) {
    if (!ws_)
        throw SpreadsheetError(QStringLiteral("没有工作表"));
    switch (cell.kind) {
    case data::StoredCell::Null: return;
    case data::StoredCell::Int: {
        const double v = double(cell.integer);
        writeNumber(row, col, v, nullptr, numberWidth(v));
        return;
    }
    case data::StoredCell::Real: writeNumber(row, col, cell.real, nullptr, numberWidth(cell.real)); return;
    case data::StoredCell::Text:
        if (!date) {
            writeText(row, col, cell.text);
            return;
        }
        if (const auto serial = storedSerial(cell.text)) {
            const bool midnight = serial->second;
            writeNumber(row, col, serial->first, midnight ? dateFormat_ : dateTimeFormat_,
                        midnight ? dateWidth_ : dateTimeWidth_);
            return;
        }
        Spreadsheet::putStored(row, col, cell, date); // any other text, as the list reads it
        return;
    }
}

void XlsxSpreadsheet::writeNumber(int row, int col, double v, lxw_format* format, int width) {
    const int err = worksheet_write_number(ws_, lxw_row_t(row - 1), lxw_col_t(col - 1), v, format);
    if (err != LXW_NO_ERROR) // the text only when it is needed: this runs for every cell
        check(err, QStringLiteral("写入单元格 %1 失败").arg(cellName(row, col)));
    widen(row, col, width);
}

void XlsxSpreadsheet::writeText(int row, int col, std::string_view utf8) {
    if (utf8.empty())
        return;
    text_.assign(utf8);
    const int err = worksheet_write_string(ws_, lxw_row_t(row - 1), lxw_col_t(col - 1), text_.c_str(), nullptr);
    if (err != LXW_NO_ERROR) // the text only when it is needed: this runs for every cell
        check(err, QStringLiteral("写入单元格 %1 失败").arg(cellName(row, col)));
    widen(row, col, displayWidth(utf8));
}

void XlsxSpreadsheet::widen(int row, int col, int width) {
    if (row < 3) // the title runs over the empty cells to its right
        return;
    if (size_t(col) > widths_.size())
        widths_.resize(size_t(col));
    widths_[size_t(col - 1)] = std::max(widths_[size_t(col - 1)], width);
}

void XlsxSpreadsheet::release() {
    if (!wb_)
        throw SpreadsheetError(QStringLiteral("没有工作簿"));
    for (size_t c = 0; c < widths_.size(); ++c)
        if (widths_[c] > 0)
            check(worksheet_set_column(ws_, lxw_col_t(c), lxw_col_t(c), std::clamp(widths_[c], kMinWidth, kMaxWidth),
                                       nullptr),
                  QStringLiteral("设置列宽失败"));
    lxw_workbook* wb = wb_;
    wb_ = nullptr; // closing frees it, whatever the outcome
    ws_ = nullptr;
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR) {
        QFile::remove(file_);
        check(err, QStringLiteral("保存文件 %1 失败").arg(QDir::toNativeSeparators(file_)));
    }
    if (!desktop_.open || !desktop_.open(file_))
        throw SpreadsheetError(QStringLiteral("不能打开文件 %1").arg(QDir::toNativeSeparators(file_)));
}

void XlsxSpreadsheet::discard() { drop(); }

void XlsxSpreadsheet::drop() {
    if (!wb_)
        return;
    // Freeing leaves the row buffer of constant-memory mode open; only closing
    // the workbook would have closed it.
    if (ws_ && ws_->optimize_tmpfile) {
        std::fclose(ws_->optimize_tmpfile);
        ws_->optimize_tmpfile = nullptr;
    }
    lxw_workbook_free(wb_);
    wb_ = nullptr;
    ws_ = nullptr;
    QFile::remove(file_);
}

} // namespace exporting
