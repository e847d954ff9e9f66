#pragma once

#include "db/connection.h"

#include <QString>

#include <memory>

namespace db {

// True for a libpq connection URI ("postgresql://desk1@server/velmora",
// "postgres://..."); anything else names a database file.
bool isServerUri(const QString& text);

// Connects to a PostgreSQL database by a libpq connection URI; libpq's own
// conventions (~/.pgpass, PGSERVICE, sslmode, ...) apply. Throws DbError with
// one Chinese sentence that names the server when it cannot be reached or
// refuses the login.
std::unique_ptr<Connection> openPostgres(const QString& uri);

// The server and database a URI names, as messages show it ("server:5432/velmora").
QString serverName(const QString& uri);

} // namespace db
