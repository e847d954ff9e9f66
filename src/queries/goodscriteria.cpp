#include "queries/goodscriteria.h"

#include "core/text.h"

namespace queries {

data::Criteria goodsCriteria(const GoodsQuery& query) {
    data::Criteria c;
    // Names are resolved in the statement itself, so a name that resolves to
    // nothing leaves nothing to match instead of being dropped.
    if (const QString v = core::trimmed(query.category); !v.isEmpty())
        c.add(QStringLiteral("hwmc in (select xh from hwxh where type_name = ?)"), {v});
    if (const QString v = core::trimmed(query.supplier); !v.isEmpty())
        c.add(QStringLiteral("jhid in (select jhid from jhdw where dwmc = ?)"), {v});
    if (const QString v = core::trimmed(query.bill); !v.isEmpty())
        c.equals(QStringLiteral("pjh"), v);
    if (const QString v = core::trimmed(query.state); !v.isEmpty())
        c.equals(QStringLiteral("if_in"), v);
    if (const QString v = core::trimmed(query.barcode); !v.isEmpty())
        c.equals(QStringLiteral("txm"), v);
    if (const QString v = core::trimmed(query.customer); !v.isEmpty())
        c.contains(QStringLiteral("khmc"), v);
    if (const QString v = core::trimmed(query.model); !v.isEmpty())
        c.contains(QStringLiteral("hwmc"), v);
    if (query.stockIn)
        c.days(QStringLiteral("rkrq"), *query.stockIn);
    if (query.issue)
        c.days(QStringLiteral("ckrq"), *query.issue);
    return c;
}

QString goodsListSql(const data::Criteria& criteria) {
    if (criteria.isEmpty())
        return QStringLiteral("select * from hwgl where 1=2");
    return QStringLiteral("select * from hwgl") + criteria.where() + QStringLiteral(" order by hwid");
}

} // namespace queries
