#pragma once

#include "db/connection.h"

#include <QString>

#include <memory>

namespace app::schema {

// Marks that tell this system's database file from any other file.
constexpr int kSchemaVersion = 1;
int applicationId();

// The name of the database file in the working directory.
inline QString fileName() { return QStringLiteral("ck.mdb"); }

// Creates a new, empty database file with the eight tables, the region rows and
// the indexes. Throws DbError when the file exists already or cannot be written.
void createDatabase(const QString& path);

// Opens an existing database file of this system (never creates one); throws
// DbError with a clear text when it is missing, no database, or another one.
std::unique_ptr<db::Connection> openDatabase(const QString& path);

// The regions that the dealer window offers and `area` holds from the start.
const QStringList& regions();

} // namespace app::schema
