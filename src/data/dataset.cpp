#include "data/dataset.h"

#include "core/schema.h"
#include "data/rowstore.h"
#include "data/tablewriter.h"
#include "db/dates.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace data {

namespace {
bool sameValue(const db::Value& a, const db::Value& b) {
    const QString* ta = a.ifText();
    const QString* tb = b.ifText();
    if (ta && tb)
        return ta->compare(*tb, Qt::CaseInsensitive) == 0;
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.ifDateTime() || b.ifDateTime())
        return a.toDateTime() == b.toDateTime();
    if ((a.ifInt() || a.ifReal()) && (b.ifInt() || b.ifReal()))
        return a.toReal() == b.toReal();
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}
} // namespace

DataSet::DataSet(db::Connection& conn, QObject* parent) : QObject(parent), conn_(conn), writer_(conn) {}

DataSet::~DataSet() = default;

void DataSet::setSql(const QString& sql, db::Params params) {
    sql_ = sql;
    params_ = std::move(params);
}

void DataSet::setTable(const QString& table, const QString& key, bool autoKey) {
    writer_.setTable(table, key, autoKey);
    keyName_ = key;
}

void DataSet::requireOpen() const {
    if (state_ == State::Inactive)
        throw DataError(QStringLiteral("数据集未打开，无法执行该操作"));
}

void DataSet::open() {
    if (isOpen())
        close();
    auto st = conn_.prepare(sql_);
    st->bindAll(params_);

    emit aboutToReset();
    const int n = st->columnCount();
    std::vector<Field> fields;
    fields.reserve(n + lookups_.size());
    for (int i = 0; i < n; ++i)
        fields.push_back({st->columnName(i), st->declaredType(i), false});
    // Lookup fields were declared by name before the first open; keep them last.
    for (const Field& f : fields_)
        if (f.lookup)
            fields.push_back(f);
    fields_ = std::move(fields);
    tableFields_ = n;
    columnNames_.clear();
    for (int c = 0; c < n; ++c)
        columnNames_.push_back(fields_[c].name);
    for (auto& l : lookups_)
        l->valid = false;

    store_ = std::make_unique<RowStore>();
    rows_.clear();
    try {
        while (st->step()) {
            store_->beginRow();
            for (int c = 0; c < n; ++c) {
                switch (st->kind(c)) {
                case db::CellKind::Null: store_->writeNull(); break;
                case db::CellKind::Integer: store_->writeInt(st->int64(c)); break;
                case db::CellKind::Real: store_->writeReal(st->real(c)); break;
                case db::CellKind::Text: store_->writeText(st->utf8(c)); break;
                }
            }
            rows_.push_back(store_->endRow());
        }
    } catch (...) {
        rows_.clear();
        store_.reset();
        emit resetDone();
        throw;
    }
    key_ = keyName_.isEmpty() ? -1 : fieldIndex(keyName_);
    if (filterField_ >= 0)
        filterField_ = fieldIndex(filterName_);
    for (auto& l : lookups_)
        l->keyField = fieldIndex(l->keyName);
    state_ = State::Browse;
    modified_ = false;
    buffer_.clear();
    rebuildView();
    current_ = count() > 0 ? 0 : -1;
    eof_ = current_ < 0;
    emit resetDone();
    emit stateChanged();
    emit currentRowChanged(current_);
}

void DataSet::close() {
    if (!isOpen())
        return;
    emit aboutToReset();
    rows_.clear();
    view_.clear();
    store_.reset();
    buffer_.clear();
    original_.clear();
    modified_ = false;
    current_ = -1;
    eof_ = true;
    state_ = State::Inactive;
    emit resetDone();
    emit stateChanged();
}

int DataSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < fieldCount(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DataSet::addLookupField(const QString& name, const QString& keyField, const DataSet* source,
                             const QString& sourceKey, const QString& sourceResult) {
    auto l = std::make_unique<Lookup>();
    l->keyName = keyField;
    l->sourceKeyName = sourceKey;
    l->sourceResultName = sourceResult;
    l->source = source;
    l->keyField = fieldIndex(keyField);
    const Lookup* raw = l.get();
    auto invalidate = [this, raw] {
        raw->valid = false;
        if (isOpen() && count() > 0)
            emit rowChanged(-1);
    };
    connect(source, &DataSet::resetDone, this, invalidate);
    connect(source, &DataSet::rowChanged, this, invalidate);
    connect(source, &DataSet::rowInserted, this, invalidate);
    connect(source, &DataSet::rowRemoved, this, invalidate);
    fields_.push_back({name, db::FieldType::Text, true});
    lookups_.push_back(std::move(l));
}

db::Value DataSet::lookupValue(const Lookup& l, int row) const {
    if (l.keyField < 0 || !l.source->isOpen())
        return {};
    if (!l.valid) {
        l.cache.clear();
        l.byNumber.clear();
        const int k = l.source->fieldIndex(l.sourceKeyName);
        const int r = l.source->fieldIndex(l.sourceResultName);
        if (k >= 0 && r >= 0) {
            for (int i = l.source->count() - 1; i >= 0; --i) { // first match wins
                const QString text = l.source->value(i, k).toString();
                const db::Value result = l.source->value(i, r);
                l.cache.insert(text, result);
                bool whole = false;
                const qint64 n = text.toLongLong(&whole);
                if (whole && QString::number(n) == text)
                    l.byNumber.insert(n, result);
            }
        }
        l.valid = true;
    }
    const db::Value key = value(row, l.keyField);
    if (key.isNull())
        return {};
    // A number key is found without writing it out as text (the text of a
    // whole number is its decimal digits, so both find the same row).
    if (const qint64* n = key.ifInt())
        return l.byNumber.value(*n);
    return l.cache.value(key.toString());
}

int DataSet::storedCount() const {
    return filterField_ >= 0 ? static_cast<int>(view_.size()) : static_cast<int>(rows_.size());
}

int DataSet::count() const {
    if (!isOpen())
        return 0;
    return storedCount() + (state_ == State::Insert ? 1 : 0);
}

int DataSet::rawIndex(int viewRow) const { return filterField_ >= 0 ? view_[viewRow] : viewRow; }

db::Value DataSet::rawValue(int raw, int field) const {
    return RowStore::read(RowStore::cell(rows_[raw], field), fields_[field].type);
}

std::vector<db::Value> DataSet::rawRow(int raw) const {
    std::vector<db::Value> v;
    v.reserve(tableFields_);
    const char* p = rows_[raw];
    for (int c = 0; c < tableFields_; ++c) {
        v.push_back(RowStore::readRaw(p));
        p = RowStore::cell(p, 1);
    }
    return v;
}

std::vector<db::Value> DataSet::decodeRow(int raw) const {
    std::vector<db::Value> v;
    v.reserve(tableFields_);
    const char* p = rows_[raw];
    for (int c = 0; c < tableFields_; ++c) {
        v.push_back(RowStore::read(p, fields_[c].type));
        p = RowStore::cell(p, 1);
    }
    return v;
}

db::Value DataSet::value(int row, int field) const {
    if (!isOpen() || row < 0 || row >= count() || field < 0 || field >= fieldCount())
        return {};
    if (field >= tableFields_)
        return lookupValue(*lookups_[field - tableFields_], row);
    if (row == current_ && isEditing())
        return buffer_[field];
    return rawValue(rawIndex(row), field);
}

db::Value DataSet::value(int field) const { return value(current_, field); }

StoredCell DataSet::storedCell(int row, int field) const {
    if (!isOpen() || row < 0 || row >= storedCount() || field < 0 || field >= tableFields_ ||
        (row == current_ && isEditing()))
        return {};
    const char* p = RowStore::cell(rows_[rawIndex(row)], field);
    switch (*p) {
    case RowStore::Null: return {};
    case RowStore::Real: return {StoredCell::Real, 0, RowStore::real(p), {}};
    case RowStore::ShortText:
    case RowStore::Text: return {StoredCell::Text, 0, 0, RowStore::text(p)};
    default: return {StoredCell::Int, RowStore::integer(p), 0, {}};
    }
}

db::Value DataSet::storedValue(const QString& field) const {
    const int f = fieldIndex(field);
    if (!isOpen() || f < 0 || f >= tableFields_ || current_ < 0 || current_ >= storedCount())
        return {};
    return RowStore::readRaw(RowStore::cell(rows_[rawIndex(current_)], f));
}

db::Value DataSet::value(const QString& field) const {
    const int f = fieldIndex(field);
    if (f < 0 && isOpen())
        throw DataError(QStringLiteral("字段 %1 不存在").arg(field));
    return value(current_, f);
}

void DataSet::setState(State s) {
    if (state_ != s) {
        state_ = s;
        emit stateChanged();
    }
}

void DataSet::moveTo(int row) {
    eof_ = false;
    if (row == current_)
        return;
    current_ = row;
    emit currentRowChanged(current_);
}

void DataSet::checkBrowseMode() {
    if (state_ == State::Insert && !modified_)
        cancel();
    else if (isEditing())
        post();
}

void DataSet::setCurrentRow(int row) {
    requireOpen();
    if (row == current_ && !(state_ == State::Insert && !modified_)) {
        eof_ = false;
        return;
    }
    checkBrowseMode();
    if (count() == 0) {
        current_ = -1;
        eof_ = true;
        return;
    }
    moveTo(std::clamp(row, 0, count() - 1));
}

void DataSet::first() {
    requireOpen();
    checkBrowseMode();
    if (count() == 0) {
        eof_ = true;
        return;
    }
    moveTo(0);
}

void DataSet::last() {
    requireOpen();
    checkBrowseMode();
    if (count() == 0) {
        eof_ = true;
        return;
    }
    moveTo(count() - 1);
}

bool DataSet::next() {
    requireOpen();
    checkBrowseMode();
    if (current_ < 0 || current_ >= count() - 1) {
        eof_ = true;
        return false;
    }
    moveTo(current_ + 1);
    return true;
}

void DataSet::setValue(const QString& field, const db::Value& v) {
    const int f = fieldIndex(field);
    if (f < 0)
        throw DataError(QStringLiteral("字段 %1 不存在").arg(field));
    setValue(f, v);
}

void DataSet::setValue(int field, const db::Value& v) {
    requireOpen();
    if (field < 0 || field >= tableFields_)
        throw DataError(QStringLiteral("字段 %1 不能修改").arg(field < 0 ? QString() : fields_[field].name));
    if (!isEditing())
        edit();
    buffer_[field] = v;
    modified_ = true;
    emit rowChanged(current_);
}

void DataSet::setText(int field, const QString& typed) {
    if (field < 0 || field >= fieldCount())
        throw DataError(QStringLiteral("字段不存在"));
    const db::FieldType t = fields_[field].type;
    if (t == db::FieldType::Text || t == db::FieldType::Unknown) {
        setValue(field, typed);
        return;
    }
    if (typed.trimmed().isEmpty()) {
        setValue(field, db::Value());
        return;
    }
    try {
        switch (t) {
        case db::FieldType::Integer: setValue(field, db::Value(typed).toInt()); break;
        case db::FieldType::Real: setValue(field, db::Value(typed).toReal()); break;
        case db::FieldType::DateTime: setValue(field, db::dates::parseTyped(typed)); break;
        default: break;
        }
    } catch (const db::ConversionError& e) {
        // The user sees which field the text was typed into.
        const core::schema::Column* c = core::schema::column(writer_.table(), fields_[field].name);
        throw db::ConversionError((c ? c->text() : fields_[field].name) + QStringLiteral(": ") + e.text());
    }
}

void DataSet::append() {
    requireOpen();
    checkBrowseMode();
    const int row = storedCount();
    emit aboutToInsertRow(row);
    buffer_.assign(tableFields_, db::Value());
    original_.clear();
    modified_ = false;
    state_ = State::Insert;
    current_ = row;
    eof_ = false;
    emit rowInserted(row);
    emit stateChanged();
    emit currentRowChanged(current_);
    if (afterInsert)
        afterInsert(*this);
}

void DataSet::edit() {
    requireOpen();
    if (isEditing())
        return;
    if (count() == 0) {
        append();
        return;
    }
    buffer_ = decodeRow(rawIndex(current_));
    original_ = buffer_;
    read_ = rawRow(rawIndex(current_));
    modified_ = false;
    setState(State::Edit);
}

void DataSet::cancel() {
    if (state_ == State::Insert) {
        const int row = current_;
        emit aboutToRemoveRow(row);
        state_ = State::Browse;
        buffer_.clear();
        modified_ = false;
        current_ = std::min(row, storedCount() - 1);
        emit rowRemoved(row);
        emit stateChanged();
        emit currentRowChanged(current_);
    } else if (state_ == State::Edit) {
        buffer_.clear();
        modified_ = false;
        setState(State::Browse);
        emit rowChanged(current_);
    }
}

void DataSet::insertIntoTable() {
    const db::Value key = writer_.insert(columnNames_, buffer_);
    if (key_ >= 0 && writer_.autoKey())
        buffer_[key_] = key;
}

void DataSet::updateTable() {
    std::vector<bool> changed(tableFields_);
    bool any = false;
    for (int c = 0; c < tableFields_; ++c) {
        changed[c] = !(buffer_[c] == original_[c]);
        any = any || changed[c];
    }
    if (!any)
        return; // stored unchanged
    try {
        writer_.update(columnNames_, read_, buffer_, changed);
    } catch (const StaleRow&) {
        reread(current_);
        throw;
    }
}

void DataSet::reread(int viewRow) {
    if (state_ == State::Edit) {
        buffer_.clear();
        original_.clear();
        read_.clear();
        modified_ = false;
        setState(State::Browse);
    }
    if (key_ < 0 || viewRow < 0 || viewRow >= storedCount())
        return;
    const int raw = rawIndex(viewRow);
    const auto now = writer_.reread(columnNames_, RowStore::readRaw(RowStore::cell(rows_[raw], key_)));
    if (now) {
        rows_[raw] = storeRow(*now);
        emit rowChanged(viewRow);
        return;
    }
    dropStoredRow(viewRow); // deleted at another desk: it leaves the list
}

void DataSet::dropStoredRow(int viewRow) {
    const int raw = rawIndex(viewRow);
    emit aboutToRemoveRow(viewRow);
    rows_.erase(rows_.begin() + raw);
    if (filterField_ >= 0) {
        view_.erase(view_.begin() + viewRow);
        for (int& v : view_)
            if (v > raw)
                --v;
    }
    current_ = std::min(viewRow, storedCount() - 1);
    emit rowRemoved(viewRow);
    emit currentRowChanged(current_);
}

void DataSet::appendCopies(const std::vector<std::pair<int, db::Value>>& values, int count,
                           const std::function<void(int stored)>& progress) {
    requireOpen();
    if (!writer_.isSet())
        throw DataError(QStringLiteral("此列表不能修改"));
    checkBrowseMode();
    std::vector<db::Value> row(tableFields_);
    for (const auto& [field, value] : values) {
        if (field < 0 || field >= tableFields_)
            throw DataError(QStringLiteral("字段 %1 不能修改").arg(field));
        row[field] = value;
    }
    emit aboutToReset();
    int stored = 0;
    try {
        writer_.insertCopies(columnNames_, row, count, [&](int rows, const std::vector<db::Value>& keys) {
            for (int i = 0; i < rows; ++i) {
                if (key_ >= 0 && i < static_cast<int>(keys.size()))
                    row[key_] = keys[i];
                rows_.push_back(storeRow(row));
                if (filterField_ >= 0 && matchesFilter(row))
                    view_.push_back(static_cast<int>(rows_.size()) - 1);
            }
            stored += rows;
            if (progress)
                progress(stored);
        });
    } catch (...) {
        current_ = std::min(current_, storedCount() - 1);
        emit resetDone();
        throw;
    }
    current_ = storedCount() - 1;
    eof_ = current_ < 0;
    emit resetDone();
    emit currentRowChanged(current_);
}

void DataSet::forgetRowsAfter(int held) {
    if (state_ == State::Insert)
        cancel();
    if (held >= rowsHeld())
        return;
    emit aboutToReset();
    rows_.resize(std::max(held, 0));
    rebuildView();
    current_ = std::min(current_, storedCount() - 1);
    eof_ = current_ < 0;
    emit resetDone();
    emit currentRowChanged(current_);
}

const char* DataSet::storeRow(const std::vector<db::Value>& cells) {
    scratch_.clear();
    for (const db::Value& v : cells)
        RowStore::putValue(scratch_, v);
    return store_->add(scratch_);
}

bool DataSet::matchesFilter(const std::vector<db::Value>& values) const {
    return filterField_ < 0 || sameValue(values[filterField_], filterValue_);
}

void DataSet::post() {
    requireOpen();
    if (!isEditing())
        return;
    if (!writer_.isSet())
        throw DataError(QStringLiteral("此列表不能修改"));
    if (beforePost)
        beforePost(*this);
    const bool inserting = state_ == State::Insert;
    if (inserting)
        insertIntoTable();
    else
        updateTable();

    // The list keeps the cells as the file holds them: unchanged ones as they
    // were read, so that the next write finds the row again.
    const bool keep = matchesFilter(buffer_);
    if (!inserting)
        for (int c = 0; c < tableFields_; ++c)
            if (buffer_[c] == original_[c])
                buffer_[c] = read_[c];
    const char* row = storeRow(buffer_);
    const int viewRow = current_;
    if (inserting) {
        rows_.push_back(row);
        if (filterField_ >= 0)
            view_.push_back(static_cast<int>(rows_.size()) - 1);
    } else {
        rows_[rawIndex(viewRow)] = row;
    }
    buffer_.clear();
    original_.clear();
    read_.clear();
    modified_ = false;
    state_ = State::Browse;
    if (!keep && filterField_ >= 0) {
        emit aboutToRemoveRow(viewRow);
        view_.erase(view_.begin() + viewRow);
        current_ = std::min(viewRow, storedCount() - 1);
        emit rowRemoved(viewRow);
        emit stateChanged();
        emit currentRowChanged(current_);
        return;
    }
    emit rowChanged(viewRow);
    emit stateChanged();
}

void DataSet::remove() {
    requireOpen();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (count() == 0)
        throw DataError(QStringLiteral("列表中没有记录，无法删除"));
    if (!writer_.isSet())
        throw DataError(QStringLiteral("此列表不能修改"));
    if (state_ == State::Edit)
        cancel();
    const int viewRow = current_;
    const int raw = rawIndex(viewRow);
    try {
        writer_.remove(columnNames_, rawRow(raw));
    } catch (const StaleRow&) {
        reread(viewRow);
        throw;
    }
    dropStoredRow(viewRow);
}

void DataSet::disableControls() {
    if (controlsDisabled_++ > 0)
        return;
    emit aboutToReset();
    blockSignals(true);
}

void DataSet::enableControls() {
    if (controlsDisabled_ == 0 || --controlsDisabled_ > 0)
        return;
    blockSignals(false);
    emit resetDone();
    emit stateChanged();
    emit currentRowChanged(current_);
}

void DataSet::rebuildView() {
    view_.clear();
    if (filterField_ < 0)
        return;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        if (sameValue(rawValue(r, filterField_), filterValue_))
            view_.push_back(r);
}

void DataSet::setFilter(const QString& field, const db::Value& value) {
    requireOpen();
    checkBrowseMode();
    const int f = fieldIndex(field);
    if (f < 0 || f >= tableFields_)
        throw DataError(QStringLiteral("字段 %1 不存在").arg(field));
    emit aboutToReset();
    filterField_ = f;
    filterName_ = fields_[f].name;
    filterValue_ = value;
    rebuildView();
    current_ = count() > 0 ? 0 : -1;
    eof_ = current_ < 0;
    emit resetDone();
    emit currentRowChanged(current_);
}

void DataSet::clearFilter() {
    if (filterField_ < 0)
        return;
    checkBrowseMode();
    emit aboutToReset();
    filterField_ = -1;
    view_.clear();
    current_ = count() > 0 ? 0 : -1;
    eof_ = current_ < 0;
    emit resetDone();
    emit currentRowChanged(current_);
}

} // namespace data
