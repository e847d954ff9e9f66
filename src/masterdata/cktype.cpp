#include "masterdata/cktype.h"

#include "ui/datagrid.h"

#include <QPushButton>
#include <QVBoxLayout>

TcktypeFrm::TcktypeFrm(db::Connection& conn, QWidget* parent)
    : MaintenanceFrm(conn, QStringLiteral("TcktypeFrm"), QStringLiteral("货物类别"), parent) {
    list_.setObjectName(QStringLiteral("adsType"));
    list_.setSql(QStringLiteral("select * from cktype"));
    list_.setTable(QStringLiteral("cktype"), QStringLiteral("type_id"));

    dbgType = new ui::DataGrid(list_,
                               {{QStringLiteral("序号"), QStringLiteral("type_id"), true, {}, 60},
                                {QStringLiteral("型号名称"), QStringLiteral("type_name"), false, {}, 0}},
                               this);
    dbgType->setObjectName(QStringLiteral("dbgType"));
    dbgType->setAccessibleName(QStringLiteral("货物类别"));
    grid_ = dbgType;

    // Goods units and models refer to categories: they are not deleted here.
    btnDel->setEnabled(false);
    btnSave->setDefault(true);

    auto* top = new QVBoxLayout(this);
    top->addWidget(dbgType, 1);
    top->addLayout(buttonRow());
    resize(420, 380);
}
