#pragma once

#include "db/connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

namespace testing_support {

// A fresh database file, made by the same code as velmora-newdb, in a folder of
// its own that is removed with the object.
class TestDb {
public:
    TestDb();
    db::Connection& conn() { return *conn_; }
    QString path() const { return path_; }
    QString dir() const { return dir_.path(); }
    // A second connection to the same file (another program instance).
    std::unique_ptr<db::Connection> openAnother() const;

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::Connection> conn_;
};

} // namespace testing_support

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
