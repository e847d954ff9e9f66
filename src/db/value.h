#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>

namespace db {

// What a column holds as far as the program cares; dates are their own kind so
// that lists show and compare them as dates, whatever the engine stores.
enum class FieldType { Unknown, Integer, Real, Text, DateTime };

// One value read from or bound to a statement.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<qint64>(v)) {}
    Value(qint64 v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(const QString& v) : v_(v) {}
    Value(const char* utf8) : v_(QString::fromUtf8(utf8)) {}
    Value(const QDateTime& v) : v_(v) {}
    Value(const QDate& v) : v_(QDateTime(v, QTime(0, 0))) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    FieldType type() const;

    // Text form as a list shows it: numbers in decimal, dates in the short date
    // format (with the time of day only when it is not midnight), null as "".
    QString toString() const;
    // Throws ConversionError for text that is no whole number; null gives 0.
    qint64 toInt() const;
    double toReal() const;
    QDateTime toDateTime() const;

    const qint64* ifInt() const { return std::get_if<qint64>(&v_); }
    const double* ifReal() const { return std::get_if<double>(&v_); }
    const QString* ifText() const { return std::get_if<QString>(&v_); }
    const QDateTime* ifDateTime() const { return std::get_if<QDateTime>(&v_); }

    friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

private:
    std::variant<std::monostate, qint64, double, QString, QDateTime> v_;
};

// Text as it is stored: an empty entry is no value (null), as the columns a
// window leaves unfilled are; a date column holds a date or null alike.
inline Value textOrNull(const QString& text) { return text.isEmpty() ? Value() : Value(text); }

} // namespace db
