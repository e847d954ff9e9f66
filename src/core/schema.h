#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The one description of the database file: its tables, their columns with
// widths and captions, the marks and the regions a new file holds.
namespace core::schema {

// Marks that tell this system's database file from any other file. Version 2
// gave the models a hidden key (hwxh.xh_id); version 3 widened the store sale
// number of a unit (hwgl.mcid) to the range of mcxs.mcid.
constexpr int kSchemaVersion = 3;
int applicationId();

// The name of the database file in the working directory.
inline QString fileName() { return QStringLiteral("ck.mdb"); }

enum class Kind {
    Key,     // integer key the database assigns
    Text,    // text of at most `width` characters, compared without letter case
    Short,   // integer of -32768..32767
    Integer, // 64-bit integer
    Date,    // date and time
};

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
const Table* table(const QString& name);

struct Index {
    const char* name;
    const char* table;
    const char* columns; // comma-separated
    bool unique;
};

// The indexes every file has: the searches and the checks of the windows use them.
const std::vector<Index>& indexes();

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
