#pragma once

#include <QString>
#include <QStringList>

namespace app {

// What the command line asks of the program at start-up.
struct StartOptions {
    QString database; // a file path or a PostgreSQL connection URI
    bool help = false;
    bool version = false;
    QString error; // an unknown option or a missing value, for the user
};

// Reads the arguments (without the program name): --database URI (or PATH),
// else the environment's VELMORA_DATABASE, else ck.mdb in the working directory.
StartOptions parseStart(const QStringList& arguments, const QString& environment);

// The texts --help and --version print.
QString helpText();
QString versionText();

} // namespace app
