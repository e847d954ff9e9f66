#include "outbound/jxsSelect.h"

#include "ui/datagrid.h"
#include "ui/guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TjxsSelectFrm::TjxsSelectFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), adsArea_(conn, this), adsJxs_(conn, this) {
    setObjectName(QStringLiteral("TjxsSelectFrm"));
    setWindowTitle(QStringLiteral("选择经销商"));

    // The picker only chooses; areas and dealers are kept in the dealer window.
    DBGrid1 = new ui::DataGrid(adsArea_, {{QStringLiteral("地区"), QStringLiteral("area_name"), true, {}, 120}}, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("地区"));
    DBGrid1->setReadOnly(true);
    DBGrid2 = new ui::DataGrid(adsJxs_,
                               {{QStringLiteral("名称"), QStringLiteral("mc"), true, {}, 160},
                                {QStringLiteral("dq"), QStringLiteral("dq"), true, {}, 90}},
                               this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(QStringLiteral("经销商"));
    DBGrid2->setReadOnly(true);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);

    auto* lists = new QHBoxLayout;
    lists->addWidget(DBGrid1, 2);
    lists->addWidget(DBGrid2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addLayout(buttons);
    resize(480, 360);

    connect(&adsArea_, &data::DataSet::currentRowChanged, this, &TjxsSelectFrm::adsAreaAfterScroll);
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TjxsSelectFrm::DBGrid2DblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TjxsSelectFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TjxsSelectFrm::BitBtn2Click);
}

TjxsSelectFrm::~TjxsSelectFrm() = default;

void TjxsSelectFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TjxsSelectFrm::FormShow() {
    ui::guard([&] {
        adsJxs_.setSql(QStringLiteral("select dq, mc from jxs where 1=2"));
        adsJxs_.open();
        adsArea_.setSql(QStringLiteral("select area_name from area"));
        adsArea_.open(); // makes the first area current, which loads its dealers
    });
}

void TjxsSelectFrm::adsAreaAfterScroll() {
    ui::guard([&] {
        if (!adsArea_.isOpen() || adsArea_.isEmpty())
            return;
        // Stores of the area are listed with its dealers: the choice is by area alone.
        adsJxs_.setSql(QStringLiteral("select dq, mc from jxs where dq = ?"),
                       {adsArea_.value(QStringLiteral("area_name"))});
        adsJxs_.open();
    });
}

QString TjxsSelectFrm::currentMc() const {
    if (!adsJxs_.isOpen() || adsJxs_.isEmpty())
        return {};
    return adsJxs_.value(QStringLiteral("mc")).toString();
}

void TjxsSelectFrm::BitBtn1Click() {
    ui::guard([&] {
        selectedMc = currentMc();
        accept();
    });
}

void TjxsSelectFrm::DBGrid2DblClick() {
    ui::guard([&] {
        const QString mc = currentMc();
        if (mc.isEmpty())
            return;
        selectedMc = mc;
        accept();
    });
}

void TjxsSelectFrm::BitBtn2Click() { reject(); }
