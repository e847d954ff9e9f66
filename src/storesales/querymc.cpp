#include "storesales/querymc.h"

#include "core/codes.h"
#include "db/dates.h"
#include "storesales/mccx.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QGroupBox* dateGroup(QCheckBox*& box, const QString& caption, const QString& boxName, QDateEdit*& start,
                     const QString& startName, QDateEdit*& end, const QString& endName, QWidget* parent) {
    auto* g = new QGroupBox(parent);
    box = new QCheckBox(caption, g);
    box->setObjectName(boxName);
    start = ui::dayPicker(startName, g);
    end = ui::dayPicker(endName, g);
    auto* l = new QGridLayout(g);
    l->addWidget(box, 0, 0);
    ui::addRow(l, 0, 1, QStringLiteral("开始日期"), start);
    ui::addRow(l, 0, 3, QStringLiteral("结束日期"), end);
    return g;
}

} // namespace

TquerymcFrm::TquerymcFrm(db::Connection& conn, QWidget* parent) : QDialog(parent), conn_(conn) {
    setObjectName(QStringLiteral("TquerymcFrm"));
    setWindowTitle(QStringLiteral("卖场查询"));
    setModal(false);

    edttxm = ui::lineEdit(QStringLiteral("edttxm"), this);
    // Bar codes are scanned or typed in Latin letters and digits.
    edttxm->setAttribute(Qt::WA_InputMethodEnabled, false);
    edtPjh = ui::lineEdit(QStringLiteral("edtPjh"), this);
    edtTel = ui::lineEdit(QStringLiteral("edtTel"), this);
    edtKhaddress = ui::lineEdit(QStringLiteral("edtKhaddress"), this);
    edtKhxm = ui::lineEdit(QStringLiteral("edtKhxm"), this);
    cmbXsmc = ui::freeTextCombo(QStringLiteral("cmbXsmc"), this);
    edtGcs = ui::lineEdit(QStringLiteral("edtGcs"), this);
    // No choices: the stored values are "完工" and "否", typed by the user.
    cmbFinish = ui::freeTextCombo(QStringLiteral("cmbFinish"), this);

    auto* form = new QGridLayout;
    ui::addRow(form, 0, 0, QStringLiteral("条形码"), edttxm);
    ui::addRow(form, 1, 0, QStringLiteral("票据号"), edtPjh);
    ui::addRow(form, 2, 0, QStringLiteral("联系方式"), edtTel);
    ui::addRow(form, 3, 0, QStringLiteral("客户地址"), edtKhaddress);
    ui::addRow(form, 0, 2, QStringLiteral("客户姓名"), edtKhxm);
    ui::addRow(form, 1, 2, QStringLiteral("销售卖场"), cmbXsmc);
    ui::addRow(form, 2, 2, QStringLiteral("工程师"), edtGcs);
    ui::addRow(form, 3, 2, QStringLiteral("是否完工"), cmbFinish);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    QGroupBox* purchase = dateGroup(cbxGJ, QStringLiteral("购机"), QStringLiteral("cbxGJ"), dtpGstart,
                                    QStringLiteral("dtpGstart"), dtpGend, QStringLiteral("dtpGend"), this);
    QGroupBox* delivery = dateGroup(cbxSh, QStringLiteral("送货"), QStringLiteral("cbxSh"), dtpSstart,
                                    QStringLiteral("dtpSstart"), dtpSend, QStringLiteral("dtpSend"), this);

    btnSave = ui::button(QStringLiteral("确定 &s."), QStringLiteral("btnSave"), this);
    btnSave->setDefault(true);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);
    auto* buttons = ui::rightAligned({btnSave, btnClose});

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(purchase);
    top->addWidget(delivery);
    top->addLayout(buttons);
    resize(560, 300);

    connect(cbxGJ, &QCheckBox::clicked, this, &TquerymcFrm::cbxGJClick);
    connect(cbxSh, &QCheckBox::clicked, this, &TquerymcFrm::cbxShClick);
    connect(btnSave, &QPushButton::clicked, this, &TquerymcFrm::btnSaveClick);
    connect(btnClose, &QPushButton::clicked, this, &TquerymcFrm::btnCloseClick);
}

TquerymcFrm* TquerymcFrm::openModeless(db::Connection& conn, QWidget* parent) {
    auto* w = new TquerymcFrm(conn, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

void TquerymcFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !shown_) {
        shown_ = true;
        FormShow();
    }
}

void TquerymcFrm::FormShow() {
    ui::guard([&] {
        for (QDateEdit* d : {dtpGstart, dtpGend, dtpSstart, dtpSend})
            d->setDate(QDate::currentDate());
        auto st = conn_.prepare(QStringLiteral("select mc from jxs where type = ?"));
        st->bind(1, core::codes::kStore);
        while (st->step())
            cmbXsmc->addItem(st->value(0).toString());
        cmbXsmc->setEditText(QString());
    });
}

void TquerymcFrm::cbxGJClick() {
    dtpGstart->setEnabled(cbxGJ->isChecked());
    dtpGend->setEnabled(cbxGJ->isChecked());
}

void TquerymcFrm::cbxShClick() {
    dtpSstart->setEnabled(cbxSh->isChecked());
    dtpSend->setEnabled(cbxSh->isChecked());
}

storesales::SalesQuery TquerymcFrm::query() const {
    storesales::SalesQuery q;
    q.pjh = edtPjh->text();
    q.txm = edttxm->text();
    q.khxm = edtKhxm->text();
    q.xsdd = cmbXsmc->currentText();
    q.gcs = edtGcs->text();
    q.tel = edtTel->text();
    q.khaddress = edtKhaddress->text();
    q.finish = cmbFinish->currentText();
    // A picker's date counts only while its box is ticked.
    if (cbxGJ->isChecked())
        q.purchase = storesales::DayRange{dtpGstart->date(), dtpGend->date()};
    if (cbxSh->isChecked())
        q.delivery = storesales::DayRange{dtpSstart->date(), dtpSend->date()};
    return q;
}

void TquerymcFrm::btnSaveClick() {
    ui::guard([&] {
        sqlWhere = storesales::salesCriteria(query());
        TmccxFrm result(conn_, this);
        result.sqlWhere = sqlWhere;
        ui::runModal(result);
    });
}

void TquerymcFrm::btnCloseClick() { reject(); }

void TquerymcFrm::reject() {
    sqlWhere = data::Criteria();
    QDialog::reject();
}
