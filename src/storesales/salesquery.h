#pragma once

#include "data/criteria.h"

#include <QDate>
#include <QString>

#include <optional>

namespace storesales {

// A whole-day range of the query window; both ends included.
using data::DayRange;

// What the store sales query window holds, as typed.
struct SalesQuery {
    QString pjh, txm, khxm, xsdd, gcs, tel, khaddress, finish;
    std::optional<DayRange> purchase; // gjrq, when "购机" is ticked
    std::optional<DayRange> delivery; // shrq, when "送货" is ticked
};

// The conditions on mcxs, in the order of the query window; every text is
// trimmed and bound, a blank one adds nothing.
data::Criteria salesCriteria(const SalesQuery& q);

} // namespace storesales
