#pragma once

#include "db/connection.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace data {

// Whole days from..to, as two date pickers choose them.
struct DayRange {
    QDate from;
    QDate to;
};

// The conditions of a search window, built from what the user typed: every
// value is a bound parameter, never text pasted into the statement. Empty
// criteria add nothing, so an empty form lists everything.
class Criteria {
public:
    // column = value
    void equals(const QString& column, const db::Value& value);
    // The column contains the text anywhere; % and _ in it are plain characters.
    void contains(const QString& column, const QString& text);
    // The column falls on one of the days from..to, both whole days. An invalid
    // date leaves that end open.
    void days(const QString& column, const QDate& from, const QDate& to);
    void days(const QString& column, const DayRange& range) { days(column, range.from, range.to); }
    // A condition of its own, with one "?" per parameter.
    void add(const QString& condition, const db::Params& params = {});

    bool isEmpty() const { return conditions_.isEmpty(); }
    // " where a and b", or empty.
    QString where() const;
    const db::Params& params() const { return params_; }

    // The like pattern for "contains text", escaped with '\'.
    static QString containing(const QString& text);

private:
    QStringList conditions_;
    db::Params params_;
};

} // namespace data
