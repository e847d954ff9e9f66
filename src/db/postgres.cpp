// The PostgreSQL engine behind db::Connection; the only file that includes libpq-fe.h.
#include "db/postgres.h"

#include "core/schema.h"
#include "db/dates.h"

#include <QRegularExpression>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <libpq-fe.h>
#include <string>
#include <unordered_map>

namespace db {

namespace {

struct ResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

struct ConnFree {
    void operator()(PGconn* c) const { PQfinish(c); }
};
using Handle = std::unique_ptr<PGconn, ConnFree>;

struct OptionsFree {
    void operator()(PQconninfoOption* o) const { PQconninfoFree(o); }
};

// Type numbers of the built-in types the program reads (pg_type.oid).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

CellKind kindOf(Oid t) {
    switch (t) {
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid: return CellKind::Integer;
    case kFloat4:
    case kFloat8:
    case kNumeric: return CellKind::Real;
    default: return CellKind::Text;
    }
}

FieldType fieldOf(Oid t) {
    switch (kindOf(t)) {
    case CellKind::Integer: return FieldType::Integer;
    case CellKind::Real: return FieldType::Real;
    default: break;
    }
    if (t == kDate || t == kTimestamp || t == kTimestampTz)
        return FieldType::DateTime;
    return FieldType::Text; // text, citext and the rest arrive as text
}

QString describeServer(const char* host, const char* port, const char* dbname) {
    QString h = host && *host ? QString::fromUtf8(host) : QStringLiteral("localhost");
    QString s = h;
    if (port && *port && std::strcmp(port, "5432") != 0)
        s += QLatin1Char(':') + QString::fromUtf8(port);
    if (dbname && *dbname)
        s += QLatin1Char('/') + QString::fromUtf8(dbname);
    return s;
}

QString captionOf(const QString& table, const QString& column) {
    if (const core::schema::Column* c = core::schema::column(table, column))
        return c->text();
    return column;
}

// The caption of the first column of a unique index or key, by its name.
QString uniqueCaption(const QString& constraint, const QString& table, const QString& detail) {
    for (const core::schema::Index& ix : core::schema::indexes()) {
        if (constraint == QLatin1String(ix.name))
            return captionOf(QString::fromLatin1(ix.table),
                             QString::fromLatin1(ix.columns).split(QLatin1Char(',')).first().trimmed());
    }
    // "Key (xh)=(X-1) already exists."
    static const QRegularExpression key(QStringLiteral("\\(([^,)]+)"));
    const auto m = key.match(detail);
    return m.hasMatch() ? captionOf(table, m.captured(1).trimmed().remove(QLatin1Char('"'))) : constraint;
}

bool lostConnection(PGconn* c) { return !c || PQstatus(c) != CONNECTION_OK; }

// The engine's failure as the user reads it, with the same sentences the file
// engine gives; the server's own words go to the log only.
DbError failure(PGconn* c, const PGresult* r, const QString& sql) {
    const auto field = [&](int code) {
        const char* v = r ? PQresultErrorField(r, code) : nullptr;
        return v ? QString::fromUtf8(v) : QString();
    };
    const QString engine =
        QString::fromUtf8(r && *PQresultErrorMessage(r) ? PQresultErrorMessage(r) : PQerrorMessage(c)).trimmed();
    const auto make = [&](const QString& text, DbErrorKind kind) { return DbError(text, sql, kind, engine); };
    const QString state = field(PG_DIAG_SQLSTATE);
    if (state == QLatin1String("23514"))
        return make(field(PG_DIAG_CONSTRAINT_NAME).remove(QLatin1Char(' ')), DbErrorKind::Width);
    if (state == QLatin1String("23505"))
        return make(QStringLiteral("%1不能重复")
                        .arg(uniqueCaption(field(PG_DIAG_CONSTRAINT_NAME), field(PG_DIAG_TABLE_NAME),
                                           field(PG_DIAG_MESSAGE_DETAIL))),
                    DbErrorKind::Duplicate);
    if (state == QLatin1String("23502"))
        return make(QStringLiteral("%1不能为空").arg(captionOf(field(PG_DIAG_TABLE_NAME), field(PG_DIAG_COLUMN_NAME))),
                    DbErrorKind::Other);
    if (state.startsWith(QLatin1String("23")))
        return make(QStringLiteral("数据库拒绝了这项修改"), DbErrorKind::Other);
    // A row lock held past the wait, a deadlock, a serialization conflict.
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001") ||
        state == QLatin1String("57014"))
        return make(QStringLiteral("数据库正忙：其他操作员正在写入，请稍后再试"), DbErrorKind::Busy);
    if (state == QLatin1String("25006") || state == QLatin1String("42501"))
        return make(QStringLiteral("数据库文件只读，不能保存修改"), DbErrorKind::ReadOnly);
    if (state == QLatin1String("53100"))
        return make(QStringLiteral("磁盘已满，不能保存修改"), DbErrorKind::DiskFull);
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) || lostConnection(c))
        return make(QStringLiteral("与数据库服务器 %1 的连接已断开").arg(describeServer(PQhost(c), PQport(c), PQdb(c))),
                    DbErrorKind::Other);
    return make(QStringLiteral("数据库操作失败（错误代码 %1）").arg(state.isEmpty() ? QStringLiteral("?") : state),
                DbErrorKind::Other);
}

// "?" marks as the server's numbered "$1", "$2", ..., outside quotes and comments.
QByteArray numbered(const QString& sql, int& count) {
    QString out;
    out.reserve(sql.size() + 16);
    count = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar ch = sql[i];
        if (ch == QLatin1Char('\'') || ch == QLatin1Char('"')) {
            const qsizetype end = sql.indexOf(ch, i + 1);
            const qsizetype stop = end < 0 ? sql.size() : end + 1;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (ch == QLatin1Char('-') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (ch == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++count);
        } else {
            out += ch;
        }
    }
    return out.toUtf8();
}

QString firstWord(const QString& sql) {
    static const QRegularExpression word(QStringLiteral("^\\s*\\(*\\s*([A-Za-z]+)"));
    return word.match(sql).captured(1).toLower();
}

// The key column of the table an INSERT names, when the server assigns it:
// the statement returns it, so the key is known without another round trip.
QString insertedKey(const QString& sql) {
    static const QRegularExpression insert(QStringLiteral("^\\s*insert\\s+into\\s+\"?([A-Za-z_]+)\"?"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = insert.match(sql);
    if (!m.hasMatch() || sql.contains(QLatin1String("returning"), Qt::CaseInsensitive))
        return {};
    if (const core::schema::Table* t = core::schema::table(m.captured(1))) {
        for (const core::schema::Column& c : t->columns)
            if (c.kind == core::schema::Kind::Key)
                return QString::fromLatin1(c.name);
    }
    return {};
}

// A statement the server holds prepared, with the description of its result.
struct Prepared {
    std::string name; // empty: run as plain text (transaction control, DDL)
    QByteArray text;
    int params = 0;
    bool returnsKey = false;
    std::vector<QString> names;
    std::vector<Oid> types;
    std::vector<FieldType> fields;
};

class PgStatement;

class PgConnection : public Connection {
public:
    explicit PgConnection(const QString& uri) {
        const QByteArray u = uri.toUtf8();
        const char* keys[] = {"dbname", "client_encoding", "fallback_application_name", nullptr};
        const char* values[] = {u.constData(), "UTF8", "velmora", nullptr};
        h_.reset(PQconnectdbParams(keys, values, 1));
        if (!h_)
            throw DbError(QStringLiteral("无法连接数据库服务器 %1").arg(serverName(uri)));
        server_ = describeServer(PQhost(h_.get()), PQport(h_.get()), PQdb(h_.get()));
        if (PQstatus(h_.get()) != CONNECTION_OK) {
            const QString engine = QString::fromUtf8(PQerrorMessage(h_.get())).trimmed();
            const bool login = PQconnectionNeedsPassword(h_.get()) ||
                               engine.contains(QLatin1String("authentication"), Qt::CaseInsensitive) ||
                               engine.contains(QLatin1String("pg_hba.conf")) ||
                               engine.contains(QLatin1String("role \""));
            const bool noDatabase =
                engine.contains(QLatin1String("database \"")) && engine.contains(QLatin1String("does not exist"));
            const QString text =
                login ? QStringLiteral("数据库服务器 %1 拒绝了登录，请检查用户名和密码").arg(server_)
                : noDatabase
                    ? QStringLiteral("数据库服务器 %1 上没有这个数据库").arg(server_)
                    : QStringLiteral("无法连接数据库服务器 %1，请检查服务器是否已启动、网络是否通畅").arg(server_);
            throw DbError(text, {}, DbErrorKind::Other, engine);
        }
        // The server's notices (an object that did not exist, ...) are no news for a desk.
        PQsetNoticeProcessor(
            h_.get(), [](void*, const char*) {}, nullptr);
        // A write waits for another desk's row lock as long as the file
        // engine waits for the file's lock; dates in the stored form.
        run("SET lock_timeout = '30s'; SET datestyle = 'ISO, YMD'; SET intervalstyle = 'iso_8601'");
        Result ro(PQexec(h_.get(), "SHOW transaction_read_only"));
        readOnly_ = PQresultStatus(ro.get()) == PGRES_TUPLES_OK && PQntuples(ro.get()) == 1 &&
                    std::strcmp(PQgetvalue(ro.get(), 0, 0), "on") == 0;
    }
    ~PgConnection() override;

    bool isOpen() const override { return PQstatus(h_.get()) == CONNECTION_OK; }
    QString fileName() const override { return server_; }
    std::unique_ptr<Statement> prepare(const QString& sql) override;
    qint64 lastInsertId() const override { return lastId_; }
    int changes() const override { return changes_; }

    void begin() override { run("BEGIN"); }
    void commit() override { run("COMMIT"); }
    void rollback() override {
        if (inTransaction())
            run("ROLLBACK");
    }
    bool inTransaction() const override {
        const PGTransactionStatusType s = PQtransactionStatus(h_.get());
        return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
    }
    bool isReadOnly() const override { return readOnly_; }
    QString sameValue(const QString& column, bool text) const override {
        // citext compares without letter case: the texts as texts compare exactly.
        return text ? column + QStringLiteral("::text IS NOT DISTINCT FROM ?::text")
                    : column + QStringLiteral(" IS NOT DISTINCT FROM ?");
    }
    void serialize(const QString& what) override {
        exec(QStringLiteral("select pg_advisory_xact_lock(hashtextextended(?, 0))"), {what});
    }

    // For the statements.
    PGconn* handle() const { return h_.get(); }
    // Another statement is about to talk to the server: the one still
    // receiving its rows takes the rest of them first.
    void settle();
    void setActive(PgStatement* s) { active_ = s; }
    void forget(PgStatement* s) {
        if (active_ == s)
            active_ = nullptr;
    }
    void setChanges(int n) { changes_ = n; }
    void setLastId(qint64 id) { lastId_ = id; }
    [[noreturn]] void fail(const PGresult* r, const QString& sql) { throw failure(h_.get(), r, sql); }

private:
    void run(const char* sql) {
        settle();
        Result r(PQexec(h_.get(), sql));
        const ExecStatusType s = PQresultStatus(r.get());
        if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK)
            fail(r.get(), QString::fromUtf8(sql));
    }
    std::shared_ptr<Prepared> describe(const QString& sql);

    Handle h_;
    QString server_;
    bool readOnly_ = false;
    int changes_ = 0;
    qint64 lastId_ = 0;
    PgStatement* active_ = nullptr;
    // Statements prepared on the server, by their text: a window that runs
    // the same statement again does not prepare it again.
    std::unordered_map<QString, std::shared_ptr<Prepared>> prepared_;
    int named_ = 0;
};

class PgStatement : public Statement {
public:
    PgStatement(PgConnection& conn, std::shared_ptr<Prepared> p, const QString& sql)
        : conn_(conn), p_(std::move(p)), sql_(sql), values_(p_->params), nulls_(p_->params, true) {}
    ~PgStatement() override {
        discard();
        conn_.forget(this);
    }

    void bind(int index, const Value& v) override {
        if (index < 1 || index > p_->params)
            throw DbError(QStringLiteral("数据库操作失败（参数 %1 超出范围）").arg(index), sql_);
        std::string& out = values_[index - 1];
        const bool null = v.isNull() || (v.ifDateTime() && !v.ifDateTime()->isValid());
        nulls_[index - 1] = null;
        if (null)
            out.clear();
        else if (auto i = v.ifInt())
            out = std::to_string(*i);
        else if (auto r = v.ifReal())
            out = QString::number(*r, 'g', 17).toStdString();
        else if (auto d = v.ifDateTime())
            out = dates::toStorage(*d).toStdString();
        else
            out = v.ifText()->toStdString();
    }

    bool step() override {
        switch (state_) {
        case State::Ready: return start();
        case State::Streaming: return receive();
        case State::Buffered: return nextBuffered();
        case State::Done: return false;
        }
        return false;
    }
    void reset() override {
        discard();
        conn_.forget(this);
        row_.reset();
        buffered_.clear();
        state_ = State::Ready;
        std::fill(nulls_.begin(), nulls_.end(), true);
    }

    int columnCount() const override { return static_cast<int>(p_->names.size()); }
    QString columnName(int col) const override { return p_->names[col]; }
    FieldType declaredType(int col) const override { return p_->fields[col]; }

    CellKind kind(int col) const override {
        if (PQgetisnull(row_.get(), 0, col))
            return CellKind::Null;
        return kindOf(p_->types[col]);
    }
    qint64 int64(int col) const override {
        const char* v = PQgetvalue(row_.get(), 0, col);
        qint64 n = 0;
        std::from_chars(v, v + PQgetlength(row_.get(), 0, col), n);
        return n;
    }
    double real(int col) const override { return std::strtod(PQgetvalue(row_.get(), 0, col), nullptr); }
    std::string_view utf8(int col) const override {
        return {PQgetvalue(row_.get(), 0, col), static_cast<size_t>(PQgetlength(row_.get(), 0, col))};
    }
    QString sql() const override { return sql_; }

    // Takes every remaining row off the connection, so it is free for another statement.
    void buffer() {
        conn_.forget(this);
        state_ = State::Buffered;
        while (Result r{PQgetResult(conn_.handle())}) {
            if (PQresultStatus(r.get()) == PGRES_SINGLE_TUPLE)
                buffered_.push_back(std::move(r));
            else if (PQresultStatus(r.get()) != PGRES_TUPLES_OK && !error_)
                error_ = std::move(r);
        }
    }

private:
    enum class State { Ready, Streaming, Buffered, Done };

    std::vector<const char*> values() const {
        std::vector<const char*> v(values_.size());
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = nulls_[i] ? nullptr : values_[i].c_str();
        return v;
    }

    bool start() {
        conn_.settle();
        PGconn* h = conn_.handle();
        if (p_->name.empty()) {
            state_ = State::Done;
            Result r(PQexec(h, p_->text.constData()));
            const ExecStatusType s = PQresultStatus(r.get());
            if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK)
                conn_.fail(r.get(), sql_);
            return false;
        }
        const auto v = values();
        if (p_->returnsKey || p_->names.empty()) {
            // Writes run in one round trip and report what they changed.
            state_ = State::Done;
            Result r(PQexecPrepared(h, p_->name.c_str(), p_->params, v.data(), nullptr, nullptr, 0));
            const ExecStatusType s = PQresultStatus(r.get());
            if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK)
                conn_.fail(r.get(), sql_);
            conn_.setChanges(std::atoi(PQcmdTuples(r.get())));
            if (p_->returnsKey && PQntuples(r.get()) > 0)
                conn_.setLastId(std::atoll(PQgetvalue(r.get(), PQntuples(r.get()) - 1, 0)));
            return false;
        }
        // Rows arrive one at a time, so a long list is never held twice.
        if (!PQsendQueryPrepared(h, p_->name.c_str(), p_->params, v.data(), nullptr, nullptr, 0))
            conn_.fail(nullptr, sql_);
        PQsetSingleRowMode(h);
        state_ = State::Streaming;
        conn_.setActive(this);
        return receive();
    }

    bool receive() {
        Result r(PQgetResult(conn_.handle()));
        if (r && PQresultStatus(r.get()) == PGRES_SINGLE_TUPLE) {
            row_ = std::move(r);
            return true;
        }
        row_.reset();
        if (r && PQresultStatus(r.get()) != PGRES_TUPLES_OK)
            error_ = std::move(r);
        discard();
        conn_.forget(this);
        state_ = State::Done;
        if (error_) {
            Result e = std::move(error_);
            conn_.fail(e.get(), sql_);
        }
        return false;
    }

    bool nextBuffered() {
        if (!buffered_.empty()) {
            row_ = std::move(buffered_.front());
            buffered_.pop_front();
            return true;
        }
        row_.reset();
        state_ = State::Done;
        if (error_) {
            Result e = std::move(error_);
            conn_.fail(e.get(), sql_);
        }
        return false;
    }

    // Reads off and drops what the server still sends for this statement.
    void discard() {
        if (state_ != State::Streaming)
            return;
        while (Result r{PQgetResult(conn_.handle())}) {
            if (PQresultStatus(r.get()) != PGRES_SINGLE_TUPLE && PQresultStatus(r.get()) != PGRES_TUPLES_OK && !error_)
                error_ = std::move(r);
        }
        state_ = State::Done;
    }

    PgConnection& conn_;
    std::shared_ptr<Prepared> p_;
    QString sql_;
    std::vector<std::string> values_;
    std::vector<bool> nulls_;
    State state_ = State::Ready;
    Result row_;
    std::deque<Result> buffered_;
    Result error_;
};

PgConnection::~PgConnection() {
    if (active_)
        active_->buffer();
}

void PgConnection::settle() {
    if (active_)
        active_->buffer(); // clears active_
}

std::shared_ptr<Prepared> PgConnection::describe(const QString& sql) {
    if (auto it = prepared_.find(sql); it != prepared_.end())
        return it->second;
    settle();
    auto p = std::make_shared<Prepared>();
    p->text = numbered(sql, p->params);
    static const QStringList planned = {QStringLiteral("select"), QStringLiteral("with"),   QStringLiteral("insert"),
                                        QStringLiteral("update"), QStringLiteral("delete"), QStringLiteral("values"),
                                        QStringLiteral("explain")};
    if (!planned.contains(firstWord(sql))) {
        if (p->params > 0)
            throw DbError(QStringLiteral("数据库操作失败（语句不能带参数）"), sql);
        return p; // transaction control and table definitions run as they are
    }
    if (const QString key = insertedKey(sql); !key.isEmpty()) {
        p->text += " RETURNING \"" + key.toUtf8() + '"';
        p->returnsKey = true;
    }
    // Statements no longer used are let go when many piled up (built criteria).
    if (prepared_.size() >= 256) {
        for (auto it = prepared_.begin(); it != prepared_.end();) {
            if (it->second.use_count() == 1) {
                Result(PQexec(h_.get(), ("DEALLOCATE " + it->second->name).c_str()));
                it = prepared_.erase(it);
            } else {
                ++it;
            }
        }
    }
    p->name = "v" + std::to_string(++named_);
    Result made(PQprepare(h_.get(), p->name.c_str(), p->text.constData(), p->params, nullptr));
    if (PQresultStatus(made.get()) != PGRES_COMMAND_OK)
        fail(made.get(), sql);
    Result d(PQdescribePrepared(h_.get(), p->name.c_str()));
    if (PQresultStatus(d.get()) != PGRES_COMMAND_OK)
        fail(d.get(), sql);
    if (!p->returnsKey) {
        const int n = PQnfields(d.get());
        for (int i = 0; i < n; ++i) {
            p->names.push_back(QString::fromUtf8(PQfname(d.get(), i)));
            p->types.push_back(PQftype(d.get(), i));
            p->fields.push_back(fieldOf(PQftype(d.get(), i)));
        }
    }
    prepared_.emplace(sql, p);
    return p;
}

std::unique_ptr<Statement> PgConnection::prepare(const QString& sql) {
    return std::make_unique<PgStatement>(*this, describe(sql), sql);
}

} // namespace

bool isServerUri(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::unique_ptr<Connection> openPostgres(const QString& uri) { return std::make_unique<PgConnection>(uri); }

QString serverName(const QString& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, OptionsFree> opts(PQconninfoParse(uri.toUtf8().constData(), &error));
    PQfreemem(error);
    if (!opts)
        return uri;
    const char* host = nullptr;
    const char* port = nullptr;
    const char* dbname = nullptr;
    for (PQconninfoOption* o = opts.get(); o->keyword; ++o) {
        if (!o->val)
            continue;
        if (std::strcmp(o->keyword, "host") == 0)
            host = o->val;
        else if (std::strcmp(o->keyword, "port") == 0)
            port = o->val;
        else if (std::strcmp(o->keyword, "dbname") == 0)
            dbname = o->val;
    }
    return describeServer(host, port, dbname);
}

} // namespace db
