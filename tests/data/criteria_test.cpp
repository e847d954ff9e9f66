#include "data/criteria.h"
#include "support/testdb.h"

#include <gtest/gtest.h>

using testing_support::TestDb;

VELMORA_ON_EACH_ENGINE(Criteria);

TEST_P(Criteria, BindsEveryValueAndMatchesWildcardsAsPlainCharacters) {
    TestDb db;
    auto& c = db.conn();
    for (const char* m : {"50%off", "50off", "a_b", "axb", "back\\slash", "O'Brien"})
        c.exec("insert into hwgl (hwmc, if_in) values (?, '入')", {QString::fromUtf8(m)});
    const auto count = [&](const QString& text) {
        data::Criteria k;
        k.contains("hwmc", text);
        return c.scalar("select count(*) from hwgl" + k.where(), k.params()).toInt();
    };
    EXPECT_EQ(count("%"), 1);
    EXPECT_EQ(count("_"), 1);
    EXPECT_EQ(count("\\"), 1);
    EXPECT_EQ(count("'"), 1);
    EXPECT_EQ(count("off"), 2);
    EXPECT_EQ(data::Criteria().where(), QString());
}

TEST_P(Criteria, DaysTakeTheWholeLastDayAndLeaveAnInvalidEndOpen) {
    TestDb db;
    auto& c = db.conn();
    for (const char* t : {"2024-03-01 00:00:00", "2024-03-05 23:59:59", "2024-03-06 00:00:00"})
        c.exec("insert into hwgl (hwmc, if_in, rkrq) values ('X', '入', ?)", {QString::fromLatin1(t)});
    const auto count = [&](QDate from, QDate to) {
        data::Criteria k;
        k.days("rkrq", from, to);
        return c.scalar("select count(*) from hwgl" + k.where(), k.params()).toInt();
    };
    EXPECT_EQ(count({2024, 3, 1}, {2024, 3, 5}), 2);
    EXPECT_EQ(count({2024, 3, 6}, {}), 1);
    EXPECT_EQ(count({}, {2024, 3, 1}), 1);
}
