#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace db::dates {

// The form in which dates are stored in the file: sortable and comparable as text.
QString toStorage(const QDateTime& dt);
std::optional<QDateTime> fromStorage(const QString& text);

// The user's short date format (system locale), with a four-digit year so that
// typed dates are never ambiguous.
QString shortDateFormat();
// Date text as the screens show it: the short date, plus the time of day only
// when it is not midnight.
QString toDisplay(const QDateTime& dt);
QString toDisplay(const QDate& d);
// Parses a typed date (short format, also with a time of day); throws
// ConversionError with a clear text when it is no date.
QDateTime parseTyped(const QString& text);

} // namespace db::dates
