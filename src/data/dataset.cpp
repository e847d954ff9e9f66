#include "data/dataset.h"

#include "db/dates.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace data {

// Rows packed one after another in large blocks: a million rows of goods take
// about a hundred bytes each instead of a QString per cell. A row is a run of
// cells, each a kind byte and then 8 bytes (number) or a length and UTF-8 text.
class RowStore {
public:
    enum : char { Null = 0, Int = 1, Real = 2, Text = 3 };

    const char* add(const std::string& packed) {
        beginRow();
        std::memcpy(reserve(packed.size()), packed.data(), packed.size());
        return endRow();
    }

    // Writing a row straight into the current block (the load path: no copy).
    void beginRow() { rowStart_ = used_; }
    void writeNull() { *reserve(1) = Null; }
    void writeInt(qint64 v) { writeFixed(Int, &v); }
    void writeReal(double v) { writeFixed(Real, &v); }
    void writeText(std::string_view t) {
        const quint32 n = static_cast<quint32>(t.size());
        char* p = reserve(5 + n);
        *p = Text;
        std::memcpy(p + 1, &n, sizeof n);
        std::memcpy(p + 5, t.data(), n);
    }
    const char* endRow() { return blocks_.back().get() + rowStart_; }

    static void putNull(std::string& out) { out.push_back(Null); }
    static void putInt(std::string& out, qint64 v) {
        out.push_back(Int);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static void putReal(std::string& out, double v) {
        out.push_back(Real);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static void putText(std::string& out, std::string_view t) {
        out.push_back(Text);
        const quint32 n = static_cast<quint32>(t.size());
        out.append(reinterpret_cast<const char*>(&n), sizeof n);
        out.append(t.data(), t.size());
    }
    static void putValue(std::string& out, const db::Value& v) {
        if (v.isNull())
            putNull(out);
        else if (auto i = v.ifInt())
            putInt(out, *i);
        else if (auto r = v.ifReal())
            putReal(out, *r);
        else if (auto d = v.ifDateTime())
            putText(out, db::dates::toStorage(*d).toStdString());
        else
            putText(out, v.ifText()->toStdString());
    }

    // Skips to cell `col` of a packed row.
    static const char* cell(const char* p, int col) {
        for (int i = 0; i < col; ++i) {
            switch (*p) {
            case Int:
            case Real: p += 9; break;
            case Text: {
                quint32 n;
                std::memcpy(&n, p + 1, sizeof n);
                p += 5 + n;
                break;
            }
            default: p += 1;
            }
        }
        return p;
    }

    static db::Value read(const char* p, db::FieldType type) {
        switch (*p) {
        case Int: {
            qint64 v;
            std::memcpy(&v, p + 1, sizeof v);
            return v;
        }
        case Real: {
            double v;
            std::memcpy(&v, p + 1, sizeof v);
            return v;
        }
        case Text: {
            quint32 n;
            std::memcpy(&n, p + 1, sizeof n);
            const QString s = QString::fromUtf8(p + 5, static_cast<qsizetype>(n));
            if (type == db::FieldType::DateTime) {
                if (auto d = db::dates::fromStorage(s))
                    return *d;
            }
            return s;
        }
        default: return {};
        }
    }

private:
    template <class T>
    void writeFixed(char kind, const T* v) {
        char* p = reserve(1 + sizeof(T));
        *p = kind;
        std::memcpy(p + 1, v, sizeof(T));
    }
    // Room for n more bytes of the row begun; a row that does not fit moves to a new block.
    char* reserve(size_t n) {
        if (blocks_.empty() || used_ + n > blockSize_) {
            const size_t partial = blocks_.empty() ? 0 : used_ - rowStart_;
            const size_t size = std::max(partial + n, kBlock);
            auto block = std::make_unique_for_overwrite<char[]>(size);
            if (partial)
                std::memcpy(block.get(), blocks_.back().get() + rowStart_, partial);
            blocks_.push_back(std::move(block));
            blockSize_ = size;
            used_ = partial;
            rowStart_ = 0;
        }
        char* p = blocks_.back().get() + used_;
        used_ += n;
        return p;
    }

    static constexpr size_t kBlock = 4 << 20;
    size_t rowStart_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = 0;
    size_t blockSize_ = 0;
};

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

DataSet::DataSet(db::Connection& conn, QObject* parent) : QObject(parent), conn_(conn) {}

DataSet::~DataSet() = default;

void DataSet::setSql(const QString& sql, db::Params params) {
    sql_ = sql;
    params_ = std::move(params);
}

void DataSet::setTable(const QString& table, const QString& key, bool autoKey) {
    table_ = table;
    keyName_ = key;
    autoKey_ = autoKey && !key.isEmpty();
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
        const int k = l.source->fieldIndex(l.sourceKeyName);
        const int r = l.source->fieldIndex(l.sourceResultName);
        if (k >= 0 && r >= 0) {
            for (int i = l.source->count() - 1; i >= 0; --i) // first match wins
                l.cache.insert(l.source->value(i, k).toString(), l.source->value(i, r));
        }
        l.valid = true;
    }
    const db::Value key = value(row, l.keyField);
    if (key.isNull())
        return {};
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
    switch (t) {
    case db::FieldType::Integer: setValue(field, db::Value(typed).toInt()); break;
    case db::FieldType::Real: setValue(field, db::Value(typed).toReal()); break;
    case db::FieldType::DateTime: setValue(field, db::dates::parseTyped(typed)); break;
    default: break;
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

void DataSet::whereOriginal(QString& where, db::Params& params) const {
    if (key_ >= 0) {
        where = QStringLiteral("\"%1\" = ?").arg(fields_[key_].name);
        params.push_back(original_[key_]);
        return;
    }
    QStringList parts;
    for (int c = 0; c < tableFields_; ++c) {
        parts << QStringLiteral("\"%1\" IS ?").arg(fields_[c].name);
        params.push_back(original_[c]);
    }
    where = parts.join(QStringLiteral(" AND "));
}

void DataSet::insertIntoTable() {
    QStringList cols, marks;
    db::Params params;
    for (int c = 0; c < tableFields_; ++c) {
        if (c == key_ && autoKey_)
            continue;
        if (buffer_[c].isNull())
            continue;
        cols << QStringLiteral("\"%1\"").arg(fields_[c].name);
        marks << QStringLiteral("?");
        params.push_back(buffer_[c]);
    }
    const QString sql = cols.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table_, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    conn_.exec(sql, params);
    if (key_ >= 0 && autoKey_)
        buffer_[key_] = conn_.lastInsertId();
}

void DataSet::updateTable() {
    QStringList sets;
    db::Params params;
    for (int c = 0; c < tableFields_; ++c) {
        if (buffer_[c] == original_[c])
            continue;
        sets << QStringLiteral("\"%1\" = ?").arg(fields_[c].name);
        params.push_back(buffer_[c]);
    }
    if (sets.isEmpty())
        return; // stored unchanged
    QString where;
    whereOriginal(where, params);
    const int n = conn_.exec(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table_, sets.join(QStringLiteral(", ")), where), params);
    if (n == 0)
        throw DataError(QStringLiteral("找不到要更新的记录，它可能已被其他用户删除或修改"));
}

bool DataSet::matchesFilter(const std::vector<db::Value>& values) const {
    return filterField_ < 0 || sameValue(values[filterField_], filterValue_);
}

void DataSet::post() {
    requireOpen();
    if (!isEditing())
        return;
    if (table_.isEmpty())
        throw DataError(QStringLiteral("此列表不能修改"));
    if (beforePost)
        beforePost(*this);
    const bool inserting = state_ == State::Insert;
    if (inserting)
        insertIntoTable();
    else
        updateTable();

    std::string packed;
    for (const db::Value& v : buffer_)
        RowStore::putValue(packed, v);
    const char* row = store_->add(packed);
    const bool keep = matchesFilter(buffer_);
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
    if (table_.isEmpty())
        throw DataError(QStringLiteral("此列表不能修改"));
    if (state_ == State::Edit)
        cancel();
    const int viewRow = current_;
    const int raw = rawIndex(viewRow);
    original_ = decodeRow(raw);
    QString where;
    db::Params params;
    whereOriginal(where, params);
    original_.clear();
    conn_.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(table_, where), params);

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
