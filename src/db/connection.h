#pragma once

#include "db/errors.h"
#include "db/value.h"

#include <QString>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace db {

using Params = std::vector<Value>;

// The kind of value in a result column of the current row.
enum class CellKind { Null, Integer, Real, Text };

// A prepared statement. Parameters are bound by position (1-based, as "?" marks);
// no value is ever pasted into the statement text.
class Statement {
public:
    virtual ~Statement() = default;

    virtual void bind(int index, const Value& v) = 0;
    void bindAll(const Params& params);
    // Steps to the next row; false when there is none (or the statement was no query).
    virtual bool step() = 0;
    virtual void reset() = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int col) const = 0;
    // The declared type of a result column that comes straight from a table column.
    virtual FieldType declaredType(int col) const = 0;

    // Fast access to the current row (used by lists that load many rows).
    virtual CellKind kind(int col) const = 0;
    virtual qint64 int64(int col) const = 0;
    virtual double real(int col) const = 0;
    virtual std::string_view utf8(int col) const = 0;
    // The current row's value, dates of date columns as date values.
    Value value(int col) const;

    virtual QString sql() const = 0;
};

// One open database. Implemented for SQLite in sqlite.cpp and for a
// PostgreSQL server in postgres.cpp.
class Connection {
public:
    virtual ~Connection() = default;

    virtual bool isOpen() const = 0;
    virtual QString fileName() const = 0;

    virtual std::unique_ptr<Statement> prepare(const QString& sql) = 0;
    // Runs a statement that returns no rows; the number of rows it changed.
    int exec(const QString& sql, const Params& params = {});
    // Runs a query and returns its first column of the first row (null when no row).
    Value scalar(const QString& sql, const Params& params = {});
    virtual qint64 lastInsertId() const = 0;
    virtual int changes() const = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    // True when the file could only be opened for reading.
    virtual bool isReadOnly() const = 0;

    // The condition that a column holds exactly the value bound to its "?":
    // null matches null, and a text matches letter for letter, not in the
    // column's letter-case-blind order. Lists use it to find a row as read.
    virtual QString sameValue(const QString& column, bool text) const = 0;
    // Makes writers that check the same thing (one bar code) take turns until
    // the end of the present transaction, so two desks cannot both pass a
    // check and then both write.
    virtual void serialize(const QString& what) = 0;
};

// Opens an existing database file: never creates one. Throws DbError with the
// engine's text when the file is missing or not a database.
std::unique_ptr<Connection> openSqlite(const QString& path, bool create = false);

// Called with true when a statement begins to wait for another desk's write
// lock and with false when the wait is over, so the program can show that it
// waits (the wait ends after 30 seconds with a Busy DbError).
void setBusyHook(std::function<void(bool waiting)> hook);
// How long a write waits for the lock (30 seconds unless changed; tests wait less).
void setBusyWaitLimit(int milliseconds);

// A connection that is not open: every call fails with a clear DbError. Start-up
// uses it when the database could not be opened, so windows report the failure.
std::unique_ptr<Connection> closedConnection(const QString& reason);

// All or nothing: rolls back in its destructor unless commit() was called.
// Guards nest: inside another transaction a guard is a savepoint, so a helper
// that needs all-or-nothing can run on its own or as part of a larger command;
// its rollback undoes only its own work, and nothing is final before the
// outermost commit.
class Transaction {
public:
    explicit Transaction(Connection& c) : c_(c), nested_(c.inTransaction()) {
        if (nested_) {
            savepoint_ = QStringLiteral("nested_%1").arg(++depth());
            c_.exec(QStringLiteral("SAVEPOINT ") + savepoint_);
        } else {
            c_.begin();
        }
    }
    ~Transaction() {
        if (done_)
            return;
        try {
            if (nested_) {
                c_.exec(QStringLiteral("ROLLBACK TO ") + savepoint_);
                c_.exec(QStringLiteral("RELEASE ") + savepoint_);
            } else {
                c_.rollback();
            }
        } catch (...) {
        }
        if (nested_)
            --depth();
    }
    void commit() {
        if (nested_) {
            c_.exec(QStringLiteral("RELEASE ") + savepoint_);
            --depth();
        } else {
            c_.commit();
        }
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    static int& depth() {
        static thread_local int d = 0;
        return d;
    }
    Connection& c_;
    bool nested_;
    QString savepoint_;
    bool done_ = false;
};

} // namespace db
