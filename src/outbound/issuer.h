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

enum class IssueResult { Issued, MissingModel, DuplicateBarcode, MissingCustomer, NoStock, Unfit };

// The message the window shows for a refused issue (empty for Issued).
QString messageFor(IssueResult r);

struct IssueOutcome {
    IssueResult result = IssueResult::NoStock;
    qint64 hwid = 0; // the unit issued
    QString refusal; // for Unfit: which entry does not fit its column
    QString message() const { return result == IssueResult::Unfit ? refusal : messageFor(result); }
};

// An issued unit as the list showed it: taking it back only goes ahead while
// the file still holds these values.
struct IssuedUnit {
    qint64 hwid = 0;
    db::Params read; // txm, pjh, khmc, ckrq, remark
};

// Issues single units to a dealer's customer and takes them back, deciding in
// the database itself: the unit chosen is the lowest hwid of the model that is
// in stock at the moment of the write, and the bar code check runs in the same
// write transaction. So two program instances on one file never issue one unit
// twice nor give one bar code to two issued units.
class Issuer {
public:
    explicit Issuer(db::Connection& conn) : conn_(conn) {}

    // Checks in this order: model given, every entry fits its column, bar code
    // not carried by any issued unit (an empty bar code is not checked),
    // customer given, a unit of the model in stock. Nothing is written unless
    // the result is Issued.
    IssueOutcome issue(const IssueRequest& r);

    // Puts an issued unit back into stock (the remark stays). False when the
    // unit is no longer as listed, e.g. another desk took it back or changed it.
    bool cancel(const IssuedUnit& unit);
    // The columns IssuedUnit::read holds, in order.
    static const QStringList& checkedColumns();

private:
    db::Connection& conn_;
};

} // namespace outbound
