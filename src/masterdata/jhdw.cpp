#include "masterdata/jhdw.h"

#include "core/text.h"
#include "ui/datagrid.h"
#include "ui/fieldlink.h"
#include "ui/forms.h"
#include "ui/prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TjhdwFrm::TjhdwFrm(db::Connection& conn, QWidget* parent)
    : MaintenanceFrm(conn, QStringLiteral("TjhdwFrm"), QStringLiteral("进货单位"), parent) {
    list_.setObjectName(QStringLiteral("adsJhdw"));
    list_.setSql(QStringLiteral("select * from jhdw order by jhid"));
    list_.setTable(QStringLiteral("jhdw"), QStringLiteral("jhid"));

    dbgJhdw = new ui::DataGrid(list_,
                               {{QStringLiteral("单位名称"), QStringLiteral("dwmc"), true, {}, 180},
                                {QStringLiteral("联系电话"), QStringLiteral("tel"), true, {}, 0}},
                               this);
    dbgJhdw->setObjectName(QStringLiteral("dbgJhdw"));
    dbgJhdw->setAccessibleName(QStringLiteral("进货单位"));
    dbgJhdw->setReadOnly(true);
    grid_ = dbgJhdw;

    edtDwmc = new QLineEdit(this);
    edtDwmc->setObjectName(QStringLiteral("edtDwmc"));
    edtTel = new QLineEdit(this);
    edtTel->setObjectName(QStringLiteral("edtTel"));
    edtAddress = new QLineEdit(this);
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    memBz = new QPlainTextEdit(this);
    memBz->setObjectName(QStringLiteral("memBz"));
    memBz->setTabChangesFocus(true);
    ui::FieldLink::bind(edtDwmc, list_, QStringLiteral("dwmc"));
    ui::FieldLink::bind(edtTel, list_, QStringLiteral("tel"));
    ui::FieldLink::bind(edtAddress, list_, QStringLiteral("address"));
    ui::FieldLink::bind(memBz, list_, QStringLiteral("bz"));

    auto* form = new QFormLayout;
    ui::addRow(form, QStringLiteral("单位名称"), edtDwmc);
    ui::addRow(form, QStringLiteral("联系电话"), edtTel);
    ui::addRow(form, QStringLiteral("地址"), edtAddress);
    ui::addRow(form, QStringLiteral("备注"), memBz);

    // Suppliers are referred to by goods units: they are not deleted here.
    btnDel->setEnabled(false);

    auto* fields = new QVBoxLayout;
    fields->addLayout(form, 1);
    fields->addLayout(buttonRow());
    auto* top = new QHBoxLayout(this);
    top->addWidget(dbgJhdw, 1);
    top->addLayout(fields, 1);
    resize(760, 400);
}

void TjhdwFrm::checkSave() {
    if (core::trimmed(edtDwmc->text()).isEmpty()) {
        ui::prompter().message(QStringLiteral("请填写进货单位名称！！"));
        throw data::Abort();
    }
}

void TjhdwFrm::focusNewRow() { edtDwmc->setFocus(); }
