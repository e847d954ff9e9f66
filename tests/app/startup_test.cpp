#include "app/startup.h"
#include "support/testdb.h"

#include <QFile>
#include <QIcon>

#include <gtest/gtest.h>

TEST(StartOptions, TheDatabaseComesFromTheArgumentThenTheEnvironmentThenTheFile) {
    struct Case {
        QStringList args;
        QString environment;
        QString database;
        bool error;
    } cases[] = {
        {{}, "", "ck.mdb", false},
        {{}, "postgresql://desk1@server/velmora", "postgresql://desk1@server/velmora", false},
        {{"--database", "postgres://s/v"}, "postgresql://other/x", "postgres://s/v", false},
        {{"--database=/srv/ck.mdb"}, "", "/srv/ck.mdb", false},
        {{"--database"}, "", "", true},
        {{"--colour"}, "", "", true},
    };
    for (const Case& c : cases) {
        const app::StartOptions o = app::parseStart(c.args, c.environment);
        EXPECT_EQ(!o.error.isEmpty(), c.error) << c.args.join(' ').toStdString();
        if (!c.error) {
            EXPECT_EQ(o.database, c.database);
        }
    }
    EXPECT_TRUE(app::helpText().contains("--database"));
    EXPECT_TRUE(app::helpText().contains("VELMORA_DATABASE"));
    EXPECT_TRUE(app::versionText().contains("postgresql://"));
}

TEST(StartOptions, TheIconAndPicturesAreInsideTheProgram) {
    // Compiled in: found wherever the program runs from, build folder or installed.
    EXPECT_FALSE(QIcon(":/assets/velmora.png").isNull());
    EXPECT_TRUE(QFile::exists(":/assets/main.jpg"));
    EXPECT_TRUE(QFile::exists(":/assets/login.png"));
}
