#include "data/criteria.h"

namespace data {

void Criteria::equals(const QString& column, const db::Value& value) { add(column + QStringLiteral(" = ?"), {value}); }

void Criteria::contains(const QString& column, const QString& text) {
    add(column + QStringLiteral(" like ? escape '\\'"), {containing(text)});
}

void Criteria::days(const QString& column, const QDate& from, const QDate& to) {
    // Stored times carry a time of day: the last day counts up to its midnight.
    if (from.isValid())
        add(column + QStringLiteral(" >= ?"), {db::Value(from)});
    if (to.isValid())
        add(column + QStringLiteral(" < ?"), {db::Value(to.addDays(1))});
}

void Criteria::add(const QString& condition, const db::Params& params) {
    conditions_ << QStringLiteral("(%1)").arg(condition);
    params_.insert(params_.end(), params.begin(), params.end());
}

QString Criteria::where() const {
    return conditions_.isEmpty() ? QString() : QStringLiteral(" where ") + conditions_.join(QStringLiteral(" and "));
}

QString Criteria::containing(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace data
