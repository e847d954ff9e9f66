// Velmora: start-up. Title, data module (the one connection), main window, loop.
#include "app/dmCk.h"
#include "app/mainFrm.h"
#include "app/openers.h"
#include "app/startup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

int main(int argc, char** argv) {
    // Help and version need no screen: answered before the application starts.
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("--version") ||
            a == QLatin1String("-v")) {
            const bool help = a == QLatin1String("--help") || a == QLatin1String("-h");
            std::fputs((help ? app::helpText() : app::versionText()).toUtf8().constData(), stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // No display name: Qt would add it to every caption ("登录 — Velmora").
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("velmora"), QIcon(QStringLiteral(":/assets/velmora.png"))));

    // Qt's own buttons and dialogs in Chinese, like the rest of the screens.
    QTranslator qtText;
    if (qtText.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtText);

    const app::StartOptions start =
        app::parseStart(QApplication::arguments().mid(1), qEnvironmentVariable("VELMORA_DATABASE"));
    if (!start.error.isEmpty()) {
        std::fputs((start.error + QStringLiteral("\n\n") + app::helpText()).toUtf8().constData(), stderr);
        return 2;
    }

    TdmCk data(start.database);
    TmainFrm mainFrm(data.adocnCk(), app::windowOpeners(data.adocnCk()));
    mainFrm.show();
    return app.exec();
}
