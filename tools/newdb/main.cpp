// velmora-newdb PATH|URI: creates an empty Velmora database: a new file (never
// overwrites one), or the tables in an empty database on a PostgreSQL server.
// velmora-newdb --upgrade PATH|URI: brings a database of an older version to the present one.
// velmora-newdb --copy PATH URI: copies a database file into an empty database on a server.
#include "app/schema.h"
#include "app/schema_pg.h"
#include "db/postgres.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fprintf(stderr, "usage: velmora-newdb PATH|URI\n"
                         "       velmora-newdb --upgrade PATH|URI\n"
                         "       velmora-newdb --copy PATH URI\n"
                         "PATH names a database file, URI a database on a PostgreSQL server\n"
                         "(postgresql://user@server/database).\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool upgrade = argc == 3 && std::strcmp(argv[1], "--upgrade") == 0;
    const bool copy = argc == 4 && std::strcmp(argv[1], "--copy") == 0;
    if (argc != 2 && !upgrade && !copy)
        return usage();
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    const QByteArray shown = path.toUtf8();
    try {
        if (copy) {
            if (!db::isServerUri(path))
                return usage();
            const QString file = QString::fromLocal8Bit(argv[2]);
            for (const auto& [table, rows] : app::schema::server::copy(file, path))
                std::printf("%-10s %lld\n", table.toUtf8().constData(), static_cast<long long>(rows));
            std::printf("copied %s to %s\n", file.toUtf8().constData(), db::serverName(path).toUtf8().constData());
            return 0;
        }
        if (upgrade) {
            const int from = app::schema::upgradeDatabase(path);
            if (from == 0)
                std::printf("%s is up to date (version %d)\n", shown.constData(), app::schema::kSchemaVersion);
            else
                std::printf("upgraded %s from version %d to %d\n", shown.constData(), from,
                            app::schema::kSchemaVersion);
            return 0;
        }
        app::schema::createDatabase(path);
    } catch (const db::Error& e) {
        std::fprintf(stderr, "velmora-newdb: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    std::printf("created %s\n", db::isServerUri(path) ? db::serverName(path).toUtf8().constData() : shown.constData());
    return 0;
}
