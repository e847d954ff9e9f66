#include "storesales/salesform.h"

#include "core/codes.h"
#include "core/schema.h"
#include "core/text.h"
#include "export/exporter.h"
#include "export/layouts.h"
#include "pickers/xhSelect.h"
#include "ui/countbox.h"
#include "ui/datagrid.h"
#include "ui/fieldlink.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace storesales {

using core::codes::kInStock;
using core::codes::kIssued;

namespace {

// Sets a flag for a scope.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
};

// A typed text too long for its column is refused before the row is written,
// naming the field and its limit; nothing is cut.
void refuseOverlong(const data::DataSet& list, const QString& table) {
    for (int f = 0; f < list.fieldCount(); ++f) {
        const db::Value v = list.value(f);
        const QString* text = v.ifText();
        if (!text)
            continue;
        const QString refused = core::schema::refusal(table, list.field(f).name, *text);
        if (!refused.isEmpty()) {
            ui::prompter().message(refused);
            throw data::Abort();
        }
    }
}

} // namespace

SalesForm::SalesForm(db::Connection& conn, const Variant& variant, QWidget* parent)
    : QDialog(parent), conn_(conn), variant_(variant), seller_(conn), adsMcxs_(conn, this), adsMcxshp_(conn, this) {
    setObjectName(variant_.className);
    setWindowTitle(variant_.caption);
    adsMcxs_.setObjectName(QStringLiteral("adsMcxs"));
    adsMcxs_.setTable(QStringLiteral("mcxs"), QStringLiteral("mcid"));
    adsMcxs_.beforePost = [](data::DataSet& l) { refuseOverlong(l, QStringLiteral("mcxs")); };
    adsMcxshp_.setObjectName(QStringLiteral("adsMcxshp"));
    adsMcxshp_.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    adsMcxshp_.beforePost = [this](data::DataSet& l) { adsMcxshpBeforePost(l); };

    dbgMcxs = new ui::DataGrid(adsMcxs_,
                               {{QStringLiteral("序号"), QStringLiteral("mcid"), true, {}, 50},
                                {QStringLiteral("购机日期"), QStringLiteral("gjrq"), true, {}, 86},
                                {QStringLiteral("客户姓名"), QStringLiteral("khxm"), true, {}, 70},
                                {QStringLiteral("销售卖场"), QStringLiteral("xsdd"), true, {}, 90},
                                {QStringLiteral("联系方式"), QStringLiteral("tel"), true, {}, 100},
                                {QStringLiteral("客户地址"), QStringLiteral("khaddress"), true, {}, 140},
                                {QStringLiteral("促销软件"), QStringLiteral("cxrj"), true, {}, 80},
                                {QStringLiteral("促销品"), QStringLiteral("cxp"), true, {}, 80},
                                {QStringLiteral("送货日期"), QStringLiteral("shrq"), true, {}, 86},
                                {QStringLiteral("促销员"), QStringLiteral("cxy"), true, {}, 60},
                                {QStringLiteral("操作系统"), QStringLiteral("czxt"), true, {}, 70},
                                {QStringLiteral("工程师"), QStringLiteral("gcs"), true, {}, 60}},
                               this);
    dbgMcxs->setObjectName(QStringLiteral("dbgMcxs"));
    dbgMcxs->setAccessibleName(QStringLiteral("卖场销售记录"));
    dbgMcxs->setReadOnly(true);
    dbgMcxs->horizontalHeader()->setStretchLastSection(false);

    // The fifteen details of the current sale, in the order the user fills them.
    auto* details = new QGroupBox(this);
    details->setObjectName(QStringLiteral("GroupBox1"));
    edtGjrq = ui::lineEdit(QStringLiteral("edtGjrq"), details);
    cmbXsdd = ui::freeTextCombo(QStringLiteral("cmbXsdd"), details);
    edtKhxm = ui::lineEdit(QStringLiteral("edtKhxm"), details);
    edtXhms = ui::lineEdit(QStringLiteral("edtXhms"), details);
    cmbCzxt = ui::freeTextCombo(QStringLiteral("cmbCzxt"), details);
    cmbCzxt->addItems({QStringLiteral("WIN98"), QStringLiteral("WIN2000"), QStringLiteral("WINXP")});
    edtCxrj = ui::lineEdit(QStringLiteral("edtCxrj"), details);
    edtCxp = ui::lineEdit(QStringLiteral("edtCxp"), details);
    edtCxy = ui::lineEdit(QStringLiteral("edtCxy"), details);
    edtTel = ui::lineEdit(QStringLiteral("edtTel"), details);
    edtShrq = ui::lineEdit(QStringLiteral("edtShrq"), details);
    edtGcs = ui::lineEdit(QStringLiteral("edtGcs"), details);
    edtKhaddress = ui::lineEdit(QStringLiteral("edtKhaddress"), details);
    cmbFinish = ui::freeTextCombo(QStringLiteral("cmbFinish"), details);
    cmbFinish->addItems({core::codes::kFinished, core::codes::kUnfinished});
    edtTs = ui::lineEdit(QStringLiteral("edtTs"), details);
    edtBz = ui::lineEdit(QStringLiteral("edtBz"), details);

    struct Detail {
        const char* caption;
        const char* field;
        QWidget* input;
    };
    const Detail fields[] = {
        {"购机日期", "gjrq", edtGjrq},     {"销售卖场", "xsdd", cmbXsdd}, {"客户姓名", "khxm", edtKhxm},
        {"型号描述", "xhms", edtXhms},     {"操作系统", "czxt", cmbCzxt}, {"促销软件", "cxrj", edtCxrj},
        {"促销品", "cxp", edtCxp},         {"促销员", "cxy", edtCxy},     {"联系方式", "tel", edtTel},
        {"送货日期", "shrq", edtShrq},     {"工程师", "gcs", edtGcs},     {"客户地址", "khaddress", edtKhaddress},
        {"是否完工", "finish", cmbFinish}, {"套数", "ts", edtTs},         {"备注", "bz", edtBz},
    };
    auto* form = new QGridLayout(details);
    for (int i = 0; i < static_cast<int>(std::size(fields)); ++i) {
        const Detail& d = fields[i];
        ui::addRow(form, i / 3, (i % 3) * 2, QString::fromUtf8(d.caption), d.input);
        if (auto* e = qobject_cast<QLineEdit*>(d.input))
            ui::FieldLink::bind(e, adsMcxs_, QString::fromLatin1(d.field));
        else
            ui::FieldLink::bind(static_cast<QComboBox*>(d.input), adsMcxs_, QString::fromLatin1(d.field));
    }
    for (int c : {1, 3, 5})
        form->setColumnStretch(c, 1);

    edtPjh = ui::lineEdit(QStringLiteral("edtPjh"), this);
    edtPjh->installEventFilter(this);
    cmbXh = ui::freeTextCombo(QStringLiteral("cmbXh"), this);
    cmbXh->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmbXh->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    // Double-clicks reach the line edit inside an editable box.
    cmbXh->lineEdit()->installEventFilter(this);
    BitBtn2 = ui::button(QStringLiteral("出库"), QStringLiteral("BitBtn2"), this);
    auto* issueRow = new QGridLayout;
    ui::addRow(issueRow, 0, 0, QStringLiteral("票据号"), edtPjh);
    ui::addRow(issueRow, 0, 2, QStringLiteral("货物型号"), cmbXh);
    issueRow->addWidget(BitBtn2, 0, 4);
    issueRow->setColumnStretch(1, 1);
    issueRow->setColumnStretch(3, 1);

    std::vector<ui::Column> unitColumns;
    if (variant_.unitNumberShown)
        unitColumns.push_back({QStringLiteral("序号"), QStringLiteral("hwid"), true, {}, 50});
    unitColumns.push_back({QStringLiteral("条形码"), QStringLiteral("txm"), false, {}, 110});
    unitColumns.push_back({QStringLiteral("票据号"), QStringLiteral("pjh"), false, {}, 100});
    const ui::Column model{QStringLiteral("货物型号"), QStringLiteral("hwmc"), true, {}, 90};
    const ui::Column customer{QStringLiteral("客户名称"), QStringLiteral("khmc"), false, {}, 120};
    if (variant_.unitNumberShown) {
        unitColumns.push_back(model);
        unitColumns.push_back(customer);
    } else {
        unitColumns.push_back(customer);
        unitColumns.push_back(model);
    }
    unitColumns.push_back({QStringLiteral("出库日期"), QStringLiteral("ckrq"), false, {}, 80});
    unitColumns.push_back({QStringLiteral("入库日期"), QStringLiteral("rkrq"), true, {}, 80});
    unitColumns.push_back({QStringLiteral("出入"), QStringLiteral("if_in"), true, {}, 40});
    DBGrid2 = new ui::DataGrid(adsMcxshp_, unitColumns, this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(QStringLiteral("销售货物"));
    // Units come only from stock through "出库": no rows are made or removed here.
    DBGrid2->setAppendOnMovePastEnd(false);
    DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu2 = new QMenu(DBGrid2);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    nn1 = PopupMenu2->addAction(QStringLiteral("取消出库"));
    nn1->setObjectName(QStringLiteral("nn1"));
    nn2 = PopupMenu2->addAction(QStringLiteral("保存"));
    nn2->setObjectName(QStringLiteral("nn2"));

    BitBtn3 = ui::button(QStringLiteral("Excel"), QStringLiteral("BitBtn3"), this);
    cbxTotal = new QCheckBox(QStringLiteral("统计记录"), this);
    cbxTotal->setObjectName(QStringLiteral("cbxTotal"));
    btnAdd = ui::button(QStringLiteral("增加 &a"), QStringLiteral("btnAdd"), this);
    btnAdd->setVisible(variant_.canAdd);
    btnDel = ui::button(QStringLiteral("删除 &d."), QStringLiteral("btnDel"), this);
    btnSave = ui::button(QStringLiteral("保存 &s."), QStringLiteral("btnSave"), this);
    btnClose = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose"), this);
    if (!variant_.canAdd) {
        delete btnAdd;
        btnAdd = nullptr;
    }

    setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    if (variant_.canAdd) {
        N1 = PopupMenu1->addAction(QStringLiteral("增加"));
        N1->setObjectName(QStringLiteral("N1"));
    }
    N2 = PopupMenu1->addAction(QStringLiteral("删除"));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = PopupMenu1->addAction(QStringLiteral("保存"));
    N3->setObjectName(QStringLiteral("N3"));
    N4 = PopupMenu1->addAction(QStringLiteral("退出"));
    N4->setObjectName(QStringLiteral("N4"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn3);
    bottom->addWidget(cbxTotal);
    bottom->addStretch();
    if (btnAdd)
        bottom->addWidget(btnAdd);
    bottom->addWidget(btnDel);
    bottom->addWidget(btnSave);
    bottom->addWidget(btnClose);
    auto* left = new QVBoxLayout;
    left->addWidget(dbgMcxs, 1);
    left->addLayout(bottom);
    auto* right = new QVBoxLayout;
    right->addWidget(details);
    right->addLayout(issueRow);
    right->addWidget(DBGrid2, 1);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 5);
    top->addLayout(right, 6);
    resize(1280, 640);

    connect(&adsMcxs_, &data::DataSet::currentRowChanged, this, &SalesForm::adsMcxsAfterScroll);
    if (btnAdd)
        connect(btnAdd, &QPushButton::clicked, this, &SalesForm::btnAddClick);
    if (N1)
        connect(N1, &QAction::triggered, this, &SalesForm::btnAddClick);
    connect(btnDel, &QPushButton::clicked, this, &SalesForm::btnDelClick);
    connect(N2, &QAction::triggered, this, &SalesForm::btnDelClick);
    connect(btnSave, &QPushButton::clicked, this, &SalesForm::btnSaveClick);
    connect(N3, &QAction::triggered, this, &SalesForm::btnSaveClick);
    connect(nn2, &QAction::triggered, this, &SalesForm::btnSaveClick);
    connect(btnClose, &QPushButton::clicked, this, &SalesForm::btnCloseClick);
    connect(N4, &QAction::triggered, this, &SalesForm::btnCloseClick);
    connect(BitBtn2, &QPushButton::clicked, this, &SalesForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &SalesForm::BitBtn3Click);
    connect(nn1, &QAction::triggered, this, &SalesForm::nn1Click);
    new ui::CountBox(
        cbxTotal, [this] { return writtenSales(); }, QStringLiteral("统计未完成记录数"), QStringLiteral("共有"),
        QStringLiteral("条未完成"));
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(mapToGlobal(pos)); });
    connect(DBGrid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(DBGrid2->viewport()->mapToGlobal(pos)); });
}

SalesForm::~SalesForm() = default;

void SalesForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !shown_) {
        shown_ = true;
        FormShow();
    }
}

bool SalesForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == cmbXh->lineEdit() && e->type() == QEvent::MouseButtonDblClick) {
        cmbXhDblClick();
        return true;
    }
    if (watched == edtPjh && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edtPjhKeyDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void SalesForm::FormShow() {
    ui::guard([&] {
        adsMcxs_.close();
        setSalesStatement(adsMcxs_);
        {
            // The units are read once, for the sale that ends up current.
            Raised held(unitsHeld_);
            adsMcxs_.open();
            if (variant_.lastSaleCurrent)
                adsMcxs_.last();
            else
                adsMcxs_.first();
        }
        ui::fillChoices(cmbXh, conn_, QStringLiteral("select xh from hwxh"));
        ui::fillChoices(cmbXsdd, conn_, QStringLiteral("select mc from jxs where type = ?"), {core::codes::kStore});
        adsMcxsAfterScroll();
    });
}

qint64 SalesForm::currentMcid() const {
    if (!adsMcxs_.isOpen() || adsMcxs_.currentRow() < 0 || adsMcxs_.isEmpty())
        return 0;
    return adsMcxs_.value(QStringLiteral("mcid")).toInt();
}

int SalesForm::writtenSales() const {
    if (!adsMcxs_.isOpen())
        return 0;
    return adsMcxs_.count() - (adsMcxs_.state() == data::State::Insert ? 1 : 0);
}

void SalesForm::commitGridEdits() {
    const QModelIndex at = DBGrid2->currentIndex();
    QWidget* editor = at.isValid() ? DBGrid2->indexWidget(at) : nullptr;
    if (!editor)
        return;
    // The delegate would commit on its own only after the command has run.
    QAbstractItemDelegate* d = DBGrid2->itemDelegateForIndex(at);
    emit d->commitData(editor);
    emit d->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void SalesForm::adsMcxsAfterScroll() {
    if (unitsHeld_)
        return;
    // Leaving a unit row writes it; one that cannot be written is given up.
    if (adsMcxshp_.isOpen() && !ui::guard([&] { adsMcxshp_.checkBrowseMode(); }))
        adsMcxshp_.cancel();
    ui::guard([&] {
        const qint64 mcid = currentMcid();
        // No written sale: no units to show, rather than those of another sale.
        if (mcid == 0)
            adsMcxshp_.setSql(QStringLiteral("select * from hwgl where 1=2"));
        else
            adsMcxshp_.setSql(QStringLiteral("select * from hwgl where if_in = ? and mcid = ? order by hwid"),
                              {kIssued, mcid});
        adsMcxshp_.open();
    });
}

void SalesForm::btnAddClick() {
    if (!variant_.canAdd)
        return;
    ui::guard([&] {
        commitGridEdits();
        adsMcxs_.append();
        adsMcxs_.setValue(QStringLiteral("gjrq"), db::Value(QDate::currentDate()));
        adsMcxs_.setValue(QStringLiteral("finish"), core::codes::kUnfinished);
        edtGjrq->setFocus();
    });
}

void SalesForm::btnSaveClick() {
    ui::guard([&] {
        commitGridEdits();
        if (adsMcxs_.isOpen() && !adsMcxs_.isEmpty()) {
            if (!adsMcxs_.isEditing())
                adsMcxs_.edit();
            adsMcxs_.post();
        }
        if (adsMcxshp_.isOpen() && !adsMcxshp_.isEmpty()) {
            if (!adsMcxshp_.isEditing())
                adsMcxshp_.edit();
            adsMcxshp_.post();
        }
    });
}

void SalesForm::btnDelClick() {
    ui::guard([&] {
        commitGridEdits();
        if (adsMcxs_.isOpen() && adsMcxs_.state() == data::State::Insert) {
            // Never written: there is nothing to return or delete. Quietly, so
            // the grid losing the line does not store it on its way out.
            {
                data::ControlsDisabled quiet(adsMcxs_);
                adsMcxs_.cancel();
            }
            adsMcxsAfterScroll();
            return;
        }
        if (adsMcxs_.isOpen() && adsMcxs_.isEmpty())
            return;
        if (!ui::prompter().confirm(QStringLiteral("确认要删除此条记录吗?")))
            return;
        const qint64 mcid = currentMcid();
        {
            Raised held(unitsHeld_);
            // Its units back into stock and the sale removed: all or nothing.
            db::Transaction t(conn_);
            seller_.returnUnits(mcid);
            adsMcxs_.remove();
            t.commit();
        }
        adsMcxsAfterScroll();
    });
}

void SalesForm::BitBtn2Click() {
    ui::guard([&] {
        commitGridEdits();
        auto& p = ui::prompter();
        // The model is matched as it stands; blanks are no model.
        if (cmbXh->currentText().isEmpty())
            return p.message(QStringLiteral("请选择一种货物型号!"));
        if (writtenSales() == 0)
            return p.message(QStringLiteral("请先增加或保存卖场销售记录!!"));
        if (core::trimmed(edtKhxm->text()).isEmpty())
            return p.message(QStringLiteral("请填写客户姓名！"));
        const qint64 mcid = currentMcid();
        if (mcid < 1)
            return p.message(QStringLiteral("请先保存销售主纪录，在录入货物型号等详细信息！"));
        // The boxes as they stand, whether or not the sale's changes are saved.
        const SaleOutcome out = seller_.sell({cmbXh->currentText(), mcid, cmbXsdd->currentText(), edtKhxm->text(),
                                              edtTel->text(), edtKhaddress->text(), QDate::currentDate()});
        if (out.result == SaleResult::NoStock)
            return p.message(QStringLiteral("仓库入库记录里没有此型号物品！"));
        if (out.result == SaleResult::Refused)
            return p.message(out.refusal);
        adsMcxsAfterScroll();
    });
}

void SalesForm::edtPjhKeyDown() {
    ui::guard([&] {
        const QString bill = core::trimmed(edtPjh->text());
        if (!adsMcxshp_.isOpen() || adsMcxshp_.isEmpty() || bill.isEmpty())
            return;
        const QString refused = core::schema::refusal(QStringLiteral("hwgl"), QStringLiteral("pjh"), bill);
        if (!refused.isEmpty())
            return ui::prompter().message(refused);
        // Written by Save or by leaving the row; the box keeps its text.
        adsMcxshp_.setValue(QStringLiteral("pjh"), bill);
    });
}

void SalesForm::nn1Click() {
    bool attempted = false;
    ui::guard([&] {
        commitGridEdits();
        if (!adsMcxshp_.isOpen() || adsMcxshp_.isEmpty() || adsMcxshp_.value(QStringLiteral("hwid")).toInt() == 0)
            return;
        if (!ui::prompter().confirm(QStringLiteral("此记录确认要取消出库吗?")))
            return;
        attempted = true;
        if (!adsMcxshp_.isEditing())
            adsMcxshp_.edit();
        adsMcxshp_.setValue(QStringLiteral("txm"), db::Value());
        adsMcxshp_.setValue(QStringLiteral("if_in"), kInStock);
        adsMcxshp_.setValue(QStringLiteral("pjh"), db::Value());
        adsMcxshp_.setValue(QStringLiteral("ckrq"), db::Value());
        adsMcxshp_.setValue(QStringLiteral("khmc"), db::Value());
        adsMcxshp_.post();
    });
    if (!attempted)
        return;
    // Taken back, or refused because another desk changed the unit first:
    // either way the units are read again.
    if (adsMcxshp_.isEditing())
        adsMcxshp_.cancel();
    adsMcxsAfterScroll();
}

void SalesForm::adsMcxshpBeforePost(data::DataSet& list) {
    refuseOverlong(list, QStringLiteral("hwgl"));
    const QString txm = core::trimmed(list.value(QStringLiteral("txm")).toString());
    if (txm.isEmpty())
        return;
    // Only another unit counts: a row written again does not find itself. A
    // warning: the row is written all the same.
    const auto held = seller_.heldElsewhere(txm, list.value(QStringLiteral("hwid")).toInt());
    if (held)
        ui::prompter().message(variant_.composedWarning ? composedBarcodeWarning(*held) : fixedBarcodeWarning());
}

void SalesForm::cmbXhDblClick() {
    ui::guard([&] {
        TxhSelectFrm picker(conn_, this);
        ui::runModal(picker);
        cmbXh->setEditText(picker.selectedXh);
    });
}

void SalesForm::BitBtn3Click() {
    ui::guard([&] {
        commitGridEdits();
        {
            // The walk moves through every sale; the user sees only where it ends,
            // so neither the boxes nor the units follow it on the way.
            Raised held(unitsHeld_);
            data::ControlsDisabled quiet(adsMcxs_);
            exporting::exportToSpreadsheet(this, adsMcxs_, exporting::storeSalesLayout());
        }
        adsMcxsAfterScroll();
    });
}

void SalesForm::btnCloseClick() { reject(); }

} // namespace storesales
