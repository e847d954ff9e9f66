#pragma once

#include "db/connection.h"

#include <QDateTime>
#include <QString>

namespace testing_support {

// A written store sale; returns its mcid.
inline qint64 addSale(db::Connection& c, const QString& khxm, const QString& xsdd = QStringLiteral("A店"),
                      const QString& finish = QStringLiteral("否"),
                      const QDateTime& gjrq = QDateTime(QDate(2024, 3, 5), QTime(0, 0))) {
    c.exec("insert into mcxs (khxm, xsdd, finish, gjrq) values (?, ?, ?, ?)", {khxm, xsdd, finish, gjrq});
    return c.lastInsertId();
}

} // namespace testing_support
