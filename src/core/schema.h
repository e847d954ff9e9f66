#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The one description of the database file: its tables, their columns with
// widths and captions, the marks and the regions a new file holds.
namespace core::schema {

// Marks that tell this system's database file from any other file.
constexpr int kSchemaVersion = 1;
int applicationId();

// The name of the database file in the working directory.
inline QString fileName() { return QStringLiteral("ck.mdb"); }

enum class Kind { Key, Text, Short, Date };

struct Column {
    const char* name;
    Kind kind;
    int width;           // characters, for Text
    const char* caption; // named in the error when a value does not fit
    QString text() const { return QString::fromUtf8(caption); }
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

const std::vector<Table>& tables();

// The column of a table, or nullptr when there is none of that name.
const Column* column(const QString& table, const QString& name);

// The width of a text column in characters; 0 for a column that is no text.
int width(const QString& table, const QString& name);

// The refusal for a text too long for its column ("条形码最多35个字符！"), or
// an empty text when the value fits; a null character is refused as well
// ("条形码不能包含空字符！"). Widths count code points.
QString refusal(const QString& table, const QString& column, const QString& value);

// The regions that the dealer window offers and `area` holds from the start.
const QStringList& regions();

} // namespace core::schema
