// The SQLite engine behind db::Connection; the only file that includes sqlite3.h.
#include "db/connection.h"
#include "db/dates.h"

#include <QFile>

#include <sqlite3.h>

namespace db {

namespace {

QString errText(sqlite3* h) { return QString::fromUtf8(sqlite3_errmsg(h)); }

FieldType mapDecl(const char* decl) {
    if (!decl)
        return FieldType::Unknown;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("DATE") || d.contains("TIME"))
        return FieldType::DateTime;
    if (d.contains("INT"))
        return FieldType::Integer;
    if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB"))
        return FieldType::Text;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB"))
        return FieldType::Real;
    return FieldType::Unknown;
}

class SqliteStatement : public Statement {
public:
    SqliteStatement(sqlite3* h, const QString& sql) : h_(h), sql_(sql) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(h, text.constData(), static_cast<int>(text.size()), &st_, nullptr) != SQLITE_OK) {
            const QString msg = errText(h);
            sqlite3_finalize(st_);
            throw DbError(msg, sql);
        }
        const int n = sqlite3_column_count(st_);
        decl_.reserve(n);
        for (int i = 0; i < n; ++i)
            decl_.push_back(mapDecl(sqlite3_column_decltype(st_, i)));
    }
    ~SqliteStatement() override { sqlite3_finalize(st_); }

    void bind(int index, const Value& v) override {
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(st_, index);
        } else if (auto i = v.ifInt()) {
            rc = sqlite3_bind_int64(st_, index, *i);
        } else if (auto r = v.ifReal()) {
            rc = sqlite3_bind_double(st_, index, *r);
        } else {
            const QByteArray t = v.ifDateTime() ? dates::toStorage(*v.ifDateTime()).toUtf8() : v.ifText()->toUtf8();
            rc = sqlite3_bind_text(st_, index, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            throw DbError(errText(h_), sql_);
    }

    bool step() override {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        const QString msg = errText(h_);
        sqlite3_reset(st_);
        throw DbError(msg, sql_);
    }
    void reset() override {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
    }

    int columnCount() const override { return static_cast<int>(decl_.size()); }
    QString columnName(int col) const override { return QString::fromUtf8(sqlite3_column_name(st_, col)); }
    FieldType declaredType(int col) const override { return decl_[col]; }

    CellKind kind(int col) const override {
        switch (sqlite3_column_type(st_, col)) {
        case SQLITE_INTEGER: return CellKind::Integer;
        case SQLITE_FLOAT: return CellKind::Real;
        case SQLITE_NULL: return CellKind::Null;
        default: return CellKind::Text;
        }
    }
    qint64 int64(int col) const override { return sqlite3_column_int64(st_, col); }
    double real(int col) const override { return sqlite3_column_double(st_, col); }
    std::string_view utf8(int col) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
        return {p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st_, col))};
    }
    QString sql() const override { return sql_; }

private:
    sqlite3* h_;
    sqlite3_stmt* st_ = nullptr;
    QString sql_;
    std::vector<FieldType> decl_;
};

class SqliteConnection : public Connection {
public:
    SqliteConnection(const QString& path, bool create) : path_(path) {
        if (!create && !QFile::exists(path))
            throw DbError(QStringLiteral("数据库文件 %1 不存在").arg(path));
        const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(path.toUtf8().constData(), &h_, flags, nullptr) != SQLITE_OK) {
            const QString msg = h_ ? errText(h_) : QStringLiteral("out of memory");
            sqlite3_close(h_);
            h_ = nullptr;
            throw DbError(QStringLiteral("无法打开数据库文件 %1: %2").arg(path, msg));
        }
        sqlite3_extended_result_codes(h_, 0);
        // A second program instance on the same file waits briefly instead of failing.
        sqlite3_busy_timeout(h_, 5000);
    }
    ~SqliteConnection() override { sqlite3_close_v2(h_); }

    bool isOpen() const override { return h_ != nullptr; }
    QString fileName() const override { return path_; }
    std::unique_ptr<Statement> prepare(const QString& sql) override {
        return std::make_unique<SqliteStatement>(h_, sql);
    }
    qint64 lastInsertId() const override { return sqlite3_last_insert_rowid(h_); }
    int changes() const override { return sqlite3_changes(h_); }
    // IMMEDIATE: a writer takes the write lock up front, so two instances queue
    // (busy timeout) instead of failing half-way.
    void begin() override { exec(QStringLiteral("BEGIN IMMEDIATE")); }
    void commit() override { exec(QStringLiteral("COMMIT")); }
    void rollback() override {
        if (!sqlite3_get_autocommit(h_))
            exec(QStringLiteral("ROLLBACK"));
    }

private:
    sqlite3* h_ = nullptr;
    QString path_;
};

} // namespace

std::unique_ptr<Connection> openSqlite(const QString& path, bool create) {
    return std::make_unique<SqliteConnection>(path, create);
}

} // namespace db
