#pragma once

#include "db/connection.h"

#include <QDate>
#include <QString>

namespace testing_support {

// Adds one goods unit as stock-in leaves it (or issued, with a bar code and a
// store sale number); returns its hwid.
inline qint64 addUnit(db::Connection& c, const QString& model, const QString& remark = {},
                      const QString& state = QStringLiteral("入"), const QString& txm = {},
                      const db::Value& mcid = {}) {
    c.exec("insert into hwgl (hwmc, if_in, rkrq, remark, jhid, txm, mcid) values (?, ?, ?, ?, 1, ?, ?)",
           {model, state, QDate(2024, 3, 1), remark.isEmpty() ? db::Value() : db::Value(remark),
            txm.isEmpty() ? db::Value() : db::Value(txm), mcid});
    return c.lastInsertId();
}

inline void addJxs(db::Connection& c, const QString& mc, const QString& dq, const QString& type = "jx") {
    c.exec("insert into jxs (mc, dq, type) values (?, ?, ?)", {mc, dq, type});
}

inline db::Value column(db::Connection& c, qint64 hwid, const QString& col) {
    return c.scalar(QStringLiteral("select %1 from hwgl where hwid = ?").arg(col), {hwid});
}

inline QString state(db::Connection& c, qint64 hwid) { return column(c, hwid, "if_in").toString(); }

inline qint64 issuedCount(db::Connection& c) {
    return c.scalar("select count(*) from hwgl where if_in = '出'").toInt();
}

} // namespace testing_support
