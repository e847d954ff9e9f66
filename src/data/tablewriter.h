#pragma once

#include "db/connection.h"
#include "db/errors.h"

#include <QString>

namespace core::schema {
struct Column;
}

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace data {

// Another desk changed or deleted the row since this list read it; nothing
// was written.
class StaleRow : public db::Error {
public:
    StaleRow();
};

// The statements that write the rows of one list to its table: insert, and
// update and delete of a stored row. A stored row is found by its key and
// every value it was read with, compared exactly as the file holds them, so
// that a change made at another desk in between is never overwritten: then
// no row matches and StaleRow is thrown. Values that do not fit their column
// are refused before anything is written, naming the field and its limit.
class TableWriter {
public:
    explicit TableWriter(db::Connection& conn) : conn_(conn) {}

    // With autoKey the database assigns the key of a new row.
    void setTable(const QString& table, const QString& key, bool autoKey);
    bool isSet() const { return !table_.isEmpty(); }
    const QString& table() const { return table_; }
    const QString& key() const { return key_; }
    bool autoKey() const { return autoKey_; }

    // columns: the names of the row's cells, in order. Null cells are left to
    // the column's default. Returns the key the database assigned (autoKey), else null.
    db::Value insert(const std::vector<QString>& columns, const std::vector<db::Value>& values);
    // Stores `count` rows with the same values (a batch of identical units), many
    // rows to a statement, so that a server is not asked once per row.
    // `stored` hears of each statement's rows: how many, and their keys in
    // ascending order when the database assigns them (else none).
    void insertCopies(const std::vector<QString>& columns, const std::vector<db::Value>& values, int count,
                      const std::function<void(int rows, const std::vector<db::Value>& keys)>& stored);
    // read: the cells as read (raw stored values); values: the row as it is to
    // be; changed: which cells are set. Throws StaleRow when the row is not
    // there as read.
    void update(const std::vector<QString>& columns, const std::vector<db::Value>& read,
                const std::vector<db::Value>& values, const std::vector<bool>& changed);
    void remove(const std::vector<QString>& columns, const std::vector<db::Value>& read);
    // The row of that key as the file holds it now (raw values), or nothing when it is gone.
    std::optional<std::vector<db::Value>> reread(const std::vector<QString>& columns, const db::Value& key);

    // The refusal of a value for a column, or an empty text when it fits.
    QString refusal(const QString& column, const db::Value& value) const;

private:
    // Whether an insert sets this cell.
    bool inserts(const QString& column, const db::Value& value) const;
    QString whereRead(const std::vector<QString>& columns, const std::vector<db::Value>& read,
                      db::Params& params) const;
    void refuseUnfit(const std::vector<QString>& columns, const std::vector<db::Value>& values,
                     const std::vector<bool>* changed) const;

    db::Connection& conn_;
    // The last insert prepared: a batch of new rows sets the same columns
    // each time and runs it again instead of preparing one per row.
    std::unique_ptr<db::Statement> insert_;
    std::vector<bool> insertSet_;        // the columns it sets
    std::vector<QString> insertColumns_; // of the list it was made for
    // The text columns of the schema among the list's columns (null for others).
    mutable std::vector<QString> columnsKnown_;
    mutable std::vector<const core::schema::Column*> schemaColumns_;
    QString table_;
    QString key_;
    bool autoKey_ = true;
};

} // namespace data
