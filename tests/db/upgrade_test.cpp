#include "app/schema.h"
#include "support/testdb.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A file as the first version of the program left it: models without a key,
// a unit's store sale number a small integer.
QString makeFirstVersionFile(const QTemporaryDir& dir) {
    const QString path = dir.filePath("old.mdb");
    app::schema::createDatabase(path);
    auto c = db::openSqlite(path);
    c->exec("drop table hwxh");
    c->exec("create table hwxh (xh TEXT COLLATE NOCASE CONSTRAINT \"型号 最多 20 个字符\" CHECK (length(xh) <= 20), "
            "type_name TEXT COLLATE NOCASE, mc TEXT COLLATE NOCASE, remark TEXT COLLATE NOCASE)");
    c->exec("create unique index hwxh_xh on hwxh (xh)");
    c->exec("drop table hwgl");
    c->exec("create table hwgl (hwid INTEGER PRIMARY KEY AUTOINCREMENT, txm TEXT COLLATE NOCASE, hwmc TEXT COLLATE "
            "NOCASE, rkrq DATETIME, ckrq DATETIME, jhid SMALLINT, type_id SMALLINT, if_in TEXT COLLATE NOCASE, khmc "
            "TEXT, khtel TEXT, khaddress TEXT, remark TEXT, pjh TEXT, mcid SMALLINT CONSTRAINT \"卖场序号 必须在 "
            "-32768 到 32767 之间\" CHECK (mcid BETWEEN -32768 AND 32767))");
    for (const char* xh : {"XH-B", "XH-A", "XH-C"})
        c->exec("insert into hwxh (xh, type_name) values (?, '笔记本')", {xh});
    c->exec("insert into hwgl (hwid, hwmc, if_in, rkrq, mcid) values (7, 'XH-A', '出', '2024-03-01 00:00:00', 12)");
    c->exec("insert into hwgl (hwid, hwmc, if_in) values (20, 'XH-B', '入')");
    c->exec("delete from hwgl where hwid = 20"); // the next unit must not take a number used before
    c->exec("pragma user_version = 1");
    return path;
}

} // namespace

TEST(Upgrade, AnOlderFileIsRefusedNamingTheCommandAndUpgradesKeepingEveryRowAndKey) {
    QTemporaryDir dir;
    const QString path = makeFirstVersionFile(dir);
    try {
        app::schema::openDatabase(path);
        ADD_FAILURE() << "an older file was opened";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.text().contains("velmora-newdb --upgrade")) << e.text().toStdString();
    }

    EXPECT_EQ(app::schema::upgradeDatabase(path), 1);
    auto c = app::schema::openDatabase(path);
    EXPECT_EQ(c->scalar("pragma user_version").toInt(), app::schema::kSchemaVersion);
    // Models keep their stored order and get keys 1, 2, 3 in it.
    auto st = c->prepare("select xh_id, xh from hwxh order by xh_id");
    QStringList models;
    while (st->step())
        models << st->value(0).toString() + ":" + st->value(1).toString();
    EXPECT_EQ(models, (QStringList{"1:XH-B", "2:XH-A", "3:XH-C"}));
    EXPECT_EQ(c->scalar("select mcid from hwgl where hwid = 7").toInt(), 12);
    EXPECT_EQ(c->scalar("select rkrq || '' from hwgl where hwid = 7").toString(), "2024-03-01 00:00:00");
    c->exec("insert into hwgl (hwmc, if_in, mcid) values ('XH-C', '入', 100000)");
    EXPECT_GT(c->lastInsertId(), 20);
    // The unique model code and the search indexes are there again.
    EXPECT_THROW(c->exec("insert into hwxh (xh) values ('xh-a')"), db::DbError);
    EXPECT_EQ(c->scalar("select count(*) from sqlite_master where type = 'index' and tbl_name = 'hwgl'").toInt(), 6);

    EXPECT_EQ(app::schema::upgradeDatabase(path), 0); // once is enough
}
