#include "app/schema.h"
#include "db/dates.h"
#include "support/testdb.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::TestDb;

namespace {

int countRows(db::Connection& c, const QString& sql, const db::Params& p = {}) {
    auto st = c.prepare(sql);
    st->bindAll(p);
    int n = 0;
    while (st->step())
        ++n;
    return n;
}

} // namespace

VELMORA_ON_EACH_ENGINE(Dialect);
VELMORA_ON_EACH_ENGINE(Schema);
VELMORA_ON_EACH_ENGINE(Transactions);

TEST_P(Dialect, TextComparesIgnoreLetterCaseForEqualsAndLike) {
    TestDb t;
    t.conn().exec("insert into hwxh (xh, type_name) values ('ThinkPad-X1', 'Notebook')");
    EXPECT_EQ(countRows(t.conn(), "select * from hwxh where xh = ?", {"thinkpad-x1"}), 1);
    EXPECT_EQ(countRows(t.conn(), "select * from hwxh where xh like ?", {"%PAD%"}), 1);
    EXPECT_EQ(countRows(t.conn(), "select * from hwxh where type_name = ?", {"NOTEBOOK "}), 0);
}

TEST_P(Dialect, WhereOneEqualsTwoGivesNoRowsButTheColumns) {
    TestDb t;
    t.conn().exec("insert into hwgl (hwmc, if_in) values ('A', '入')");
    auto st = t.conn().prepare("select * from hwgl where 1=2");
    EXPECT_FALSE(st->step());
    ASSERT_EQ(st->columnCount(), 14);
    EXPECT_EQ(st->columnName(0), "hwid");
    EXPECT_EQ(st->declaredType(3), db::FieldType::DateTime);
}

TEST_P(Dialect, QuotesInValuesAreJustCharacters) {
    TestDb t;
    t.conn().exec("insert into cktype (type_name) values (?)", {"O'Brien's"});
    EXPECT_EQ(countRows(t.conn(), "select * from cktype where type_name = ?", {"o'brien's"}), 1);
}

TEST_P(Dialect, DatesRoundTripAndCompareByDay) {
    TestDb t;
    const QDate d1(2026, 12, 1), d9(2026, 12, 9), d10(2026, 12, 10);
    for (QDate d : {d1, d9, d10})
        t.conn().exec("insert into hwgl (hwmc, rkrq, if_in) values ('A', ?, '入')", {db::Value(d)});
    EXPECT_EQ(countRows(t.conn(), "select * from hwgl where rkrq = ? and if_in = '入'", {db::Value(d9)}), 1);
    EXPECT_EQ(countRows(t.conn(), "select * from hwgl where rkrq >= ? and rkrq <= ?", {db::Value(d1), db::Value(d9)}),
              2);
    auto st = t.conn().prepare("select rkrq from hwgl order by hwid");
    ASSERT_TRUE(st->step());
    const db::Value v = st->value(0);
    ASSERT_TRUE(v.ifDateTime());
    EXPECT_EQ(v.ifDateTime()->date(), d1);
    EXPECT_EQ(v.toString(), db::dates::toDisplay(d1)); // no time of day at midnight
}

TEST_P(Schema, RefusesOverlongTextAndOutOfRangeShortsNamingTheField) {
    TestDb t;
    struct Case {
        const char* sql;
        db::Value v;
        const char* named;
    } cases[] = {
        {"insert into hwgl (remark) values (?)", QString(251, 'x'), "备注最多250个字符"},
        {"insert into hwgl (hwmc) values (?)", QString(31, QChar(0x4e2d)), "货物型号最多30个字符"},
        {"insert into hwgl (jhid) values (?)", 32768, "进货商序号"},
        {"insert into operator (op_code) values (?)", "abcdefg", "操作代码最多6个字符"},
    };
    for (const Case& c : cases) {
        try {
            t.conn().exec(c.sql, {c.v});
            ADD_FAILURE() << c.sql << " was accepted";
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.named))) << e.text().toStdString();
            EXPECT_EQ(e.kind(), db::DbErrorKind::Width) << c.sql;
        }
    }
    // The limits themselves are allowed.
    t.conn().exec("insert into hwgl (remark, jhid, mcid) values (?, 32767, -32768)", {QString(250, 'x')});
    EXPECT_EQ(countRows(t.conn(), "select * from hwgl"), 1);
    // A unit's store sale number takes every number a sale may have.
    t.conn().exec("insert into hwgl (mcid) values (?)", {qint64(3000000000)});
    EXPECT_EQ(countRows(t.conn(), "select * from hwgl where mcid = 3000000000"), 1);
}

TEST_P(Schema, NewDatabaseHasRegionsAndIsNeverMadeTwice) {
    TestDb t;
    EXPECT_EQ(countRows(t.conn(), "select area_name from area"), 10);
    EXPECT_THROW(app::schema::createDatabase(t.path()), db::DbError);
    EXPECT_EQ(countRows(t.conn(), "select area_name from area"), 10);
}

TEST(SchemaFile, FilesWithoutTheMarksAreRefused) {
    TestDb t;
    const QString other = t.dir() + "/other.db";
    db::openSqlite(other, true)->exec("create table x (a)");
    EXPECT_THROW(app::schema::openDatabase(other), db::DbError);

    const QString junk = t.dir() + "/junk.mdb";
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("Standard Jet DB\0\0\0 random bytes that are no database at all", 64).repeated(64));
    f.close();
    EXPECT_THROW(app::schema::openDatabase(junk), db::DbError);
    EXPECT_THROW(app::schema::openDatabase(t.dir() + "/missing.mdb"), db::DbError);
    EXPECT_FALSE(QFile::exists(t.dir() + "/missing.mdb"));
}

TEST_P(Transactions, GuardRollsBackUnlessCommitted) {
    TestDb t;
    {
        db::Transaction tx(t.conn());
        t.conn().exec("insert into cktype (type_name) values ('a')");
    }
    EXPECT_EQ(countRows(t.conn(), "select * from cktype"), 0);
    {
        db::Transaction tx(t.conn());
        t.conn().exec("insert into cktype (type_name) values ('a')");
        tx.commit();
    }
    EXPECT_EQ(countRows(t.conn(), "select * from cktype"), 1);
    EXPECT_GT(t.conn().lastInsertId(), 0);
}

TEST_P(Transactions, SecondConnectionWaitsForTheWriterInsteadOfFailing) {
    TestDb t;
    auto other = t.openAnother();
    {
        db::Transaction tx(t.conn());
        t.conn().exec("insert into cktype (type_name) values ('a')");
        tx.commit();
    }
    other->exec("insert into cktype (type_name) values ('b')");
    EXPECT_EQ(countRows(t.conn(), "select * from cktype"), 2);
}
