#pragma once

#include "db/connection.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The database on a PostgreSQL server, made from the same description as the file.
namespace app::schema::server {

// The statements that create the tables, indexes, marks and region rows.
std::vector<QString> definition();

// Creates the tables in an empty database; refuses one that has any of them.
void create(db::Connection& conn);
void create(const QString& uri);

// Opens a database of this system on a server; throws DbError naming the
// server when it cannot be reached, refuses the login, or holds no tables of
// this system.
std::unique_ptr<db::Connection> open(const QString& uri);

// The version of the tables on the server; 0 when they are current. Throws when
// they are of another version, which no command brings up to date yet.
int upgrade(const QString& uri);

// Copies every row of a database file into an empty database on the server, in
// one transaction, keys kept, and the key counters set to go on after them.
// Returns each table's name with the rows the server holds after the copy.
std::vector<std::pair<QString, qint64>> copy(const QString& file, const QString& uri);

} // namespace app::schema::server
