#include "outbound/ck.h"

#include "core/codes.h"
#include "db/dates.h"
#include "pickers/jxsSelect.h"
#include "pickers/xhSelect.h"
#include "ui/countbox.h"
#include "ui/datagrid.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

TckFrm::TckFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), conn_(conn), issuer_(conn), adsHwgl_(conn, this) {
    setObjectName(QStringLiteral("TckFrm"));
    setWindowTitle(QStringLiteral("经销出库"));

    auto* group = new QGroupBox(QStringLiteral("出库单填写"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));

    cmbXh = ui::freeTextCombo(QStringLiteral("cmbXh"), group);
    // The model list drops down with the models that start with what is typed.
    cmbXh->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmbXh->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    edtTxm = new QLineEdit(group);
    edtTxm->setObjectName(QStringLiteral("edtTxm"));
    edtPjh = new QLineEdit(group);
    edtPjh->setObjectName(QStringLiteral("edtPjh"));
    cmbKhmc = ui::freeTextCombo(QStringLiteral("cmbKhmc"), group);
    dtpCkrq = new QDateEdit(group);
    dtpCkrq->setObjectName(QStringLiteral("dtpCkrq"));
    dtpCkrq->setCalendarPopup(true);
    dtpCkrq->setDisplayFormat(db::dates::shortDateFormat());
    memRemark = new QPlainTextEdit(group);
    memRemark->setObjectName(QStringLiteral("memRemark"));
    memRemark->setTabChangesFocus(true);
    memRemark->setFixedHeight(60);

    // Double-clicks reach the line edit inside an editable box.
    cmbXh->lineEdit()->installEventFilter(this);
    cmbKhmc->lineEdit()->installEventFilter(this);

    auto* form = new QGridLayout(group);
    ui::addRow(form, 0, 0, QStringLiteral("货物型号"), cmbXh);
    ui::addRow(form, 0, 2, QStringLiteral("条形码"), edtTxm);
    ui::addRow(form, 1, 0, QStringLiteral("票据号"), edtPjh);
    ui::addRow(form, 1, 2, QStringLiteral("客户名称"), cmbKhmc);
    ui::addRow(form, 2, 0, QStringLiteral("出库日期"), dtpCkrq);
    ui::addRow(form, 3, 0, QStringLiteral("备注"), memRemark, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    // Enter after a scanned bar code must neither issue nor close by surprise.
    btnCk = ui::button(QStringLiteral("出库"), QStringLiteral("btnCk"), this);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);
    cbxTotal = new QCheckBox(QStringLiteral("统计台数"), this);
    cbxTotal->setObjectName(QStringLiteral("cbxTotal"));

    DBGrid1 = new ui::DataGrid(adsHwgl_,
                               {{QStringLiteral("序号"), QStringLiteral("hwid"), true, {}, 60},
                                {QStringLiteral("货物型号"), QStringLiteral("hwmc"), true, {}, 110},
                                {QStringLiteral("条形码"), QStringLiteral("txm"), true, {}, 130},
                                {QStringLiteral("入库日期"), QStringLiteral("rkrq"), true, {}, 90},
                                {QStringLiteral("出库日期"), QStringLiteral("ckrq"), true, {}, 90},
                                {QStringLiteral("客户名称"), QStringLiteral("khmc"), true, {}, 120},
                                {QStringLiteral("备注"), QStringLiteral("remark"), true, {}, 160}},
                               this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("出库记录"));
    DBGrid1->setReadOnly(true);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(DBGrid1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("取消出库"));
    N1->setObjectName(QStringLiteral("N1"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnCk);
    buttons->addWidget(btnClose);
    buttons->addStretch();
    auto* upper = new QHBoxLayout;
    upper->addWidget(group, 1);
    upper->addLayout(buttons);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(cbxTotal);
    countRow->addStretch();
    auto* top = new QVBoxLayout(this);
    top->addLayout(upper);
    top->addLayout(countRow);
    top->addWidget(DBGrid1, 1);
    resize(820, 560);

    connect(btnCk, &QPushButton::clicked, this, &TckFrm::btnCkClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    new ui::CountBox(
        cbxTotal, [this] { return adsHwgl_.count(); }, QStringLiteral("统计台数"));
    connect(N1, &QAction::triggered, this, &TckFrm::N1Click);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos)); });

    adsHwgl_.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
}

TckFrm::~TckFrm() = default;

void TckFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

bool TckFrm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == cmbXh->lineEdit()) {
            cmbXhDblClick();
            return true;
        }
        if (watched == cmbKhmc->lineEdit()) {
            cmbKhmcDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TckFrm::FormShow() {
    ui::guard([&] {
        issuedIds_.clear();
        reloadIssued(0);

        // Keep what the user may have typed already; only the choices are filled.
        ui::fillChoices(cmbXh, conn_, QStringLiteral("select xh from hwxh"));
        ui::fillChoices(cmbKhmc, conn_, QStringLiteral("select mc from jxs where type = ?"), {core::codes::kDealer});

        dtpCkrq->setDate(QDate::currentDate());
    });
}

void TckFrm::reloadIssued(qint64 currentHwid, int fallbackRow) {
    if (issuedIds_.empty()) {
        adsHwgl_.setSql(QStringLiteral("select * from hwgl where 1=2"));
    } else {
        // Only the units issued here are read again, never the stock.
        QStringList marks;
        db::Params params;
        for (const qint64 id : issuedIds_) {
            marks << QStringLiteral("?");
            params.push_back(id);
        }
        params.push_back(core::codes::kIssued);
        adsHwgl_.setSql(
            QStringLiteral("select * from hwgl where hwid in (%1) and if_in = ? order by hwid").arg(marks.join(',')),
            std::move(params));
    }
    adsHwgl_.open();

    // A unit taken back by another instance leaves the list for good.
    issuedIds_.clear();
    int row = -1;
    for (int r = 0; r < adsHwgl_.count(); ++r) {
        const qint64 id = adsHwgl_.value(r, adsHwgl_.fieldIndex(QStringLiteral("hwid"))).toInt();
        issuedIds_.push_back(id);
        if (id == currentHwid)
            row = r;
    }
    if (adsHwgl_.isEmpty())
        return;
    if (row < 0)
        row = std::clamp(fallbackRow, 0, adsHwgl_.count() - 1);
    adsHwgl_.setCurrentRow(row);
}

void TckFrm::btnCkClick() {
    ui::guard([&] {
        const outbound::IssueRequest request{cmbXh->currentText(),   edtTxm->text(),           edtPjh->text(),
                                             cmbKhmc->currentText(), memRemark->toPlainText(), dtpCkrq->date()};
        const outbound::IssueOutcome out = issuer_.issue(request);
        if (out.result != outbound::IssueResult::Issued) {
            ui::prompter().message(out.message());
            return;
        }
        issuedIds_.push_back(out.hwid);
        reloadIssued(out.hwid);
    });
}

void TckFrm::N1Click() {
    ui::guard([&] {
        if (!adsHwgl_.isOpen() || adsHwgl_.isEmpty())
            return;
        if (!ui::prompter().confirm(QStringLiteral("此记录确认要取消出库吗?")))
            return;
        const int row = adsHwgl_.currentRow();
        outbound::IssuedUnit unit{adsHwgl_.value(QStringLiteral("hwid")).toInt(), {}};
        for (const QString& c : outbound::Issuer::checkedColumns())
            unit.read.push_back(adsHwgl_.storedValue(c));
        if (!issuer_.cancel(unit)) {
            // Changed or taken back at another desk: the list shows what the file holds now.
            reloadIssued(unit.hwid, row);
            ui::prompter().message(data::StaleRow().text());
            return;
        }
        std::erase(issuedIds_, unit.hwid);
        reloadIssued(0, row);
    });
}

void TckFrm::cmbXhDblClick() {
    ui::guard([&] {
        TxhSelectFrm picker(conn_, this);
        ui::runModal(picker);
        cmbXh->setEditText(picker.selectedXh);
    });
}

void TckFrm::cmbKhmcDblClick() {
    ui::guard([&] {
        TjxsSelectFrm picker(conn_, this);
        ui::runModal(picker);
        cmbKhmc->setEditText(picker.selectedMc);
    });
}
