#include "queries/query.h"

#include "core/codes.h"
#include "core/text.h"
#include "db/dates.h"
#include "queries/ckmx.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// A date range that its check box switches on.
QGroupBox* rangeGroup(QCheckBox* box, QDateEdit* start, QDateEdit* end, QWidget* parent) {
    auto* g = new QGroupBox(parent);
    auto* form = new QGridLayout(g);
    form->addWidget(box, 0, 0, 1, 2);
    ui::addRow(form, 1, 0, QStringLiteral("开始日期"), start);
    ui::addRow(form, 2, 0, QStringLiteral("结束日期"), end);
    form->setColumnStretch(1, 1);
    return g;
}

} // namespace

TqueryFrm::TqueryFrm(db::Connection& conn, QWidget* parent) : QDialog(parent), conn_(conn) {
    setObjectName(QStringLiteral("TqueryFrm"));
    setWindowTitle(QStringLiteral("仓库物品查询"));

    auto* criteria = new QGroupBox(this);
    cmbXh = ui::freeTextCombo(QStringLiteral("cmbXh"), criteria);
    // The models drop down as soon as the user types.
    cmbXh->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmbXh->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    edttxm = new QLineEdit(criteria);
    edttxm->setObjectName(QStringLiteral("edttxm"));
    // Bar codes come from a scanner or in Latin letters: no input method.
    edttxm->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmbType = ui::freeTextCombo(QStringLiteral("cmbType"), criteria);
    cmbIfIn = ui::freeTextCombo(QStringLiteral("cmbIfIn"), criteria);
    cmbIfIn->addItems({core::codes::kIssued, core::codes::kInStock});
    cmbIfIn->setEditText(QString());
    cmbKhmc = ui::freeTextCombo(QStringLiteral("cmbKhmc"), criteria);
    cmbJhname = ui::freeTextCombo(QStringLiteral("cmbJhname"), criteria);
    edtPjh = new QLineEdit(criteria);
    edtPjh->setObjectName(QStringLiteral("edtPjh"));

    auto* form = new QGridLayout(criteria);
    ui::addRow(form, 0, 0, QStringLiteral("货物型号"), cmbXh);
    ui::addRow(form, 0, 2, QStringLiteral("条形码"), edttxm);
    ui::addRow(form, 1, 0, QStringLiteral("类别名称"), cmbType);
    ui::addRow(form, 1, 2, QStringLiteral("出入库"), cmbIfIn);
    ui::addRow(form, 2, 0, QStringLiteral("客户名称"), cmbKhmc);
    ui::addRow(form, 2, 2, QStringLiteral("进货单位"), cmbJhname);
    ui::addRow(form, 3, 0, QStringLiteral("票据号"), edtPjh);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    cbxRk = new QCheckBox(QStringLiteral("入库"), this);
    cbxRk->setObjectName(QStringLiteral("cbxRk"));
    dtpRstart = ui::dayPicker(QStringLiteral("dtpRstart"), this);
    dtpRend = ui::dayPicker(QStringLiteral("dtpRend"), this);
    cbxCk = new QCheckBox(QStringLiteral("出库"), this);
    cbxCk->setObjectName(QStringLiteral("cbxCk"));
    dtpCstart = ui::dayPicker(QStringLiteral("dtpCstart"), this);
    dtpCend = ui::dayPicker(QStringLiteral("dtpCend"), this);
    auto* ranges = new QHBoxLayout;
    ranges->addWidget(rangeGroup(cbxRk, dtpRstart, dtpRend, this));
    ranges->addWidget(rangeGroup(cbxCk, dtpCstart, dtpCend, this));

    btnSave = ui::button(QStringLiteral("确定 &s."), QStringLiteral("btnSave"), this);
    btnSave->setDefault(true);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);
    auto* buttons = ui::rightAligned({btnSave, btnClose});

    auto* top = new QVBoxLayout(this);
    top->addWidget(criteria);
    top->addLayout(ranges);
    top->addLayout(buttons);
    resize(560, 330);

    connect(btnSave, &QPushButton::clicked, this, &TqueryFrm::btnSaveClick);
    connect(btnClose, &QPushButton::clicked, this, &TqueryFrm::btnCloseClick);
    connect(cbxRk, &QCheckBox::clicked, this, &TqueryFrm::cbxRkClick);
    connect(cbxCk, &QCheckBox::clicked, this, &TqueryFrm::cbxCkClick);
}

TqueryFrm::~TqueryFrm() = default;

void TqueryFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !shown_) {
        shown_ = true;
        FormShow();
    }
}

void TqueryFrm::FormShow() {
    ui::guard([&] {
        for (QDateEdit* d : {dtpRstart, dtpRend, dtpCstart, dtpCend})
            d->setDate(QDate::currentDate());
        ui::fillChoices(cmbType, conn_, QStringLiteral("select type_name from cktype order by type_id"), {}, true);
        ui::fillChoices(cmbJhname, conn_, QStringLiteral("select dwmc from jhdw order by jhid"), {}, true);
        ui::fillChoices(cmbXh, conn_, QStringLiteral("select xh from hwxh"));
        ui::fillChoices(cmbKhmc, conn_, QStringLiteral("select mc from jxs where type = ?"), {core::codes::kDealer});
    });
}

queries::GoodsQuery TqueryFrm::query() const {
    queries::GoodsQuery q;
    q.model = cmbXh->currentText();
    q.barcode = edttxm->text();
    q.category = cmbType->currentText();
    q.state = cmbIfIn->currentText();
    q.customer = cmbKhmc->currentText();
    q.supplier = cmbJhname->currentText();
    q.bill = edtPjh->text();
    if (cbxRk->isChecked())
        q.stockIn = queries::DayRange{dtpRstart->date(), dtpRend->date()};
    if (cbxCk->isChecked())
        q.issue = queries::DayRange{dtpCstart->date(), dtpCend->date()};
    return q;
}

void TqueryFrm::btnSaveClick() {
    ui::guard([&] {
        sqlWhere = queries::goodsCriteria(query());
        TckmxFrm list(conn_, this);
        list.sqlWhere = sqlWhere;
        ui::runModal(list);
    });
}

void TqueryFrm::btnCloseClick() {
    sqlWhere = data::Criteria();
    close();
}

void TqueryFrm::cbxRkClick() {
    dtpRstart->setEnabled(cbxRk->isChecked());
    dtpRend->setEnabled(cbxRk->isChecked());
}

void TqueryFrm::cbxCkClick() {
    dtpCstart->setEnabled(cbxCk->isChecked());
    dtpCend->setEnabled(cbxCk->isChecked());
}
