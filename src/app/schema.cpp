#include "app/schema.h"

#include "app/schema_pg.h"
#include "core/schema.h"
#include "db/postgres.h"

#include <QFile>
#include <QStringList>

#include <vector>

namespace app::schema {

using core::schema::Column;
using core::schema::Kind;
using core::schema::Table;
using core::schema::tables;

namespace {

QString columnDdl(const Column& c) {
    const QString name = QString::fromLatin1(c.name);
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
    case Kind::Key: return QStringLiteral("\"%1\" INTEGER PRIMARY KEY AUTOINCREMENT").arg(name);
    case Kind::Date: return QStringLiteral("\"%1\" DATETIME").arg(name);
    case Kind::Integer: return QStringLiteral("\"%1\" INTEGER").arg(name);
    case Kind::Short:
        return QStringLiteral("\"%1\" SMALLINT CONSTRAINT \"%2 必须在 -32768 到 32767 之间\" "
                              "CHECK (\"%1\" BETWEEN -32768 AND 32767)")
            .arg(name, caption);
    case Kind::Text:
        return QStringLiteral("\"%1\" TEXT COLLATE NOCASE CONSTRAINT \"%2 最多 %3 个字符\" "
                              "CHECK (length(\"%1\") <= %3)")
            .arg(name, caption)
            .arg(c.width);
    }
    return {};
}

QString tableDdl(const Table& t, const QString& name) {
    QStringList cols;
    for (const Column& c : t.columns)
        cols << columnDdl(c);
    return QStringLiteral("CREATE TABLE \"%1\" (\n  %2\n)").arg(name, cols.join(QStringLiteral(",\n  ")));
}

void createIndexes(db::Connection& conn, const QString& table) {
    for (const core::schema::Index& ix : core::schema::indexes()) {
        if (!table.isEmpty() && table != QLatin1String(ix.table))
            continue;
        conn.exec(QStringLiteral("CREATE %1INDEX \"%2\" ON \"%3\" (%4)")
                      .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), QString::fromLatin1(ix.name),
                           QString::fromLatin1(ix.table), QString::fromLatin1(ix.columns)));
    }
}

// Rebuilds a table to its present description: a new table, every row copied
// with the columns both have (keys kept, a new key column numbered in the
// rows' stored order), the old table dropped, the new one renamed.
void rebuild(db::Connection& conn, const QString& name) {
    const Table* t = core::schema::table(name);
    const QString fresh = name + QStringLiteral("_upgrade");
    conn.exec(tableDdl(*t, fresh));
    QStringList old;
    for (auto st = conn.prepare(QStringLiteral("PRAGMA table_info(\"%1\")").arg(name)); st->step();)
        old << st->value(1).toString();
    QStringList common;
    for (const Column& c : t->columns) {
        if (old.contains(QString::fromLatin1(c.name), Qt::CaseInsensitive))
            common << QStringLiteral("\"%1\"").arg(QString::fromLatin1(c.name));
    }
    const QString cols = common.join(QStringLiteral(", "));
    // A key the database assigns never comes again, not even after the rows
    // that had the highest ones were deleted: the new table goes on counting.
    const db::Value counted = conn.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {name});
    conn.exec(QStringLiteral("INSERT INTO \"%1\" (%2) SELECT %2 FROM \"%3\" ORDER BY rowid").arg(fresh, cols, name));
    conn.exec(QStringLiteral("DROP TABLE \"%1\"").arg(name));
    conn.exec(QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(fresh, name));
    if (!counted.isNull()) {
        if (conn.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"), {counted, name}) ==
            0)
            conn.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {name, counted});
    }
    createIndexes(conn, name);
}

} // namespace

void createDatabase(const QString& path) {
    if (db::isServerUri(path))
        return server::create(path);
    if (QFile::exists(path))
        throw db::DbError(QStringLiteral("文件 %1 已经存在，不会覆盖").arg(path));
    auto conn = db::openSqlite(path, true);
    {
        db::Transaction tx(*conn);
        for (const Table& t : tables())
            conn->exec(tableDdl(t, QString::fromLatin1(t.name)));
        createIndexes(*conn, {});
        for (const QString& r : regions())
            conn->exec(QStringLiteral("INSERT INTO area (area_name) VALUES (?)"), {r});
        conn->exec(QStringLiteral("PRAGMA application_id = %1").arg(applicationId()));
        conn->exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        tx.commit();
    }
    conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
}

namespace {

std::unique_ptr<db::Connection> openMarked(const QString& path, qint64& version) {
    auto conn = db::openSqlite(path, false);
    // Reading the marks fails with the engine's own text for a file that is no
    // database at all; a database of another program has other marks.
    const qint64 id = conn->scalar(QStringLiteral("PRAGMA application_id")).toInt();
    version = conn->scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (id != applicationId())
        throw db::DbError(QStringLiteral("%1 不是本系统的数据库文件").arg(path));
    return conn;
}

} // namespace

int upgradeDatabase(const QString& path) {
    if (db::isServerUri(path))
        return server::upgrade(path);
    qint64 version = 0;
    auto conn = openMarked(path, version);
    if (version > kSchemaVersion)
        throw db::DbError(QStringLiteral("数据库文件 %1 的版本 (%2) 比程序 (%3) 新，不能升级")
                              .arg(path)
                              .arg(version)
                              .arg(kSchemaVersion));
    if (version == kSchemaVersion)
        return 0;
    const qint64 from = version;
    {
        // All steps or none: a failure leaves the file as it was.
        db::Transaction tx(*conn);
        if (version < 2)
            rebuild(*conn, QStringLiteral("hwxh"));
        if (version < 3)
            rebuild(*conn, QStringLiteral("hwgl"));
        conn->exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        tx.commit();
    }
    return static_cast<int>(from);
}

std::unique_ptr<db::Connection> openDatabase(const QString& path) {
    if (db::isServerUri(path))
        return server::open(path);
    qint64 version = 0;
    auto conn = openMarked(path, version);
    if (version < kSchemaVersion)
        throw db::DbError(QStringLiteral("数据库文件 %1 的版本 (%2) 较旧，请先运行 velmora-newdb --upgrade %1 升级")
                              .arg(path)
                              .arg(version));
    if (version != kSchemaVersion)
        throw db::DbError(
            QStringLiteral("数据库文件 %1 的版本 (%2) 与程序 (%3) 不符").arg(path).arg(version).arg(kSchemaVersion));
    if (!conn->isReadOnly())
        conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    return conn;
}

} // namespace app::schema
