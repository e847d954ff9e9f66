#include "masterdata/hwxh.h"

#include "core/text.h"
#include "ui/datagrid.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ThwxhFrm::ThwxhFrm(db::Connection& conn, QWidget* parent)
    : MaintenanceFrm(conn, QStringLiteral("ThwxhFrm"), QStringLiteral("产品型号维护"), parent), adsCktype_(conn, this) {
    adsCktype_.setObjectName(QStringLiteral("adsCktype"));
    adsCktype_.setSql(QStringLiteral("select type_id, type_name from cktype"));

    list_.setObjectName(QStringLiteral("adsXh"));
    // The hidden key finds the row, so a model without a code can still be changed.
    list_.setTable(QStringLiteral("hwxh"), QStringLiteral("xh_id"));
    list_.afterInsert = [this](data::DataSet& l) { l.setValue(QStringLiteral("type_name"), category_); };
    list_.beforePost = [this](data::DataSet& l) { checkNewCode(l); };
    skipWhenEmpty_ = true;

    cmbType = new QComboBox(this);
    cmbType->setObjectName(QStringLiteral("cmbType"));
    cmbType->setEditable(false);
    cmbType->setMinimumWidth(180);
    auto* label = new QLabel(QStringLiteral("产品类别"), this);
    label->setBuddy(cmbType);
    cmbType->setAccessibleName(label->text());

    dbgXh = new ui::DataGrid(list_,
                             {{QStringLiteral("型号"), QStringLiteral("xh"), false, {}, 140},
                              {QStringLiteral("名称"), QStringLiteral("mc"), false, {}, 180},
                              {QStringLiteral("配置说明"), QStringLiteral("remark"), false, {}, 0}},
                             this);
    dbgXh->setObjectName(QStringLiteral("dbgXh"));
    dbgXh->setAccessibleName(QStringLiteral("产品型号"));
    grid_ = dbgXh;

    btnSave->setDefault(true);

    auto* selector = new QHBoxLayout;
    selector->addWidget(label);
    selector->addWidget(cmbType);
    selector->addStretch();
    auto* top = new QVBoxLayout(this);
    top->addLayout(selector);
    top->addWidget(dbgXh, 1);
    top->addLayout(buttonRow());
    resize(680, 420);

    connect(cmbType, &QComboBox::activated, this, &ThwxhFrm::cmbTypeChange);
}

void ThwxhFrm::loadLists() {
    adsCktype_.open();
    // Empty but with the table's columns, until a category is chosen.
    list_.setSql(QStringLiteral("select * from hwxh where 1=2"));
    list_.open();

    cmbType->clear();
    const int name = adsCktype_.fieldIndex(QStringLiteral("type_name"));
    for (int r = 0; r < adsCktype_.count(); ++r)
        cmbType->addItem(adsCktype_.value(r, name).toString());

    if (adsCktype_.count() == 0) {
        btnAdd->setEnabled(false);
        btnDel->setEnabled(false);
        btnSave->setEnabled(false);
        dbgXh->setReadOnly(true);
        ui::prompter().message(QStringLiteral("请先增加产品类别记录！"));
        return;
    }
    cmbType->setCurrentIndex(0);
    category_ = adsCktype_.value(0, name).toString();
    loadModels();
}

void ThwxhFrm::cmbTypeChange(int index) {
    ui::guard([&] {
        if (index < 0 || index >= adsCktype_.count())
            return;
        category_ = adsCktype_.value(index, adsCktype_.fieldIndex(QStringLiteral("type_name"))).toString();
        loadModels();
    });
}

void ThwxhFrm::loadModels() {
    // A category without a usable name leaves the list as it is.
    if (core::trimmed(category_).isEmpty())
        return;
    // Closing drops an unsaved new or changed model without asking.
    list_.close();
    list_.setSql(QStringLiteral("select * from hwxh where type_name = ?"), {category_});
    list_.open();
}

void ThwxhFrm::checkNewCode(data::DataSet& l) {
    if (l.state() != data::State::Insert)
        return; // a changed model is left to the database (its code is unique there)
    const db::Value found = conn_.scalar(QStringLiteral("select 1 from hwxh where xh = ? limit 1"),
                                         {l.value(QStringLiteral("xh")).toString()});
    if (!found.isNull()) {
        ui::prompter().message(QStringLiteral("此型号已经设置，型号不能重复,请换个名称或检查以前设置的型号是否正确！"));
        throw data::Abort();
    }
}
