#pragma once

#include "core/schema.h"
#include "db/connection.h"

#include <QString>

#include <memory>

namespace app::schema {

using core::schema::applicationId;
using core::schema::fileName;
using core::schema::kSchemaVersion;
using core::schema::regions;

// Each function takes a file path or a PostgreSQL connection URI
// ("postgresql://desk1@server/velmora"), which names a database on a server.

// Creates a new, empty database file with the eight tables, the region rows and
// the indexes. Throws DbError when the file exists already or cannot be written.
// On a server the database must exist and hold none of the tables.
void createDatabase(const QString& path);

// Brings a file of an older version of this system to the present one, in one
// transaction (keys are kept). Returns the version it had; 0 when it was current.
int upgradeDatabase(const QString& path);

// Opens an existing database file of this system (never creates one); throws
// DbError with a clear text when it is missing, no database, another one, or
// of an older version (naming the command that upgrades it).
std::unique_ptr<db::Connection> openDatabase(const QString& path);

} // namespace app::schema
