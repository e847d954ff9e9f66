#include "app/dmCk.h"

#include "app/schema.h"
#include "ui/guard.h"

TdmCk* dmCk = nullptr;

TdmCk::TdmCk(const QString& path, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("dmCk"));
    adocnCk_ = db::closedConnection(QStringLiteral("数据+库连接失败！"));
    DataModuleCreate(path);
    dmCk = this;
}

TdmCk::~TdmCk() {
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
    if (!adocnCk_->isOpen())
        ui::prompter().message(QStringLiteral("数据+库连接失败！"));
}
