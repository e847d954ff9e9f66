#pragma once

#include "data/dataset.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace stockin {

// The stored state of a unit in the warehouse.

// More than this many units at once is surely a typo; refusing it keeps one
// keystroke from filling the disk.
constexpr qint64 kMaxQuantity = 100000;

// A quantity as typed: decimal digits with an optional sign, leading blanks
// allowed, nothing after the digits. Throws db::ConversionError otherwise.
qint64 parseQuantity(const QString& typed);

// What the user filled in for one stock-in.
struct Entry {
    QString model;                  // as typed
    std::optional<qint64> supplier; // jhid of the chosen supplier
    QString quantity;               // as typed
    QDate date;
    QString remark;
};

struct Outcome {
    QString refusal; // a plain message to show; nothing was stored
    int stored = 0;  // units written
};

// Told after each statement of a few hundred units (and at the end) how many of the total are written.
using Progress = std::function<void(int done, int total)>;

// Checks the entry and appends one row per unit to `units` (a list of hwgl
// rows), all in one transaction: either all units are stored and listed, the
// last one current, or none is and the list is as it was. Conversion and
// database errors (and whatever progress throws) are thrown after the list
// has been put back.
Outcome registerUnits(data::DataSet& units, const Entry& entry, const Progress& progress = {});

} // namespace stockin
