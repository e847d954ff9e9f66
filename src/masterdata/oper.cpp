#include "masterdata/oper.h"

#include "ui/datagrid.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The right columns in the order the list shows them, with their headers.
struct Right {
    const char* field;
    const char* header;
};
constexpr Right kRights[] = {
    {"rk", "入库"},       {"jxsck", "经销销售"}, {"mcxs", "卖场销售"}, {"jxcx", "经销查询"}, {"mccx", "卖场查询"},
    {"jhdw", "进货单位"}, {"jxszl", "经销卖场"}, {"cplb", "产品类别"}, {"cpxh", "产品型号"}, {"czy", "操作员"},
};

} // namespace

TOperFrm::TOperFrm(db::Connection& conn, QWidget* parent)
    : MaintenanceFrm(conn, QStringLiteral("TOperFrm"), QStringLiteral("操作员资料"), parent) {
    list_.setObjectName(QStringLiteral("adsOper"));
    list_.setSql(QStringLiteral("select * from operator"));
    list_.setTable(QStringLiteral("operator"), QStringLiteral("op_id"));
    list_.afterInsert = [this](data::DataSet&) { adsOperAfterInsert(); };

    const QStringList yesNo = {QStringLiteral("有"), QStringLiteral("无")};
    std::vector<ui::Column> columns = {{QStringLiteral("姓名"), QStringLiteral("op_name"), false, {}, 80},
                                       {QStringLiteral("操作代码"), QStringLiteral("op_code"), false, {}, 80}};
    for (const Right& r : kRights)
        columns.push_back({QString::fromUtf8(r.header), QString::fromLatin1(r.field), false, yesNo, 74});

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
    for (const Right& r : kRights) {
        const QString field = QString::fromLatin1(r.field);
        list_.setValue(field, field == QLatin1String("rk") ? empty : QStringLiteral("无"));
    }
}
