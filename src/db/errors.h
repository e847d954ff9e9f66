#pragma once

#include <QString>

#include <stdexcept>

namespace db {

// Base of every error the program reports to the user: what() is the text the
// user sees (UTF-8).
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    QString text() const { return text_; }

private:
    QString text_;
};

// Why the database refused something, as far as the user can act on it.
enum class DbErrorKind {
    Other,
    Width,        // a text too long for its column, a number out of its column's range
    Duplicate,    // a value that must be unique is taken
    Busy,         // another desk holds the write lock longer than we wait
    ReadOnly,     // the file or its folder cannot be written
    NotADatabase, // the file is no database or is damaged
    DiskFull,
};

// The database refused something. text() is a Chinese sentence for the
// screen; engineText() the engine's own words and statement() the statement
// it came from, both for the log only.
class DbError : public Error {
public:
    DbError(const QString& text, const QString& statement = {}, DbErrorKind kind = DbErrorKind::Other,
            const QString& engineText = {})
        : Error(text), statement_(statement), kind_(kind), engine_(engineText) {}
    QString statement() const { return statement_; }
    DbErrorKind kind() const { return kind_; }
    QString engineText() const { return engine_; }

private:
    QString statement_;
    DbErrorKind kind_;
    QString engine_;
};

// A typed text that is no number or date.
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace db
