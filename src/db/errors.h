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

// The database refused something; text() is the database's own text, and
// statement() the statement it came from (for the log).
class DbError : public Error {
public:
    DbError(const QString& text, const QString& statement = {}) : Error(text), statement_(statement) {}
    QString statement() const { return statement_; }

private:
    QString statement_;
};

// A typed text that is no number or date.
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace db
