#pragma once

#include "data/tablewriter.h"
#include "db/connection.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace data {

// A command refused by the list itself (not by the database).
class DataError : public db::Error {
public:
    using Error::Error;
};

// Ends a command silently: a check has already told the user why (or chose to
// say nothing). The general error guard shows nothing for it.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "abort"; }
};

enum class State { Inactive, Browse, Edit, Insert };

struct Field {
    QString name;
    db::FieldType type = db::FieldType::Unknown;
    bool lookup = false;
};

class RowStore;

// A stored cell as the file holds it, read without making a value: for walks
// over many rows. A date column's cell is its stored text.
struct StoredCell {
    enum Kind { Null, Int, Real, Text } kind = Null;
    qint64 integer = 0;
    double real = 0;
    std::string_view text; // UTF-8; valid until the list changes
};

// A list of rows read by one statement, with one current row: the list semantics
// every window shares. Typing puts the current row into editing; moving to
// another row stores a pending change first, and a new row that holds no value at
// all is dropped instead (a preset counts as a value). Closing discards what was
// not stored; rows written through the list stay in it with their new values.
class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(db::Connection& conn, QObject* parent = nullptr);
    ~DataSet() override;

    db::Connection& connection() const { return conn_; }

    // The statement that open() runs; values reach it as bound parameters.
    void setSql(const QString& sql, db::Params params = {});
    QString sql() const { return sql_; }
    // The table that post() and remove() write, and its key. With autoKey the
    // database assigns the key when a new row is stored and the list takes it
    // over. A stored row is written by its key and the values it was read
    // with: when another desk changed or deleted it since, nothing is written,
    // the row is read again (or leaves the list) and StaleRow is thrown.
    void setTable(const QString& table, const QString& key = {}, bool autoKey = true);

    void open();
    void close();
    bool isOpen() const { return state_ != State::Inactive; }

    // Fields: the statement's columns, then lookup fields.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const Field& field(int i) const { return fields_[i]; }
    // -1 when there is no such field (letter case ignored).
    int fieldIndex(const QString& name) const;
    // A derived column: the sourceResult of the source row whose sourceKey
    // equals this row's keyField; empty when there is none. Not stored.
    void addLookupField(const QString& name, const QString& keyField, const DataSet* source, const QString& sourceKey,
                        const QString& sourceResult);

    // Rows of the view (a new row not yet stored included).
    int count() const;
    bool isEmpty() const { return count() == 0; }
    int currentRow() const { return current_; }
    // Moves to another row, storing a pending change first (or dropping an
    // untouched new row). A refused store leaves the current row where it was.
    void setCurrentRow(int row);
    void first();
    void last();
    // Moves to the next row; at the last row it stays there and sets eof().
    bool next();
    bool eof() const { return eof_; }

    db::Value value(const QString& field) const;
    db::Value value(int field) const;
    db::Value value(int row, int field) const;
    QString displayText(int row, int field) const { return value(row, field).toString(); }
    // A cell of a stored row of one of the statement's columns (not a lookup
    // field, not the row being edited); Null otherwise.
    StoredCell storedCell(int row, int field) const;
    // A field of the current stored row exactly as the file holds it (a date
    // stays its stored text): for a write that checks the row is unchanged.
    db::Value storedValue(const QString& field) const;

    // Sets a field of the current row, putting the row into editing first (on an
    // empty list that starts a new row).
    void setValue(const QString& field, const db::Value& v);
    void setValue(int field, const db::Value& v);
    // Sets a field from typed text, converted to the field's type
    // (ConversionError for text that is no number or date).
    void setText(int field, const QString& typed);

    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool isModified() const { return modified_; }

    void append();
    void edit();
    void post();
    void cancel();
    // Deletes the current row from the table. On an empty list: DataError.
    void remove();
    // Rows held, in the order read and appended (a filter aside).
    int rowsHeld() const { return static_cast<int>(rows_.size()); }
    // Forgets the rows appended after the first `held` rows, in memory only:
    // for a batch whose transaction was rolled back, so the file no longer
    // has them. A pending new row is dropped too.
    void forgetRowsAfter(int held);
    // Stores `count` new rows that all hold these values (field index, value)
    // and appends them to the list, the last one current; the keys the
    // database gives them are taken over. The rows go to the table many to a
    // statement; `progress` hears how many are stored so far. Run it in a
    // transaction: a failure half-way leaves the rows already written to it.
    void appendCopies(const std::vector<std::pair<int, db::Value>>& values, int count,
                      const std::function<void(int stored)>& progress = {});
    // Stores a pending change or drops an untouched new row, as leaving the row does.
    void checkBrowseMode();

    // Batch work: while disabled the list tells nobody of each change; when the
    // last enableControls() comes, its views and inputs are reset once.
    void disableControls();
    void enableControls();

    // The view shows only rows whose field equals value (text: letter case
    // ignored). A stored row that no longer matches leaves the view.
    void setFilter(const QString& field, const db::Value& value);
    void clearFilter();
    bool hasFilter() const { return filterField_ >= 0; }

    // Hooks. beforePost may throw Abort to keep the row open without storing it.
    std::function<void(DataSet&)> beforePost;
    std::function<void(DataSet&)> afterInsert;

signals:
    void aboutToReset();
    void resetDone();
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged();

private:
    struct Lookup {
        QString keyName, sourceKeyName, sourceResultName;
        const DataSet* source = nullptr;
        int keyField = -1;
        mutable QHash<QString, db::Value> cache;   // source key text -> result
        mutable QHash<qint64, db::Value> byNumber; // the same for keys that are whole numbers
        mutable bool valid = false;
    };

    int storedCount() const;
    int rawIndex(int viewRow) const;
    db::Value rawValue(int raw, int field) const;
    db::Value lookupValue(const Lookup& l, int row) const;
    bool matchesFilter(const std::vector<db::Value>& values) const;
    std::vector<db::Value> decodeRow(int raw) const;
    std::vector<db::Value> rawRow(int raw) const;
    // After StaleRow: the row at this view position as the file holds it now.
    void reread(int viewRow);
    // Packs cells into the row store; the row's address.
    const char* storeRow(const std::vector<db::Value>& cells);
    // Takes a stored row out of the list (memory only).
    void dropStoredRow(int viewRow);
    void rebuildView();
    void setState(State s);
    void moveTo(int row);
    void insertIntoTable();
    void updateTable();
    void requireOpen() const;

    db::Connection& conn_;
    QString sql_;
    db::Params params_;
    TableWriter writer_;
    QString keyName_;
    int key_ = -1;
    int tableFields_ = 0;
    std::vector<Field> fields_;
    std::vector<QString> columnNames_;             // of the statement's columns, as the writer takes them
    std::vector<std::unique_ptr<Lookup>> lookups_; // by field index - tableFields_

    std::unique_ptr<RowStore> store_;
    std::vector<const char*> rows_; // all stored rows, in load order
    std::vector<int> view_;         // raw indices shown when a filter is set
    int filterField_ = -1;
    QString filterName_;
    db::Value filterValue_;

    int controlsDisabled_ = 0;
    State state_ = State::Inactive;
    int current_ = -1;
    bool eof_ = true;
    bool modified_ = false;
    std::vector<db::Value> buffer_;   // the row being edited or inserted
    std::vector<db::Value> original_; // its values as read
    std::vector<db::Value> read_;     // the same as the file holds them
    std::string scratch_;             // a row being packed
};

// Disables a list's controls for a scope (batch writes of many rows).
class ControlsDisabled {
public:
    explicit ControlsDisabled(DataSet& list) : list_(list) { list_.disableControls(); }
    ~ControlsDisabled() { list_.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    DataSet& list_;
};

} // namespace data
