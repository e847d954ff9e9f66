#pragma once

#include "db/connection.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace testing_support {

enum class Engine { Sqlite, Postgres };

// The engine a TestDb made without naming one uses: the parameter of the
// running EngineTest, else the file engine.
Engine currentEngine();

// The server the tests use (VELMORA_TEST_PG, a libpq URI), or empty when none is set.
QString serverUri();

// A fresh database made by the same code as velmora-newdb: a file in a folder
// of its own, or a database of its own on the test server; either is removed
// with the object.
class TestDb {
public:
    TestDb();
    explicit TestDb(Engine engine);
    ~TestDb();
    db::Connection& conn() { return *conn_; }
    Engine engine() const { return engine_; }
    // The file's path, or the database's URI.
    QString path() const { return path_; }
    QString dir() const { return dir_.path(); }
    // A second connection to the same database (another program instance).
    std::unique_ptr<db::Connection> openAnother() const;

    // Makes the database refuse a write ("insert", "update", "delete") to a
    // table while the condition holds, as a full disk or another program's
    // rule would; lift() with the same name ends it.
    void refuse(const QString& name, const QString& write, const QString& table,
                const QString& condition = QStringLiteral("true"));
    void lift(const QString& name, const QString& table);

private:
    Engine engine_;
    QTemporaryDir dir_;
    QString path_;
    QString name_; // the database on the server
    std::unique_ptr<db::Connection> conn_;
};

// Base of the tests that run on both engines: TestDb follows the parameter,
// and the server's run is skipped when no test server is set.
class EngineTest : public ::testing::TestWithParam<Engine> {
public:
    EngineTest();
    ~EngineTest() override;
    void SetUp() override;
};

std::string engineName(const ::testing::TestParamInfo<Engine>& info);
inline void PrintTo(Engine e, std::ostream* os) { *os << (e == Engine::Sqlite ? "sqlite" : "postgres"); }

} // namespace testing_support

// Declares a test suite whose TEST_P tests run once on each engine.
#define VELMORA_ON_EACH_ENGINE(Suite)                                                                                  \
    class Suite : public testing_support::EngineTest {};                                                               \
    INSTANTIATE_TEST_SUITE_P(, Suite,                                                                                  \
                             ::testing::Values(testing_support::Engine::Sqlite, testing_support::Engine::Postgres),    \
                             testing_support::engineName)

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
