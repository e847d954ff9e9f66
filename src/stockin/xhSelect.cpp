#include "stockin/xhSelect.h"

#include "ui/datagrid.h"
#include "ui/guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TxhSelectFrm::TxhSelectFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), conn_(conn), adsType_(conn, this), adsXh_(conn, this) {
    setObjectName(QStringLiteral("TxhSelectFrm"));
    setWindowTitle(QStringLiteral("选择型号"));

    DBGrid1 = new ui::DataGrid(adsType_, {{QStringLiteral("类别"), QStringLiteral("type_name"), true, {}, 0}}, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("类别"));
    DBGrid1->setReadOnly(true);
    DBGrid2 = new ui::DataGrid(adsXh_, {{QStringLiteral("型号"), QStringLiteral("xh"), true, {}, 0}}, this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(QStringLiteral("型号"));
    DBGrid2->setReadOnly(true);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);

    auto* lists = new QHBoxLayout;
    lists->addWidget(DBGrid1);
    lists->addWidget(DBGrid2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addLayout(buttons);
    resize(420, 360);

    // Nothing but the category under the cursor decides which models are offered.
    connect(&adsType_, &data::DataSet::currentRowChanged, this, &TxhSelectFrm::DBGrid1AfterScroll);
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TxhSelectFrm::DBGrid2DblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TxhSelectFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TxhSelectFrm::BitBtn2Click);
}

TxhSelectFrm::~TxhSelectFrm() = default;

void TxhSelectFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TxhSelectFrm::FormShow() {
    ui::guard([&] {
        adsXh_.close();
        adsXh_.setSql(QStringLiteral("select * from hwxh where 1=2"));
        adsXh_.open();
        adsType_.setSql(QStringLiteral("select type_name from cktype"));
        adsType_.open(); // makes the first category current, which loads its models
    });
}

void TxhSelectFrm::DBGrid1AfterScroll() {
    ui::guard([&] {
        if (!adsType_.isOpen() || adsType_.isEmpty())
            return;
        // The name is a bound value: a quote in it is just a character.
        adsXh_.setSql(QStringLiteral("select * from hwxh where type_name = ?"),
                      {adsType_.value(QStringLiteral("type_name"))});
        adsXh_.open();
    });
}

QString TxhSelectFrm::currentXh() const {
    if (!adsXh_.isOpen() || adsXh_.isEmpty())
        return {};
    return adsXh_.value(QStringLiteral("xh")).toString();
}

void TxhSelectFrm::DBGrid2DblClick() {
    ui::guard([&] {
        const QString xh = currentXh();
        if (xh.isEmpty())
            return;
        selectedXh = xh;
        accept();
    });
}

void TxhSelectFrm::BitBtn1Click() {
    ui::guard([&] {
        selectedXh = currentXh();
        accept();
    });
}

void TxhSelectFrm::BitBtn2Click() { reject(); }
