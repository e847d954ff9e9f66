#include "app/schema.h"
#include "db/dates.h"
#include "support/testdb.h"

#include <QFile>
#include <QTemporaryDir>

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

TEST_P(Transactions, AnInnerGuardIsASavepointOfTheOuterOne) {
    TestDb t;
    auto& c = t.conn();
    {
        db::Transaction outer(c);
        c.exec("insert into area (area_name) values ('甲')");
        {
            db::Transaction inner(c); // rolled back alone
            c.exec("insert into area (area_name) values ('乙')");
        }
        {
            db::Transaction inner(c);
            c.exec("insert into area (area_name) values ('丙')");
            inner.commit();
        }
        EXPECT_TRUE(c.inTransaction());
        outer.commit();
    }
    EXPECT_FALSE(c.inTransaction());
    EXPECT_EQ(countRows(c, "select * from area where area_name in ('甲', '乙', '丙')"), 2);
    {
        db::Transaction outer(c);
        db::Transaction inner(c);
        c.exec("insert into area (area_name) values ('丁')");
        inner.commit();
    } // the outer one decides: nothing stays
    EXPECT_EQ(countRows(c, "select * from area where area_name = '丁'"), 0);
}

TEST(EngineErrors, EachKindReachesTheScreenAsAChineseSentenceAndTheEngineTextStaysForTheLog) {
    TestDb t;
    auto& c = t.conn();
    c.exec("insert into hwxh (xh) values ('TP-X1')");
    db::setBusyWaitLimit(200);
    std::vector<bool> waits;
    db::setBusyHook([&](bool waiting) { waits.push_back(waiting); });

    const auto failure = [](const std::function<void()>& f) -> db::DbError {
        try {
            f();
        } catch (const db::DbError& e) {
            return e;
        }
        return db::DbError("accepted");
    };
    auto other = t.openAnother();
    QTemporaryDir elsewhere;
    QFile junk(elsewhere.filePath("ck.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    struct Case {
        const char* what;
        std::function<void()> run;
        db::DbErrorKind kind;
        QString text;
    } cases[] = {
        {"width", [&] { c.exec("insert into hwgl (hwmc) values (?)", {QString(31, 'M')}); }, db::DbErrorKind::Width,
         "货物型号最多30个字符"},
        {"duplicate", [&] { c.exec("insert into hwxh (xh) values ('tp-x1')"); }, db::DbErrorKind::Duplicate,
         "型号不能重复"},
        {"busy",
         [&] {
             db::Transaction hold(*other);
             other->exec("insert into area (area_name) values ('甲')");
             c.exec("insert into area (area_name) values ('乙')");
         },
         db::DbErrorKind::Busy, "数据库正忙：其他操作员正在写入，请稍后再试"},
        {"read-only",
         [&] {
             auto ro = t.openAnother();
             ro->exec("pragma query_only = 1");
             ro->exec("insert into area (area_name) values ('丙')");
         },
         db::DbErrorKind::ReadOnly, "数据库文件只读，不能保存修改"},
        {"not a database", [&] { db::openSqlite(junk.fileName())->scalar("pragma user_version"); },
         db::DbErrorKind::NotADatabase, "ck.mdb 不是有效的数据库文件或已损坏"},
        {"disk full",
         [&] {
             auto small = t.openAnother();
             small->exec("pragma max_page_count = " + small->scalar("pragma page_count").toString());
             small->exec("insert into hwgl (remark) values (?)", {QString(200, 'x')});
             for (int i = 0; i < 12; ++i)
                 small->exec("insert into hwgl (remark) select remark from hwgl");
         },
         db::DbErrorKind::DiskFull, "磁盘已满，不能保存修改"},
    };
    for (const Case& k : cases) {
        const db::DbError e = failure(k.run);
        EXPECT_EQ(e.kind(), k.kind) << k.what;
        EXPECT_EQ(e.text(), k.text) << k.what;
        EXPECT_FALSE(e.engineText().isEmpty()) << k.what;
    }
    // The wait was shown, and shown to be over.
    EXPECT_EQ(waits, (std::vector<bool>{true, false}));
    db::setBusyHook({});
    db::setBusyWaitLimit(30000);
}
