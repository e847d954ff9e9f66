#include "storesales/salesquery.h"

#include "core/text.h"

namespace storesales {

namespace {

// A sale is found through any of its units, whatever their state now.
void throughUnits(data::Criteria& c, const QString& column, const QString& typed) {
    const QString t = core::trimmed(typed);
    if (!t.isEmpty())
        c.add(QStringLiteral("mcid in (select mcid from hwgl where %1 = ?)").arg(column), {t});
}

void equals(data::Criteria& c, const QString& column, const QString& typed) {
    const QString t = core::trimmed(typed);
    if (!t.isEmpty())
        c.equals(column, t);
}

void contains(data::Criteria& c, const QString& column, const QString& typed) {
    const QString t = core::trimmed(typed);
    if (!t.isEmpty())
        c.contains(column, t);
}

} // namespace

data::Criteria salesCriteria(const SalesQuery& q) {
    data::Criteria c;
    throughUnits(c, QStringLiteral("pjh"), q.pjh);
    throughUnits(c, QStringLiteral("txm"), q.txm);
    contains(c, QStringLiteral("khxm"), q.khxm);
    equals(c, QStringLiteral("xsdd"), q.xsdd);
    equals(c, QStringLiteral("gcs"), q.gcs);
    contains(c, QStringLiteral("tel"), q.tel);
    contains(c, QStringLiteral("khaddress"), q.khaddress);
    equals(c, QStringLiteral("finish"), q.finish);
    // Both ends are always set, so a start after the end finds nothing.
    if (q.purchase)
        c.days(QStringLiteral("gjrq"), *q.purchase);
    if (q.delivery)
        c.days(QStringLiteral("shrq"), *q.delivery);
    return c;
}

} // namespace storesales
