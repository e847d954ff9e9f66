#include "app/schema.h"

#include "core/schema.h"

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

const char* const kIndexes[] = {
    "CREATE INDEX hwgl_model_state ON hwgl (hwmc, if_in)",
    "CREATE INDEX hwgl_txm ON hwgl (txm)",
    "CREATE INDEX hwgl_mcid ON hwgl (mcid)",
    "CREATE INDEX hwgl_pjh ON hwgl (pjh)",
    "CREATE INDEX hwgl_rkrq ON hwgl (rkrq)",
    "CREATE INDEX hwgl_ckrq ON hwgl (ckrq)",
    "CREATE UNIQUE INDEX hwxh_xh ON hwxh (xh)",
    "CREATE INDEX hwxh_type_name ON hwxh (type_name)",
    "CREATE INDEX jxs_dq ON jxs (dq)",
};

} // namespace

void createDatabase(const QString& path) {
    if (QFile::exists(path))
        throw db::DbError(QStringLiteral("文件 %1 已经存在，不会覆盖").arg(path));
    auto conn = db::openSqlite(path, true);
    {
        db::Transaction tx(*conn);
        for (const Table& t : tables()) {
            QStringList cols;
            for (const Column& c : t.columns)
                cols << columnDdl(c);
            conn->exec(QStringLiteral("CREATE TABLE \"%1\" (\n  %2\n)")
                           .arg(QString::fromLatin1(t.name), cols.join(QStringLiteral(",\n  "))));
        }
        for (const char* ix : kIndexes)
            conn->exec(QString::fromLatin1(ix));
        for (const QString& r : regions())
            conn->exec(QStringLiteral("INSERT INTO area (area_name) VALUES (?)"), {r});
        conn->exec(QStringLiteral("PRAGMA application_id = %1").arg(applicationId()));
        conn->exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        tx.commit();
    }
    conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
}

std::unique_ptr<db::Connection> openDatabase(const QString& path) {
    auto conn = db::openSqlite(path, false);
    // Reading the marks fails with the engine's own text for a file that is no
    // database at all; a database of another program has other marks.
    const qint64 id = conn->scalar(QStringLiteral("PRAGMA application_id")).toInt();
    const qint64 version = conn->scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (id != applicationId())
        throw db::DbError(QStringLiteral("%1 不是本系统的数据库文件").arg(path));
    if (version != kSchemaVersion)
        throw db::DbError(
            QStringLiteral("数据库文件 %1 的版本 (%2) 与程序 (%3) 不符").arg(path).arg(version).arg(kSchemaVersion));
    conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    return conn;
}

} // namespace app::schema
