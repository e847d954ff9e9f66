// The SQLite engine behind db::Connection; the only file that includes sqlite3.h.
#include "core/schema.h"
#include "db/connection.h"
#include "db/dates.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <functional>
#include <sqlite3.h>

namespace db {

namespace {

QString errText(sqlite3* h) { return QString::fromUtf8(sqlite3_errmsg(h)); }

// The caption of a column named "table.column" by the engine, or the name itself.
QString captionOf(const QString& qualified) {
    const QStringList parts = qualified.trimmed().split(QLatin1Char('.'));
    if (parts.size() == 2) {
        if (const core::schema::Column* c = core::schema::column(parts[0], parts[1]))
            return c->text();
    }
    return qualified.trimmed();
}

// The engine's failure as the user reads it: a Chinese sentence that names
// the field where there is one; the engine's text goes to the log only.
DbError failure(sqlite3* h, int rc, const QString& sql) {
    const QString engine = h ? errText(h) : QStringLiteral("out of memory");
    const auto make = [&](const QString& text, DbErrorKind kind) { return DbError(text, sql, kind, engine); };
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT: {
        const int colon = engine.indexOf(QLatin1Char(':'));
        const QString what = colon >= 0 ? engine.mid(colon + 1).trimmed() : QString();
        if (engine.startsWith(QLatin1String("CHECK constraint failed")))
            return make(QString(what).remove(QLatin1Char(' ')), DbErrorKind::Width); // the constraint's own name
        if (engine.startsWith(QLatin1String("UNIQUE constraint failed")) ||
            engine.startsWith(QLatin1String("PRIMARY KEY")))
            return make(QStringLiteral("%1不能重复").arg(captionOf(what.split(QLatin1Char(',')).first())),
                        DbErrorKind::Duplicate);
        if (engine.startsWith(QLatin1String("NOT NULL constraint failed")))
            return make(QStringLiteral("%1不能为空").arg(captionOf(what)), DbErrorKind::Other);
        return make(QStringLiteral("数据库拒绝了这项修改"), DbErrorKind::Other);
    }
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return make(QStringLiteral("数据库正忙：其他操作员正在写入，请稍后再试"), DbErrorKind::Busy);
    case SQLITE_READONLY:
    case SQLITE_PERM: return make(QStringLiteral("数据库文件只读，不能保存修改"), DbErrorKind::ReadOnly);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: {
        const char* file = h ? sqlite3_db_filename(h, "main") : nullptr;
        const QString name = file && *file ? QFileInfo(QString::fromUtf8(file)).fileName() : QStringLiteral("ck.mdb");
        return make(QStringLiteral("%1 不是有效的数据库文件或已损坏").arg(name), DbErrorKind::NotADatabase);
    }
    case SQLITE_FULL: return make(QStringLiteral("磁盘已满，不能保存修改"), DbErrorKind::DiskFull);
    case SQLITE_CANTOPEN: return make(QStringLiteral("无法打开数据库文件"), DbErrorKind::Other);
    case SQLITE_IOERR: return make(QStringLiteral("读写数据库文件时出错"), DbErrorKind::Other);
    default: return make(QStringLiteral("数据库操作失败（错误代码 %1）").arg(rc), DbErrorKind::Other);
    }
}

// How long a write waits for another desk's write lock before it gives up.
int& busyWaitMs() {
    static int ms = 30000;
    return ms;
}

std::function<void(bool)>& busyHook() {
    static std::function<void(bool)> hook;
    return hook;
}

// Waits for the lock in short sleeps, telling the hook once that a wait began.
int onBusy(void* waiting, int attempt) {
    auto* flag = static_cast<bool*>(waiting);
    if (attempt == 0 && !*flag) {
        *flag = true;
        if (busyHook())
            busyHook()(true);
    }
    const int slept = attempt < 10 ? attempt * 5 : 45 + (attempt - 10) * 50;
    if (slept >= busyWaitMs())
        return 0;
    sqlite3_sleep(attempt < 10 ? 5 : 50);
    return 1;
}

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
    SqliteStatement(sqlite3* h, bool& waiting, const QString& sql) : h_(h), waiting_(waiting), sql_(sql) {
        const QByteArray text = sql.toUtf8();
        const int prepared = sqlite3_prepare_v2(h, text.constData(), static_cast<int>(text.size()), &st_, nullptr);
        endWait(); // reading the schema may have waited for the lock too
        if (prepared != SQLITE_OK) {
            const int rc = sqlite3_errcode(h);
            DbError e = failure(h, rc, sql);
            sqlite3_finalize(st_);
            throw e;
        }
        const int n = sqlite3_column_count(st_);
        decl_.reserve(n);
        for (int i = 0; i < n; ++i)
            decl_.push_back(mapDecl(sqlite3_column_decltype(st_, i)));
    }
    ~SqliteStatement() override { sqlite3_finalize(st_); }

    void bind(int index, const Value& v) override {
        int rc = SQLITE_OK;
        // A date that is no date is stored as no value, never as an empty text.
        if (v.isNull() || (v.ifDateTime() && !v.ifDateTime()->isValid())) {
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
            throw failure(h_, rc, sql_);
    }

    bool step() override {
        const int rc = sqlite3_step(st_);
        endWait();
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        DbError e = failure(h_, rc, sql_);
        sqlite3_reset(st_);
        throw e;
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
    void endWait() {
        if (waiting_) {
            waiting_ = false;
            if (busyHook())
                busyHook()(false);
        }
    }

    sqlite3* h_;
    bool& waiting_;
    sqlite3_stmt* st_ = nullptr;
    QString sql_;
    std::vector<FieldType> decl_;
};

class SqliteConnection : public Connection {
public:
    SqliteConnection(const QString& path, bool create) : path_(path) {
        // A "file:" URI may ask for a read-only open ("?mode=ro").
        const bool uri = path.startsWith(QLatin1String("file:"));
        const QString file = uri ? QUrl(path).toLocalFile() : path;
        if (!create && !QFile::exists(file))
            throw DbError(QStringLiteral("数据库文件 %1 不存在").arg(file));
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(path.toUtf8().constData(), &h_, flags, nullptr) != SQLITE_OK) {
            const QString engine = h_ ? errText(h_) : QStringLiteral("out of memory");
            sqlite3_close(h_);
            h_ = nullptr;
            throw DbError(QStringLiteral("无法打开数据库文件 %1").arg(path), {}, DbErrorKind::Other, engine);
        }
        sqlite3_extended_result_codes(h_, 0);
        // A second desk on the same file waits for the write lock instead of failing.
        sqlite3_busy_handler(h_, onBusy, &waiting_);
    }
    ~SqliteConnection() override { sqlite3_close_v2(h_); }

    bool isOpen() const override { return h_ != nullptr; }
    QString fileName() const override { return path_; }
    std::unique_ptr<Statement> prepare(const QString& sql) override {
        return std::make_unique<SqliteStatement>(h_, waiting_, sql);
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
    bool inTransaction() const override { return !sqlite3_get_autocommit(h_); }
    bool isReadOnly() const override { return sqlite3_db_readonly(h_, "main") == 1; }
    QString sameValue(const QString& column, bool text) const override {
        return column + (text ? QStringLiteral(" IS ? COLLATE BINARY") : QStringLiteral(" IS ?"));
    }
    // Every write transaction holds the file's one write lock from its start.
    void serialize(const QString&) override {}

private:
    sqlite3* h_ = nullptr;
    QString path_;
    bool waiting_ = false;
};

} // namespace

std::unique_ptr<Connection> openSqlite(const QString& path, bool create) {
    return std::make_unique<SqliteConnection>(path, create);
}

void setBusyHook(std::function<void(bool waiting)> hook) { busyHook() = std::move(hook); }
void setBusyWaitLimit(int milliseconds) { busyWaitMs() = milliseconds; }

} // namespace db
