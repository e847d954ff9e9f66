#include "support/testdb.h"

#include "app/schema.h"
#include "app/schema_pg.h"
#include "db/postgres.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <unistd.h>

namespace testing_support {

namespace {

Engine& engineOfTest() {
    static Engine e = Engine::Sqlite;
    return e;
}

// The URI with another database name in place of the one it names.
QString withDatabase(const QString& uri, const QString& name) {
    const qsizetype scheme = uri.indexOf(QLatin1String("://"));
    const qsizetype path = uri.indexOf(QLatin1Char('/'), scheme + 3);
    const qsizetype query = uri.indexOf(QLatin1Char('?'), scheme + 3);
    const qsizetype end = query < 0 ? uri.size() : query;
    const qsizetype start = path < 0 || path > end ? end : path;
    return uri.left(start) + QLatin1Char('/') + name + uri.mid(end);
}

// A database holding the empty tables, copied for each test: making the
// tables anew costs more than the copy. Its name carries a digest of the
// statements, so a changed definition makes a new one.
QString templateDatabase(db::Connection& admin) {
    QCryptographicHash digest(QCryptographicHash::Sha1);
    for (const QString& s : app::schema::server::definition())
        digest.addData(s.toUtf8());
    const QString name = QStringLiteral("velmora_tmpl_") + QString::fromLatin1(digest.result().toHex().left(12));
    if (!admin.scalar(QStringLiteral("select 1 from pg_database where datname = ?"), {name}).isNull())
        return name;
    // Made under a name of its own and renamed when complete, so that a test
    // running beside never copies a half-made one.
    const QString building =
        QStringLiteral("velmora_build_%1_%2").arg(getpid()).arg(QRandomGenerator::global()->generate());
    admin.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(building));
    app::schema::createDatabase(withDatabase(serverUri(), building));
    try {
        admin.exec(QStringLiteral("ALTER DATABASE \"%1\" RENAME TO \"%2\"").arg(building, name));
    } catch (const db::DbError&) {
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(building));
    }
    return name;
}

} // namespace

Engine currentEngine() { return engineOfTest(); }

QString serverUri() { return qEnvironmentVariable("VELMORA_TEST_PG"); }

TestDb::TestDb() : TestDb(currentEngine()) {}

TestDb::TestDb(Engine engine) : engine_(engine) {
    if (engine_ == Engine::Sqlite) {
        path_ = dir_.filePath(QStringLiteral("ck.mdb"));
        app::schema::createDatabase(path_);
        conn_ = app::schema::openDatabase(path_);
        return;
    }
    if (serverUri().isEmpty())
        throw db::DbError(QStringLiteral("VELMORA_TEST_PG is not set"));
    auto admin = db::openPostgres(serverUri());
    const QString from = templateDatabase(*admin);
    name_ = QStringLiteral("velmora_test_%1_%2").arg(getpid()).arg(QRandomGenerator::global()->generate());
    admin->exec(QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE \"%2\"").arg(name_, from));
    path_ = withDatabase(serverUri(), name_);
    conn_ = app::schema::openDatabase(path_);
}

TestDb::~TestDb() {
    conn_.reset();
    if (name_.isEmpty())
        return;
    try {
        db::openPostgres(serverUri())->exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name_));
    } catch (const db::Error&) {
    }
}

std::unique_ptr<db::Connection> TestDb::openAnother() const { return app::schema::openDatabase(path_); }

void TestDb::refuse(const QString& name, const QString& write, const QString& table, const QString& condition) {
    if (engine_ == Engine::Sqlite) {
        conn_->exec(
            QStringLiteral("create trigger %1 before %2 on %3 when (%4) begin select raise(abort, 'refused'); end")
                .arg(name, write, table, condition));
        return;
    }
    conn_->exec(QStringLiteral("create function %1() returns trigger language plpgsql as $body$ begin if (%2) then "
                               "raise exception 'refused'; end if; return coalesce(new, old); end $body$")
                    .arg(name, condition));
    conn_->exec(
        QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1()").arg(name, write, table));
}

void TestDb::lift(const QString& name, const QString& table) {
    if (engine_ == Engine::Sqlite) {
        conn_->exec(QStringLiteral("drop trigger %1").arg(name));
        return;
    }
    conn_->exec(QStringLiteral("drop trigger %1 on %2").arg(name, table));
    conn_->exec(QStringLiteral("drop function %1()").arg(name));
}

EngineTest::EngineTest() { engineOfTest() = GetParam(); }

EngineTest::~EngineTest() { engineOfTest() = Engine::Sqlite; }

void EngineTest::SetUp() {
    if (GetParam() == Engine::Postgres && serverUri().isEmpty())
        GTEST_SKIP() << "no test server: VELMORA_TEST_PG is not set";
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "sqlite" : "postgres";
}

} // namespace testing_support
