#include "app/dmCk.h"

#include "app/schema.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QCursor>
#include <QGuiApplication>

TdmCk* dmCk = nullptr;

TdmCk::TdmCk(const QString& path, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("dmCk"));
    // A write that waits for another desk's lock shows the wait cursor meanwhile.
    db::setBusyHook([](bool waiting) {
        if (waiting)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    });
    adocnCk_ = db::closedConnection(QStringLiteral("数据+库连接失败！"));
    DataModuleCreate(path);
    dmCk = this;
}

TdmCk::~TdmCk() {
    db::setBusyHook({});
    if (dmCk == this)
        dmCk = nullptr;
}

void TdmCk::DataModuleCreate(const QString& path) {
    try {
        adocnCk_ = app::schema::openDatabase(path);
    } catch (const db::Error& e) {
        // Every later statement fails with the same text, so each window reports it.
        adocnCk_ = db::closedConnection(e.text());
        ui::reportError(e);
        return;
    }
    if (!adocnCk_->isOpen()) {
        ui::prompter().message(QStringLiteral("数据+库连接失败！"));
        return;
    }
    // Said once, before the first save would fail.
    if (adocnCk_->isReadOnly())
        ui::prompter().message(QStringLiteral("数据库文件只读，只能查看，不能保存修改"));
}
