#pragma once

#include "db/connection.h"

#include <QDate>
#include <QString>

#include <optional>

namespace storesales {

// One unit to be sold under a written sale, with the texts of the sale's boxes
// as they stand on the screen.
struct SaleRequest {
    QString model;
    qint64 mcid = 0;
    QString store;
    QString customer;
    QString tel;
    QString address;
    QDate date;
};

enum class SaleResult { Sold, NoStock, Refused };

struct SaleOutcome {
    SaleResult result = SaleResult::NoStock;
    qint64 hwid = 0; // the unit sold
    QString refusal; // for Refused: the field and its limit
};

// An issued unit that already carries a bar code.
struct HeldBarcode {
    qint64 hwid = 0;
    QString txm;
};

// The store sale decisions that must be taken in the database itself, so that
// two desks on one file never sell one unit twice and a deleted sale never
// takes back a unit that has left it.
class Seller {
public:
    explicit Seller(db::Connection& conn) : conn_(conn) {}

    // Sells the lowest hwid in stock whose model is the whole text (letter case
    // ignored) to the sale, in one write transaction. A joined store:customer
    // (or a telephone, an address) too long for the unit's column is refused
    // with the field named, and nothing is written.
    SaleOutcome sell(const SaleRequest& r);

    // Puts back into stock the units still issued under the sale; only their
    // state changes. Runs inside the caller's transaction.
    int returnUnits(qint64 mcid);

    // Another issued unit (not `hwid` itself) carrying the bar code, if any.
    std::optional<HeldBarcode> heldElsewhere(const QString& txm, qint64 hwid);

private:
    db::Connection& conn_;
};

// The warning of the entry window when a bar code is already issued.
QString composedBarcodeWarning(const HeldBarcode& held);
// The result window's warning for the same case.
QString fixedBarcodeWarning();

} // namespace storesales
