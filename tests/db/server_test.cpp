// What only the server engine has to show: its connection failures, rows read
// while other statements run, the keys it assigns and its refusals.
#include "app/schema.h"
#include "app/schema_pg.h"
#include "core/schema.h"
#include "db/postgres.h"
#include "support/testdb.h"

#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::Engine;
using testing_support::serverUri;
using testing_support::TestDb;

namespace {

class Server : public ::testing::Test {
protected:
    void SetUp() override {
        if (serverUri().isEmpty())
            GTEST_SKIP() << "no test server: VELMORA_TEST_PG is not set";
    }
};

QString failureOf(const QString& uri) {
    try {
        app::schema::openDatabase(uri);
    } catch (const db::DbError& e) {
        return e.text();
    }
    return {};
}

} // namespace

TEST(ServerUri, TellsAServerFromAFile) {
    EXPECT_TRUE(db::isServerUri("postgresql://desk1@server/velmora"));
    EXPECT_TRUE(db::isServerUri("postgres://server"));
    EXPECT_FALSE(db::isServerUri("ck.mdb"));
    EXPECT_FALSE(db::isServerUri("/srv/share/postgresql/ck.mdb"));
    EXPECT_EQ(db::serverName("postgresql://desk1@server.example:5433/velmora"), "server.example:5433/velmora");
    EXPECT_EQ(db::serverName("postgresql://server/velmora"), "server/velmora");
}

TEST(ServerUri, AServerThatCannotBeReachedIsNamedInOneSentence) {
    const QString text = failureOf("postgresql:///velmora?host=/nonexistent-socket-folder");
    EXPECT_TRUE(text.startsWith("无法连接数据库服务器 /nonexistent-socket-folder/velmora")) << text.toStdString();
}

TEST_F(Server, RefusedLoginMissingDatabaseAndForeignDatabaseAreEachReported) {
    TestDb t(Engine::Postgres);
    EXPECT_TRUE(failureOf(t.path() + "&user=nobody_such_role").contains("拒绝了登录"));
    const QString missing = failureOf(serverUri() + "&dbname=velmora_no_such_database");
    EXPECT_TRUE(missing.contains("没有这个数据库")) << missing.toStdString();
    const QString foreign = failureOf(serverUri());
    EXPECT_TRUE(foreign.contains("没有本系统的数据表")) << foreign.toStdString();
    EXPECT_TRUE(foreign.contains("velmora-newdb")) << foreign.toStdString();
}

TEST_F(Server, RowsAreReadWhileOtherStatementsRunOnTheSameConnection) {
    TestDb t(Engine::Postgres);
    db::Connection& c = t.conn();
    {
        db::Transaction tx(c);
        for (int i = 0; i < 50; ++i)
            c.exec("insert into cktype (type_name) values (?)", {QString("类别%1").arg(i)});
        tx.commit();
    }
    auto outer = c.prepare("select type_id, type_name from cktype order by type_id");
    int seen = 0;
    while (outer->step()) {
        // Another statement in between takes the rest of the outer rows first.
        c.exec("update cktype set type_name = type_name || '!' where type_id = ?", {outer->int64(0)});
        EXPECT_FALSE(outer->utf8(1).ends_with("!"));
        ++seen;
    }
    EXPECT_EQ(seen, 50);
    EXPECT_EQ(c.scalar("select count(*) from cktype where type_name like '%!'").toInt(), 50);
    // A statement left after its first row does not hold the connection.
    auto first = c.prepare("select type_id from cktype order by type_id");
    ASSERT_TRUE(first->step());
    first.reset();
    EXPECT_EQ(c.scalar("select count(*) from cktype").toInt(), 50);
}

TEST_F(Server, InsertsReportTheirKeysAndRefusalsNameTheField) {
    TestDb t(Engine::Postgres);
    db::Connection& c = t.conn();
    c.exec("insert into hwxh (xh) values (?)", {"XH-1"});
    const qint64 first = c.lastInsertId();
    c.exec("insert into hwxh (xh) values (?)", {"XH-2"});
    EXPECT_EQ(c.lastInsertId(), first + 1);
    EXPECT_EQ(c.changes(), 1);
    try {
        c.exec("insert into hwxh (xh) values (?)", {"xh-1"});
        ADD_FAILURE() << "a model taken twice (in other letter case) was accepted";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.text(), "型号不能重复");
        EXPECT_EQ(e.kind(), db::DbErrorKind::Duplicate);
        EXPECT_TRUE(e.engineText().contains("hwxh_xh")) << e.engineText().toStdString();
    }
    // An explicit key counts for the next one, like the file's counter.
    EXPECT_EQ(c.exec("update hwxh set xh = xh || '-x' where xh = ?", {"XH-1"}), 1);
    EXPECT_EQ(c.scalar("select xh from hwxh where xh = ?", {"xh-1-X"}).toString(), "XH-1-x");
}

TEST_F(Server, ARowLockedByAnotherDeskIsWaitedFor) {
    TestDb t(Engine::Postgres);
    t.conn().exec("insert into cktype (type_name) values ('a')");
    auto other = t.openAnother();
    db::Transaction tx(*other);
    other->exec("update cktype set type_name = 'b'");
    other->exec("set local lock_timeout = '50ms'");
    db::Transaction mine(t.conn());
    t.conn().exec("set local lock_timeout = '50ms'");
    try {
        t.conn().exec("update cktype set type_name = 'c'");
        ADD_FAILURE() << "the locked row was written";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::DbErrorKind::Busy);
        EXPECT_EQ(e.text(), "数据库正忙：其他操作员正在写入，请稍后再试");
    }
}

namespace {

QStringList rowsOf(db::Connection& c, const core::schema::Table& t) {
    const QString order = t.columns.front().kind == core::schema::Kind::Key ? t.columns.front().name : "area_name";
    auto st = c.prepare(QString("select * from %1 order by %2").arg(t.name, order));
    QStringList out;
    while (st->step()) {
        QStringList cells;
        for (int i = 0; i < st->columnCount(); ++i)
            cells << (st->kind(i) == db::CellKind::Null ? "<null>" : st->value(i).toString());
        out << cells.join('|');
    }
    return out;
}

} // namespace

TEST_F(Server, CopyOfAFileKeepsEveryRowAndKeyAndGoesOnCountingAfterThem) {
    TestDb file(Engine::Sqlite);
    db::Connection& f = file.conn();
    f.exec("insert into jhdw (dwmc, tel, address) values ('华联', '0571', 'O''Brien 路')");
    f.exec("insert into cktype (type_name) values ('笔记本'), ('Desktop')");
    f.exec("insert into hwxh (xh, type_name, mc) values ('TP-X1', '笔记本', 'ThinkPad'), ('hp-800', 'Desktop', null)");
    f.exec("insert into jxs (mc, dq, type) values ('杭州华联', '杭州', 'jx')");
    f.exec("insert into mcxs (khxm, gjrq, ts, finish) values ('张三', '2024-03-05 00:00:00', 2, '否')");
    f.exec("insert into operator (op_code, op_name, rk) values ('admin', '管理员', '有')");
    f.exec("insert into area (area_name) values ('上海')");
    for (int i = 0; i < 450; ++i) // more than one statement's worth of rows
        f.exec("insert into hwgl (txm, hwmc, rkrq, ckrq, jhid, if_in, mcid) values (?, 'TP-X1', ?, ?, 1, ?, ?)",
               {i % 2 ? db::Value(QString("TX%1").arg(i)) : db::Value(),
                QDateTime(QDate(2024, 1, 1).addDays(i), QTime(9, 30)),
                i % 3 ? db::Value() : db::Value(QDate(2024, 6, 1)), i % 2 ? "出" : "入",
                i % 5 ? db::Value() : db::Value(1)});
    f.exec("delete from hwgl where hwid >= 449"); // a key once given is not given again

    const QString name = QString("velmora_copy_%1").arg(getpid());
    auto admin = db::openPostgres(serverUri());
    admin->exec(QString("DROP DATABASE IF EXISTS %1").arg(name));
    admin->exec(QString("CREATE DATABASE %1").arg(name));
    const QString uri = serverUri() + "&dbname=" + name;
    const auto counted = app::schema::server::copy(file.path(), uri);
    {
        auto s = app::schema::openDatabase(uri);
        ASSERT_EQ(counted.size(), core::schema::tables().size());
        for (size_t i = 0; i < counted.size(); ++i) {
            const core::schema::Table& t = core::schema::tables()[i];
            EXPECT_EQ(counted[i].first, t.name);
            const QStringList expected = rowsOf(f, t);
            EXPECT_EQ(counted[i].second, expected.size()) << t.name;
            EXPECT_EQ(rowsOf(*s, t), expected) << t.name;
        }
        s->exec("insert into hwgl (hwmc) values ('TP-X1')");
        EXPECT_EQ(s->lastInsertId(), 451);
        // A second copy into a database that holds the tables is refused whole.
        EXPECT_THROW(app::schema::server::copy(file.path(), uri), db::DbError);
        EXPECT_EQ(s->scalar("select count(*) from hwgl").toInt(), 449);
    }
    admin->exec(QString("DROP DATABASE %1 WITH (FORCE)").arg(name));
}
