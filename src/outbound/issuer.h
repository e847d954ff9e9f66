#pragma once

#include "db/connection.h"

#include <QDate>
#include <QString>

namespace outbound {

// What the operator typed for one issue, as typed (the issuer trims what it
// stores; the model is matched untrimmed).
struct IssueRequest {
    QString model;
    QString barcode;
    QString bill;
    QString customer;
    QString remark;
    QDate date;
};

enum class IssueResult { Issued, MissingModel, DuplicateBarcode, MissingCustomer, NoStock };

struct IssueOutcome {
    IssueResult result = IssueResult::NoStock;
    qint64 hwid = 0; // the unit issued
};

// The message the window shows for a refused issue (empty for Issued).
QString messageFor(IssueResult r);

// Issues single units to a dealer's customer and takes them back, deciding in
// the database itself: the unit chosen is the lowest hwid of the model that is
// in stock at the moment of the write, and the bar code check runs in the same
// write transaction. So two program instances on one file never issue one unit
// twice nor give one bar code to two issued units.
class Issuer {
public:
    explicit Issuer(db::Connection& conn) : conn_(conn) {}

    // Checks in this order: model given, bar code not carried by any issued
    // unit (an empty bar code is not checked), customer given, a unit of the
    // model in stock. Nothing is written unless the result is Issued.
    IssueOutcome issue(const IssueRequest& r);

    // Puts an issued unit back into stock (the remark stays). False when the
    // unit was no longer issued, e.g. another instance took it back first.
    bool cancel(qint64 hwid);

private:
    db::Connection& conn_;
};

} // namespace outbound
