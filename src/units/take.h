#pragma once

#include "db/connection.h"

#include <QString>

#include <optional>

// The rules for single goods units that more than one window follows.
namespace units {

// Takes the unit of the model (the whole value, letter case ignored) with the
// lowest number among those in stock at the moment of the write, setting
// `assignments` ("if_in = ?, khmc = ?, ...") to `values` on it. The update only
// takes a unit that is still in stock: should another desk have taken the one
// chosen, the next lowest is tried. Runs in the caller's transaction. Returns
// the unit's hwid, or nothing when the model has no unit in stock.
std::optional<qint64> takeLowestInStock(db::Connection& conn, const QString& model, const QString& assignments,
                                        const db::Params& values);

} // namespace units
