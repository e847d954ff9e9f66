#include "masterdata/oper.h"

#include "core/codes.h"
#include "core/commands.h"
#include "ui/datagrid.h"

#include <QPushButton>
#include <QVBoxLayout>

TOperFrm::TOperFrm(db::Connection& conn, QWidget* parent)
    : MaintenanceFrm(conn, QStringLiteral("TOperFrm"), QStringLiteral("操作员资料"), parent) {
    list_.setObjectName(QStringLiteral("adsOper"));
    list_.setSql(QStringLiteral("select * from operator"));
    list_.setTable(QStringLiteral("operator"), QStringLiteral("op_id"));
    list_.afterInsert = [this](data::DataSet&) { adsOperAfterInsert(); };

    const QStringList yesNo = {core::codes::kGranted, core::codes::kRefused};
    std::vector<ui::Column> columns = {{QStringLiteral("姓名"), QStringLiteral("op_name"), false, {}, 80},
                                       {QStringLiteral("操作代码"), QStringLiteral("op_code"), false, {}, 80}};
    for (const core::Command& c : core::commands())
        columns.push_back({c.text(), c.field(), false, yesNo, 74});

    dbgOper = new ui::DataGrid(list_, std::move(columns), this);
    dbgOper->setObjectName(QStringLiteral("dbgOper"));
    dbgOper->setAccessibleName(QStringLiteral("操作员资料"));
    grid_ = dbgOper;

    auto* top = new QVBoxLayout(this);
    top->addWidget(dbgOper, 1);
    top->addLayout(buttonRow());
    resize(1000, 380);
}

void TOperFrm::adsOperAfterInsert() {
    // Presets count as values, so a new operator is stored even if nothing is typed.
    // An empty password is what login takes as "no password"; an empty rk
    // refuses stock-in as "无" does.
    const QString empty = QStringLiteral("");
    list_.setValue(QStringLiteral("op_name"), empty);
    list_.setValue(QStringLiteral("op_code"), empty);
    list_.setValue(QStringLiteral("password"), empty);
    for (const core::Command& c : core::commands()) {
        const QString field = c.field();
        list_.setValue(field, field == QLatin1String("rk") ? empty : core::codes::kRefused);
    }
}
