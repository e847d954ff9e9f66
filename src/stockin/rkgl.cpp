#include "stockin/rkgl.h"

#include "core/codes.h"
#include "db/dates.h"
#include "pickers/xhSelect.h"
#include "stockin/registration.h"
#include "ui/countbox.h"
#include "ui/datagrid.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <memory>

namespace {} // namespace

TrkglFrm::TrkglFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), conn_(conn), adsJhdw_(conn, this), adsHwgl_(conn, this) {
    setObjectName(QStringLiteral("TrkglFrm"));
    setWindowTitle(QStringLiteral("入库管理"));

    adsJhdw_.setObjectName(QStringLiteral("adsJhdw"));
    adsJhdw_.setSql(QStringLiteral("select * from jhdw order by jhid"));
    adsHwgl_.setObjectName(QStringLiteral("adsHwgl"));
    adsHwgl_.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    adsHwgl_.addLookupField(QStringLiteral("jhdw"), QStringLiteral("jhid"), &adsJhdw_, QStringLiteral("jhid"),
                            QStringLiteral("dwmc"));

    auto* entry = new QGroupBox(QStringLiteral("入库信息填写"), this);
    entry->setObjectName(QStringLiteral("GroupBox1"));

    cmbXh = new QComboBox(entry);
    cmbXh->setObjectName(QStringLiteral("cmbXh"));
    cmbXh->setEditable(true);
    cmbXh->setInsertPolicy(QComboBox::NoInsert);
    cmbXh->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmbXh->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    cmbXh->lineEdit()->installEventFilter(this);
    cmbXh->setToolTip(QStringLiteral("双击选择型号"));

    dlkDwmcPL = new QComboBox(entry);
    dlkDwmcPL->setObjectName(QStringLiteral("dlkDwmcPL"));
    dlkDwmcPL->setEditable(false);

    edtNum = new QLineEdit(entry);
    edtNum->setObjectName(QStringLiteral("edtNum"));

    dtpRkrq = new QDateEdit(entry);
    dtpRkrq->setObjectName(QStringLiteral("dtpRkrq"));
    dtpRkrq->setDisplayFormat(db::dates::shortDateFormat());
    dtpRkrq->setCalendarPopup(true);
    dtpRkrq->setDate(QDate::currentDate());

    memRemark = new QPlainTextEdit(entry);
    memRemark->setObjectName(QStringLiteral("memRemark"));
    memRemark->setTabChangesFocus(true);
    memRemark->setFixedHeight(memRemark->fontMetrics().height() * 4 + 12);

    btnAdd = ui::button(QStringLiteral("入库 &a"), QStringLiteral("btnAdd"), entry);

    auto* form = new QFormLayout;
    ui::addRow(form, QStringLiteral("货物型号"), cmbXh);
    ui::addRow(form, QStringLiteral("进货单位"), dlkDwmcPL);
    ui::addRow(form, QStringLiteral("数量"), edtNum);
    ui::addRow(form, QStringLiteral("入库日期"), dtpRkrq);
    ui::addRow(form, QStringLiteral("备注"), memRemark);
    auto* entryLayout = new QVBoxLayout(entry);
    entryLayout->addLayout(form);
    entryLayout->addStretch();
    entryLayout->addLayout(ui::rightAligned({btnAdd}));
    entry->setFixedWidth(280);

    DBGrid1 = new ui::DataGrid(adsHwgl_,
                               {{QStringLiteral("序号"), QStringLiteral("hwid"), true, {}, 60},
                                {QStringLiteral("货物型号"), QStringLiteral("hwmc"), true, {}, 120},
                                {QStringLiteral("进货单位"), QStringLiteral("jhdw"), true, {}, 140},
                                {QStringLiteral("入库日期"), QStringLiteral("rkrq"), true, {}, 100},
                                {QStringLiteral("备注"), QStringLiteral("remark"), true, {}, 0}},
                               this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("今日入库"));
    DBGrid1->setReadOnly(true);

    cbxTotal = new QCheckBox(QStringLiteral("显示台数"), this);
    cbxTotal->setObjectName(QStringLiteral("cbxTotal"));
    QPalette fuchsia = cbxTotal->palette();
    fuchsia.setColor(QPalette::WindowText, QColor(0xff, 0x00, 0xff));
    cbxTotal->setPalette(fuchsia);
    new ui::CountBox(
        cbxTotal, [this] { return adsHwgl_.count(); }, QStringLiteral("统计台数"));

    btnDel = ui::button(QStringLiteral("删除 &d."), QStringLiteral("btnDel"), this);
    btnSave = ui::button(QStringLiteral("保存 &s."), QStringLiteral("btnSave"), this);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbxTotal);
    buttons->addStretch();
    buttons->addWidget(btnDel);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* right = new QVBoxLayout;
    right->addWidget(DBGrid1);
    right->addLayout(buttons);
    auto* top = new QHBoxLayout(this);
    top->addWidget(entry);
    top->addLayout(right, 1);
    resize(860, 460);

    connect(btnAdd, &QPushButton::clicked, this, &TrkglFrm::btnAddClick);
    connect(btnDel, &QPushButton::clicked, this, &TrkglFrm::btnDelClick);
    connect(btnSave, &QPushButton::clicked, this, &TrkglFrm::btnSaveClick);
    // Esc closes the dialog as well (QDialog rejects on Esc).
    connect(btnClose, &QPushButton::clicked, this, &TrkglFrm::reject);
}

TrkglFrm::~TrkglFrm() = default;

void TrkglFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

bool TrkglFrm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == cmbXh->lineEdit() && e->type() == QEvent::MouseButtonDblClick) {
        cmbXhDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TrkglFrm::fillSuppliers() {
    dlkDwmcPL->clear();
    for (int r = 0; r < adsJhdw_.count(); ++r)
        dlkDwmcPL->addItem(adsJhdw_.value(r, adsJhdw_.fieldIndex(QStringLiteral("dwmc"))).toString(),
                           adsJhdw_.value(r, adsJhdw_.fieldIndex(QStringLiteral("jhid"))).toInt());
    dlkDwmcPL->setCurrentIndex(-1);
}

void TrkglFrm::FormShow() {
    ui::guard([&] {
        adsJhdw_.open();
        fillSuppliers();
        dtpRkrq->setDate(QDate::currentDate());
        adsHwgl_.setSql(QStringLiteral("select * from hwgl where rkrq = ? and if_in = ?"),
                        {db::Value(QDate::currentDate()), core::codes::kInStock});
        adsHwgl_.open();
        adsHwgl_.last();

        ui::fillChoices(cmbXh, conn_, QStringLiteral("select xh from hwxh"));
    });
}

void TrkglFrm::btnAddClick() {
    ui::guard([&] {
        stockin::Entry e;
        e.model = cmbXh->currentText();
        if (dlkDwmcPL->currentIndex() >= 0)
            e.supplier = dlkDwmcPL->currentData().toLongLong();
        e.quantity = edtNum->text();
        e.date = dtpRkrq->date();
        e.remark = memRemark->toPlainText();
        // Large quantities take a while: after a moment a modal progress dialog
        // shows how far it got, and the screens are repainted on the way.
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<QProgressDialog> dialog;
        const auto progress = [&](int done, int total) {
            if (!dialog && clock.elapsed() < progressAfterMs)
                return;
            if (!dialog) {
                dialog =
                    std::make_unique<QProgressDialog>(QStringLiteral("正在入库，请稍候……"), QString(), 0, total, this);
                dialog->setObjectName(QStringLiteral("dlgStockinProgress"));
                dialog->setWindowTitle(ui::appTitle());
                dialog->setWindowModality(Qt::ApplicationModal);
                dialog->setCancelButton(nullptr); // all or nothing: the batch runs to its end
                dialog->setMinimumDuration(0);
                dialog->setAutoClose(false);
                dialog->setAutoReset(false);
            }
            dialog->setValue(done); // a modal progress dialog lets the screens repaint here
        };
        const stockin::Outcome o = stockin::registerUnits(adsHwgl_, e, progress);
        dialog.reset();
        if (!o.refusal.isEmpty())
            ui::prompter().message(o.refusal);
    });
}

void TrkglFrm::btnDelClick() {
    ui::guard([&] {
        if (!adsHwgl_.isOpen() || adsHwgl_.isEmpty())
            return;
        if (!ui::prompter().confirm(QStringLiteral("确认要删除此条记录吗?")))
            return;
        adsHwgl_.remove();
    });
}

void TrkglFrm::btnSaveClick() {
    ui::guard([&] {
        if (!adsHwgl_.isOpen() || adsHwgl_.isEmpty())
            return;
        adsHwgl_.edit();
        adsHwgl_.post();
    });
}

void TrkglFrm::cmbXhDblClick() {
    ui::guard([&] {
        TxhSelectFrm picker(conn_, this);
        ui::runModal(picker);
        cmbXh->setEditText(picker.selectedXh);
    });
}
