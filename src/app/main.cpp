// Velmora: start-up. Title, data module (the one connection), main window, loop.
#include "app/dmCk.h"
#include "app/mainFrm.h"
#include "app/openers.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // No display name: Qt would add it to every caption ("登录 — Velmora").
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    // Qt's own buttons and dialogs in Chinese, like the rest of the screens.
    QTranslator qtText;
    if (qtText.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtText);

    TdmCk data(QStringLiteral("ck.mdb"));
    TmainFrm mainFrm(data.adocnCk(), app::windowOpeners(data.adocnCk()));
    mainFrm.show();
    return app.exec();
}
