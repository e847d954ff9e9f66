// Exports read every date of a list, so the stored form is read by a quick
// path of its own; it must agree with the general one.
#include "db/dates.h"
#include "support/testdb.h"

#include <gtest/gtest.h>

TEST(StoredDates, QuickPathAgreesWithTheGeneralReading) {
    const struct {
        const char* stored;
        QDateTime expected; // invalid: no date
    } cases[] = {
        {"2024-03-05 00:00:00", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"2024-02-29 23:59:59", QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59))},
        {"2024-03-05", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"2023-02-29 10:00:00", {}},
        {"2024-13-01 00:00:00", {}},
        // A text that does not hold a time of day gives the date it begins with.
        {"2024-03-05 24:00:00", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"2024/03/05 10:00:00", {}},
        {"2024-03-05T10:00:00", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"", {}},
    };
    for (const auto& c : cases) {
        const auto got = db::dates::fromStorage(QString::fromUtf8(c.stored));
        EXPECT_EQ(got.has_value(), c.expected.isValid()) << c.stored;
        if (got && c.expected.isValid())
            EXPECT_EQ(*got, c.expected) << c.stored;
    }
    const QDateTime dt(QDate(1999, 12, 31), QTime(8, 7, 6));
    EXPECT_EQ(db::dates::fromStorage(db::dates::toStorage(dt)), dt);
}

TEST(StoredDates, QuickWritingAgreesWithTheGeneralFormat) {
    const QDateTime cases[] = {
        QDateTime(QDate(2024, 3, 5), QTime(0, 0)),    QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(QDate(1000, 1, 1), QTime(1, 2, 3)), QDateTime(QDate(9999, 12, 31), QTime(0, 0)),
        QDateTime(QDate(999, 12, 31), QTime(0, 0)),   QDateTime(QDate(10000, 1, 1), QTime(0, 0)),
        QDateTime(QDate(-44, 3, 15), QTime(12, 0)),   QDateTime(),
    };
    for (const QDateTime& dt : cases)
        EXPECT_EQ(db::dates::toStorage(dt), dt.toString("yyyy-MM-dd HH:mm:ss")) << dt.toString().toStdString();
}
