#pragma once

#include "data/criteria.h"

#include <QDate>
#include <QString>

#include <optional>

namespace queries {

// A range of whole days, both ends included.
using data::DayRange;

// What the goods query window collects, as typed (trimming happens here).
struct GoodsQuery {
    QString model;                   // contained in hwmc
    QString barcode;                 // txm exactly
    QString category;                // a category name: the units of its models
    QString state;                   // if_in exactly
    QString customer;                // contained in khmc
    QString supplier;                // a supplier name: the units of every supplier of that name
    QString bill;                    // pjh exactly
    std::optional<DayRange> stockIn; // rkrq
    std::optional<DayRange> issue;   // ckrq
};

// The conditions on hwgl for a query; blanks around a value are ignored and an
// empty value adds nothing. A category or supplier name that names nothing
// matches no unit.
data::Criteria goodsCriteria(const GoodsQuery& query);

// The goods list's statement: the units that meet the criteria in hwid order,
// or no unit at all when there is no criterion.
QString goodsListSql(const data::Criteria& criteria);

} // namespace queries
