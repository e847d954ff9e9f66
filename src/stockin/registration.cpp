#include "stockin/registration.h"

#include "core/codes.h"
#include "db/connection.h"

#include <limits>

namespace stockin {

qint64 parseQuantity(const QString& typed) {
    const auto bad = [&] { return db::ConversionError(QStringLiteral("数量: '%1' 不是有效的整数值").arg(typed)); };
    qsizetype i = 0;
    const qsizetype n = typed.size();
    while (i < n && (typed[i] == QLatin1Char(' ') || typed[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (typed[i] == QLatin1Char('+') || typed[i] == QLatin1Char('-'))) {
        negative = typed[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        throw bad();
    qint64 v = 0;
    for (; i < n; ++i) {
        const QChar c = typed[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw bad();
        if (v > (std::numeric_limits<qint64>::max() - 9) / 10)
            throw bad();
        v = v * 10 + (c.unicode() - '0');
    }
    return negative ? -v : v;
}

Outcome registerUnits(data::DataSet& units, const Entry& e, const Progress& progress) {
    if (e.model.trimmed().isEmpty())
        return {QStringLiteral("请填写货物型号!")};
    if (e.quantity.trimmed().isEmpty())
        return {QStringLiteral("请填写数量!")};
    const qint64 n = parseQuantity(e.quantity);
    if (n <= 0)
        return {};
    if (n > kMaxQuantity)
        return {QStringLiteral("数量不能超过%1!").arg(kMaxQuantity)};
    if (!e.supplier)
        return {QStringLiteral("请选择进货单位!")};
    if (!e.date.isValid())
        return {QStringLiteral("入库日期不是有效的日期！")};

    units.checkBrowseMode();
    const int fIn = units.fieldIndex(QStringLiteral("if_in"));
    const int fJhid = units.fieldIndex(QStringLiteral("jhid"));
    const int fModel = units.fieldIndex(QStringLiteral("hwmc"));
    const int fDate = units.fieldIndex(QStringLiteral("rkrq"));
    const int fRemark = units.fieldIndex(QStringLiteral("remark"));
    const db::Value state(core::codes::kInStock), supplier(*e.supplier), model(e.model), date(e.date), remark(e.remark);

    const int heldBefore = units.rowsHeld();
    const int currentBefore = units.currentRow();
    // The grid and the count follow once at the end, not after each of N rows.
    const data::ControlsDisabled quiet(units);
    db::Transaction tx(units.connection());
    try {
        units.appendCopies({{fIn, state}, {fJhid, supplier}, {fModel, model}, {fDate, date}, {fRemark, remark}},
                           static_cast<int>(n), [&](int stored) {
                               if (progress)
                                   progress(stored, static_cast<int>(n));
                           });
        tx.commit();
    } catch (...) {
        // The transaction takes the rows back out of the file; the list forgets them.
        units.forgetRowsAfter(heldBefore);
        if (currentBefore >= 0 && currentBefore < units.count())
            units.setCurrentRow(currentBefore);
        throw;
    }
    return {{}, static_cast<int>(n)};
}

} // namespace stockin
