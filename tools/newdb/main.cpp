// velmora-newdb PATH: creates an empty Velmora database file (never overwrites one).
// velmora-newdb --upgrade PATH: brings a file of an older version to the present one.
#include "app/schema.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool upgrade = argc == 3 && std::strcmp(argv[1], "--upgrade") == 0;
    if (argc != 2 && !upgrade) {
        std::fprintf(stderr, "usage: velmora-newdb PATH\n       velmora-newdb --upgrade PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    try {
        if (upgrade) {
            const int from = app::schema::upgradeDatabase(path);
            if (from == 0)
                std::printf("%s is up to date (version %d)\n", path.toUtf8().constData(), app::schema::kSchemaVersion);
            else
                std::printf("upgraded %s from version %d to %d\n", path.toUtf8().constData(), from,
                            app::schema::kSchemaVersion);
            return 0;
        }
        app::schema::createDatabase(path);
    } catch (const db::Error& e) {
        std::fprintf(stderr, "velmora-newdb: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    std::printf("created %s\n", path.toUtf8().constData());
    return 0;
}
