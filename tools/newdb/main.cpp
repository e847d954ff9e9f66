// velmora-newdb PATH: creates an empty Velmora database file (never overwrites one).
#include "app/schema.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-newdb PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        app::schema::createDatabase(path);
    } catch (const db::Error& e) {
        std::fprintf(stderr, "velmora-newdb: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    std::printf("created %s\n", path.toUtf8().constData());
    return 0;
}
