#include "bench/support.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>

#include <xlsxwriter.h>

namespace bench {

std::string sizeKb(const QString& file) { return std::to_string(QFileInfo(file).size() / 1024); }

BareCell bareCell(const db::Value& v) {
    static const qint64 zero = QDate(1899, 12, 30).toJulianDay();
    if (v.isNull())
        return {0, 0, {}};
    if (const qint64* i = v.ifInt())
        return {1, double(*i), {}};
    if (const QDateTime* dt = v.ifDateTime())
        return {2, double(dt->date().toJulianDay() - zero), {}};
    return {3, 0, v.toString().toUtf8()};
}

std::string writeBare(const QString& file, const exporting::Layout& layout, const std::vector<BareCell>& cells,
                      Timer& timer) {
    const int n = static_cast<int>(layout.columns.size());
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
            const BareCell& cell = cells[k];
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

} // namespace bench
