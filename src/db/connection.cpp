#include "db/connection.h"

#include "db/dates.h"

namespace db {

void Statement::bindAll(const Params& params) {
    for (int i = 0; i < static_cast<int>(params.size()); ++i)
        bind(i + 1, params[i]);
}

Value Statement::value(int col) const {
    switch (kind(col)) {
    case CellKind::Null: return {};
    case CellKind::Integer: return int64(col);
    case CellKind::Real: return real(col);
    case CellKind::Text: {
        const auto t = utf8(col);
        const QString s = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        if (declaredType(col) == FieldType::DateTime) {
            if (auto d = dates::fromStorage(s))
                return *d;
        }
        return s;
    }
    }
    return {};
}

int Connection::exec(const QString& sql, const Params& params) {
    auto st = prepare(sql);
    st->bindAll(params);
    while (st->step()) {
    }
    return changes();
}

Value Connection::scalar(const QString& sql, const Params& params) {
    auto st = prepare(sql);
    st->bindAll(params);
    if (!st->step())
        return {};
    return st->value(0);
}

namespace {
class ClosedConnection : public Connection {
public:
    explicit ClosedConnection(QString reason) : reason_(std::move(reason)) {}
    bool isOpen() const override { return false; }
    QString fileName() const override { return {}; }
    std::unique_ptr<Statement> prepare(const QString& sql) override { throw DbError(reason_, sql); }
    qint64 lastInsertId() const override { return 0; }
    int changes() const override { return 0; }
    void begin() override { throw DbError(reason_); }
    void commit() override { throw DbError(reason_); }
    void rollback() override {}
    bool inTransaction() const override { return false; }
    bool isReadOnly() const override { return true; }
    QString sameValue(const QString& column, bool) const override { return column + QStringLiteral(" IS ?"); }
    void serialize(const QString&) override { throw DbError(reason_); }

private:
    QString reason_;
};
} // namespace

std::unique_ptr<Connection> closedConnection(const QString& reason) {
    return std::make_unique<ClosedConnection>(reason);
}

} // namespace db
