#include "data/tablewriter.h"

#include "core/schema.h"

#include <QStringList>

#include <algorithm>

namespace data {

namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

StaleRow::StaleRow() : db::Error(QStringLiteral("此记录已被其他操作员修改或删除，请重新打开窗口查看！")) {}

void TableWriter::setTable(const QString& table, const QString& key, bool autoKey) {
    table_ = table;
    key_ = key;
    insert_.reset();
    columnsKnown_.clear();
    autoKey_ = autoKey && !key.isEmpty();
}

QString TableWriter::refusal(const QString& column, const db::Value& value) const {
    const QString* text = value.ifText();
    return text ? core::schema::refusal(table_, column, *text) : QString();
}

void TableWriter::refuseUnfit(const std::vector<QString>& columns, const std::vector<db::Value>& values,
                              const std::vector<bool>* changed) const {
    // The schema's columns looked up once for the list's columns, not per value.
    if (columns != columnsKnown_) {
        columnsKnown_ = columns;
        schemaColumns_.clear();
        for (const QString& c : columns) {
            const core::schema::Column* sc = core::schema::column(table_, c);
            schemaColumns_.push_back(sc && sc->kind == core::schema::Kind::Text ? sc : nullptr);
        }
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        if (changed && !(*changed)[c])
            continue; // what the file holds already is not refused again
        const QString* text = values[c].ifText();
        if (!schemaColumns_[c] || !text)
            continue;
        // No more UTF-16 units than the width and no NUL: surely fits.
        if (text->size() <= schemaColumns_[c]->width && !text->contains(QChar(0)))
            continue;
        const QString why = core::schema::refusal(table_, columns[c], *text);
        if (!why.isEmpty())
            throw db::DbError(why, {}, db::DbErrorKind::Width);
    }
}

bool TableWriter::inserts(const QString& column, const db::Value& value) const {
    // Null cells are left to the column's default, the key to the database when it assigns it.
    return !value.isNull() && !(autoKey_ && column.compare(key_, Qt::CaseInsensitive) == 0);
}

db::Value TableWriter::insert(const std::vector<QString>& columns, const std::vector<db::Value>& values) {
    refuseUnfit(columns, values, nullptr);
    std::vector<bool> set(columns.size());
    db::Params params;
    for (size_t c = 0; c < columns.size(); ++c) {
        set[c] = inserts(columns[c], values[c]);
        if (set[c])
            params.push_back(values[c]);
    }
    if (!insert_ || set != insertSet_ || columns != insertColumns_) {
        QStringList cols, marks;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!set[c])
                continue;
            cols << quoted(columns[c]);
            marks << QStringLiteral("?");
        }
        const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table_))
                                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                 .arg(quoted(table_), cols.join(QStringLiteral(", ")),
                                                      marks.join(QStringLiteral(", ")));
        insert_.reset();
        insert_ = conn_.prepare(sql);
        insertSet_ = std::move(set);
        insertColumns_ = columns;
    }
    insert_->reset();
    insert_->bindAll(params);
    insert_->step();
    insert_->reset(); // holds nothing of the file between rows
    return autoKey_ ? db::Value(conn_.lastInsertId()) : db::Value();
}

void TableWriter::insertCopies(const std::vector<QString>& columns, const std::vector<db::Value>& values, int count,
                               const std::function<void(int rows, const std::vector<db::Value>& keys)>& stored) {
    refuseUnfit(columns, values, nullptr);
    QStringList cols;
    db::Params one;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (!inserts(columns[c], values[c]))
            continue;
        cols << quoted(columns[c]);
        one.push_back(values[c]);
    }
    if (cols.isEmpty()) { // nothing but defaults: one row at a time
        for (int i = 0; i < count; ++i)
            stored(1, {insert(columns, values)});
        return;
    }
    // Within the oldest limit of bound values a statement may have.
    const int perStatement = std::max(1, 999 / static_cast<int>(one.size()));
    const QString row =
        QLatin1Char('(') + QStringList(one.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + QLatin1Char(')');
    const auto statement = [&](int rows) {
        QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(quoted(table_), cols.join(QStringLiteral(", "))) +
            QStringList(rows, row).join(QStringLiteral(", "));
        if (autoKey_)
            sql += QStringLiteral(" RETURNING ") + quoted(key_);
        return conn_.prepare(sql);
    };
    const auto repeated = [&](int rows) {
        db::Params params;
        params.reserve(one.size() * rows);
        for (int i = 0; i < rows; ++i)
            params.insert(params.end(), one.begin(), one.end());
        return params;
    };
    const db::Params fullParams = repeated(std::min(perStatement, count));
    std::unique_ptr<db::Statement> full;
    for (int done = 0; done < count;) {
        const int rows = std::min(perStatement, count - done);
        std::unique_ptr<db::Statement> last;
        db::Statement* st = nullptr;
        if (rows == perStatement) {
            if (!full)
                full = statement(rows);
            st = full.get();
            st->bindAll(fullParams);
        } else {
            last = statement(rows);
            st = last.get();
            st->bindAll(repeated(rows));
        }
        std::vector<db::Value> keys;
        while (st->step())
            keys.push_back(st->value(0));
        st->reset();
        std::sort(keys.begin(), keys.end(),
                  [](const db::Value& a, const db::Value& b) { return a.toInt() < b.toInt(); });
        done += rows;
        stored(rows, keys);
    }
}

QString TableWriter::whereRead(const std::vector<QString>& columns, const std::vector<db::Value>& read,
                               db::Params& params) const {
    // The key first, so the engine finds the row by its index; then every
    // value as read. Texts compare byte for byte, not in the column's
    // letter-case-blind order: "abc" read is not "ABC" stored.
    QStringList parts;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].compare(key_, Qt::CaseInsensitive) == 0) {
            parts.prepend(quoted(columns[c]) + QStringLiteral(" = ?"));
            params.insert(params.begin(), read[c]);
        }
    }
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].compare(key_, Qt::CaseInsensitive) == 0)
            continue;
        parts << conn_.sameValue(quoted(columns[c]), read[c].ifText() != nullptr);
        params.push_back(read[c]);
    }
    return parts.join(QStringLiteral(" AND "));
}

void TableWriter::update(const std::vector<QString>& columns, const std::vector<db::Value>& read,
                         const std::vector<db::Value>& values, const std::vector<bool>& changed) {
    refuseUnfit(columns, values, &changed);
    QStringList sets;
    db::Params params;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (!changed[c])
            continue;
        sets << quoted(columns[c]) + QStringLiteral(" = ?");
        params.push_back(values[c]);
    }
    if (sets.isEmpty())
        return; // stored unchanged
    db::Params where;
    const QString condition = whereRead(columns, read, where);
    params.insert(params.end(), where.begin(), where.end());
    const int n = conn_.exec(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(quoted(table_), sets.join(QStringLiteral(", ")), condition),
        params);
    if (n != 1)
        throw StaleRow();
}

void TableWriter::remove(const std::vector<QString>& columns, const std::vector<db::Value>& read) {
    db::Params params;
    const QString condition = whereRead(columns, read, params);
    if (conn_.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoted(table_), condition), params) != 1)
        throw StaleRow();
}

std::optional<std::vector<db::Value>> TableWriter::reread(const std::vector<QString>& columns, const db::Value& key) {
    QStringList cols;
    for (const QString& c : columns)
        cols << quoted(c);
    auto st = conn_.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                .arg(cols.join(QStringLiteral(", ")), quoted(table_), quoted(key_)));
    st->bindAll({key});
    if (!st->step())
        return std::nullopt;
    std::vector<db::Value> row;
    row.reserve(columns.size());
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        switch (st->kind(c)) {
        case db::CellKind::Null: row.emplace_back(); break;
        case db::CellKind::Integer: row.emplace_back(st->int64(c)); break;
        case db::CellKind::Real: row.emplace_back(st->real(c)); break;
        case db::CellKind::Text: {
            const auto t = st->utf8(c);
            row.emplace_back(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
            break;
        }
        }
    }
    return row;
}

} // namespace data
