#include "queries/ckmx.h"

#include "core/codes.h"
#include "export/exporter.h"
#include "export/layouts.h"
#include "queries/corrections.h"
#include "queries/goodscriteria.h"
#include "ui/countbox.h"
#include "ui/datagrid.h"
#include "ui/fieldlink.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QLineEdit* textBox(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

} // namespace

TckmxFrm::TckmxFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), conn_(conn), adsJhdw_(conn, this), adsType_(conn, this), adsHwgl_(conn, this) {
    setObjectName(QStringLiteral("TckmxFrm"));
    setWindowTitle(QStringLiteral("货物查询"));

    adsJhdw_.setObjectName(QStringLiteral("adsJhdw"));
    adsJhdw_.setSql(QStringLiteral("select * from jhdw order by jhid"));
    adsType_.setObjectName(QStringLiteral("adsType"));
    adsType_.setSql(QStringLiteral("select * from cktype"));
    adsHwgl_.setObjectName(QStringLiteral("adsHwgl"));
    adsHwgl_.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    // The names the grid and the export show; not stored.
    adsHwgl_.addLookupField(QStringLiteral("jhname"), QStringLiteral("jhid"), &adsJhdw_, QStringLiteral("jhid"),
                            QStringLiteral("dwmc"));
    adsHwgl_.addLookupField(QStringLiteral("type_name"), QStringLiteral("type_id"), &adsType_,
                            QStringLiteral("type_id"), QStringLiteral("type_name"));
    corrections_ = new queries::UnitCorrections(adsHwgl_);

    auto* panel = new QGroupBox(this);
    panel_ = panel;
    edtHwid = textBox(QStringLiteral("edtHwid"), panel);
    edtHwid->setReadOnly(true);
    edtTxm = textBox(QStringLiteral("edtTxm"), panel);
    cmbIfIn = ui::freeTextCombo(QStringLiteral("cmbIfIn"), panel);
    cmbIfIn->addItems({core::codes::kIssued, core::codes::kInStock});
    edtHwmc = textBox(QStringLiteral("edtHwmc"), panel);
    dlkJhdw = new QComboBox(panel);
    dlkJhdw->setObjectName(QStringLiteral("dlkJhdw"));
    dlkType = new QComboBox(panel);
    dlkType->setObjectName(QStringLiteral("dlkType"));
    edtRkrq = textBox(QStringLiteral("edtRkrq"), panel);
    edtCkrq = textBox(QStringLiteral("edtCkrq"), panel);
    edtKhmc = textBox(QStringLiteral("edtKhmc"), panel);
    edtKhtel = textBox(QStringLiteral("edtKhtel"), panel);
    edtKhaddress = textBox(QStringLiteral("edtKhaddress"), panel);
    edtPjh = textBox(QStringLiteral("edtPjh"), panel);
    edtRemark = textBox(QStringLiteral("edtRemark"), panel);

    auto* form = new QGridLayout(panel);
    ui::addRow(form, 0, 0, QStringLiteral("序号"), edtHwid);
    ui::addRow(form, 0, 2, QStringLiteral("条形码"), edtTxm);
    ui::addRow(form, 0, 4, QStringLiteral("出入库"), cmbIfIn);
    ui::addRow(form, 1, 0, QStringLiteral("货物名称"), edtHwmc);
    ui::addRow(form, 1, 2, QStringLiteral("进货单位"), dlkJhdw);
    ui::addRow(form, 1, 4, QStringLiteral("货物类别"), dlkType);
    ui::addRow(form, 2, 0, QStringLiteral("入库日期"), edtRkrq);
    ui::addRow(form, 2, 2, QStringLiteral("出库日期"), edtCkrq);
    ui::addRow(form, 2, 4, QStringLiteral("票据号"), edtPjh);
    ui::addRow(form, 3, 0, QStringLiteral("客户名称"), edtKhmc);
    ui::addRow(form, 3, 2, QStringLiteral("客户电话"), edtKhtel);
    ui::addRow(form, 4, 0, QStringLiteral("客户地址"), edtKhaddress, 3);
    ui::addRow(form, 5, 0, QStringLiteral("备注"), edtRemark, 5);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    form->setColumnStretch(5, 1);

    ui::FieldLink::bind(edtHwid, adsHwgl_, QStringLiteral("hwid"));
    ui::FieldLink::bind(edtTxm, adsHwgl_, QStringLiteral("txm"));
    ui::FieldLink::bind(cmbIfIn, adsHwgl_, QStringLiteral("if_in"));
    ui::FieldLink::bind(edtHwmc, adsHwgl_, QStringLiteral("hwmc"));
    bindKey(dlkJhdw, QStringLiteral("jhid"));
    bindKey(dlkType, QStringLiteral("type_id"));
    bindDate(edtRkrq, QStringLiteral("rkrq"));
    bindDate(edtCkrq, QStringLiteral("ckrq"));
    ui::FieldLink::bind(edtKhmc, adsHwgl_, QStringLiteral("khmc"));
    ui::FieldLink::bind(edtKhtel, adsHwgl_, QStringLiteral("khtel"));
    ui::FieldLink::bind(edtKhaddress, adsHwgl_, QStringLiteral("khaddress"));
    ui::FieldLink::bind(edtPjh, adsHwgl_, QStringLiteral("pjh"));
    ui::FieldLink::bind(edtRemark, adsHwgl_, QStringLiteral("remark"));

    DBGrid1 = new ui::DataGrid(adsHwgl_,
                               {{QStringLiteral("序号"), QStringLiteral("hwid"), true, {}, 60},
                                {QStringLiteral("条形码"), QStringLiteral("txm"), true, {}, 120},
                                {QStringLiteral("货物型号"), QStringLiteral("hwmc"), true, {}, 110},
                                {QStringLiteral("进货单位"), QStringLiteral("jhname"), true, {}, 120},
                                {QStringLiteral("入库日期"), QStringLiteral("rkrq"), true, {}, 90},
                                {QStringLiteral("出库日期"), QStringLiteral("ckrq"), true, {}, 90},
                                {QStringLiteral("客户名称"), QStringLiteral("khmc"), true, {}, 120},
                                {QStringLiteral("客户电话"), QStringLiteral("khtel"), true, {}, 110},
                                {QStringLiteral("货物类别"), QStringLiteral("type_name"), true, {}, 90},
                                {QStringLiteral("客户地址"), QStringLiteral("khaddress"), true, {}, 150},
                                {QStringLiteral("出入库"), QStringLiteral("if_in"), true, {}, 50}},
                               this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("货物"));
    DBGrid1->setReadOnly(true);

    btnSave = ui::button(QStringLiteral("保存 &s."), QStringLiteral("btnSave"), this);
    btnDel = ui::button(QStringLiteral("删除 &d."), QStringLiteral("btnDel"), this);
    BitBtn2 = ui::button(QStringLiteral("Excel"), QStringLiteral("BitBtn2"), this);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);
    cbxTotal = new QCheckBox(QStringLiteral("统计记录数"), this);
    cbxTotal->setObjectName(QStringLiteral("cbxTotal"));
    new ui::CountBox(
        cbxTotal, [this] { return adsHwgl_.isOpen() ? adsHwgl_.count() : 0; }, QStringLiteral("统计台数"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbxTotal);
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnDel);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(btnClose);
    auto* top = new QVBoxLayout(this);
    top->addWidget(panel);
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    resize(1160, 620);

    connect(btnSave, &QPushButton::clicked, this, &TckmxFrm::btnSaveClick);
    connect(btnDel, &QPushButton::clicked, this, &TckmxFrm::btnDelClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TckmxFrm::BitBtn2Click);
    // Esc closes as well (QDialog rejects on Esc); what is pending is not stored.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(&adsHwgl_, &data::DataSet::resetDone, this, &TckmxFrm::enablePanel);
    connect(&adsHwgl_, &data::DataSet::rowRemoved, this, &TckmxFrm::enablePanel);
    enablePanel();
}

TckmxFrm::~TckmxFrm() {
    // Hiding takes the focus out of a date box once the lists are gone.
    edtRkrq->disconnect(this);
    edtCkrq->disconnect(this);
}

void TckmxFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !adsHwgl_.isOpen())
        FormShow();
}

void TckmxFrm::FormShow() {
    ui::guard([&] {
        adsJhdw_.open();
        adsType_.open();
        fillChoices();
        adsHwgl_.setSql(queries::goodsListSql(sqlWhere), sqlWhere.params());
        adsHwgl_.open();
    });
}

void TckmxFrm::fillChoices() {
    const auto fillFrom = [](QComboBox* box, const data::DataSet& list, const QString& name, const QString& key) {
        box->clear();
        const int n = list.fieldIndex(name), k = list.fieldIndex(key);
        for (int r = 0; r < list.count(); ++r)
            box->addItem(list.value(r, n).toString(), list.value(r, k).toInt());
        box->setCurrentIndex(-1);
    };
    fillFrom(dlkJhdw, adsJhdw_, QStringLiteral("dwmc"), QStringLiteral("jhid"));
    fillFrom(dlkType, adsType_, QStringLiteral("type_name"), QStringLiteral("type_id"));
}

// A name chosen from the box stores the key it stands for.
void TckmxFrm::bindKey(QComboBox* box, const QString& field) {
    const auto show = [this, box, field] {
        const int f = adsHwgl_.fieldIndex(field);
        const db::Value v = adsHwgl_.isOpen() && f >= 0 ? adsHwgl_.value(f) : db::Value();
        box->setCurrentIndex(v.isNull() ? -1 : box->findData(v.toInt()));
    };
    connect(&adsHwgl_, &data::DataSet::currentRowChanged, box, show);
    connect(&adsHwgl_, &data::DataSet::resetDone, box, show);
    connect(&adsHwgl_, &data::DataSet::stateChanged, box, show);
    connect(&adsHwgl_, &data::DataSet::rowChanged, box, [this, show](int r) {
        if (r == adsHwgl_.currentRow())
            show();
    });
    connect(box, &QComboBox::activated, this, [this, box, field, show](int i) {
        if (!ui::guard([&] { adsHwgl_.setValue(field, box->itemData(i).toLongLong()); }))
            show();
    });
}

// A date is read when the user leaves the box; text that is no date is refused
// there and stays in the box for correcting, the row's other changes pending.
void TckmxFrm::bindDate(QLineEdit* edit, const QString& field) {
    const auto show = [this, edit, field] {
        const int f = adsHwgl_.fieldIndex(field);
        edit->setText(adsHwgl_.isOpen() && f >= 0 ? adsHwgl_.value(f).toString() : QString());
    };
    connect(&adsHwgl_, &data::DataSet::currentRowChanged, edit, show);
    connect(&adsHwgl_, &data::DataSet::resetDone, edit, show);
    connect(&adsHwgl_, &data::DataSet::stateChanged, edit, show);
    connect(&adsHwgl_, &data::DataSet::rowChanged, edit, [this, show](int r) {
        if (r == adsHwgl_.currentRow())
            show();
    });
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
        const int f = adsHwgl_.fieldIndex(field);
        if (!adsHwgl_.isOpen() || adsHwgl_.isEmpty() || f < 0 || edit->text() == adsHwgl_.value(f).toString())
            return;
        ui::guard([&] { adsHwgl_.setText(f, edit->text()); });
    });
}

void TckmxFrm::enablePanel() { panel_->setEnabled(adsHwgl_.isOpen() && !adsHwgl_.isEmpty()); }

void TckmxFrm::btnSaveClick() {
    ui::guard([&] {
        if (adsHwgl_.isOpen() && !adsHwgl_.isEmpty())
            adsHwgl_.post();
    });
}

void TckmxFrm::btnDelClick() {
    ui::guard([&] {
        if (!ui::prompter().confirm(QStringLiteral("确认要删除此条记录吗?")))
            return;
        // On an empty list the list itself refuses, with its own message.
        adsHwgl_.remove();
    });
}

void TckmxFrm::BitBtn2Click() {
    ui::guard([&] {
        // The walk over the list moves its current row: the grid and the
        // thirteen inputs follow once at the end, not at every unit.
        data::ControlsDisabled quiet(adsHwgl_);
        exporting::exportToSpreadsheet(this, adsHwgl_, exporting::goodsListLayout());
    });
}
