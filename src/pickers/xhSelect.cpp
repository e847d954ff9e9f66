#include "pickers/xhSelect.h"

#include "ui/datagrid.h"

#include <QPushButton>

TxhSelectFrm::TxhSelectFrm(db::Connection& conn, QWidget* parent)
    : ui::TwoListPicker(conn,
                        {QStringLiteral("TxhSelectFrm"),
                         QStringLiteral("选择型号"),
                         QStringLiteral("select type_name from cktype"),
                         {{QStringLiteral("类别"), QStringLiteral("type_name"), true, {}, 0}},
                         QStringLiteral("类别"),
                         QStringLiteral("select * from hwxh where type_name = ?"),
                         {{QStringLiteral("型号"), QStringLiteral("xh"), true, {}, 0}},
                         QStringLiteral("型号"),
                         QStringLiteral("xh")},
                        parent) {
    // Nothing but the category under the cursor decides which models are offered.
    connect(&categories(), &data::DataSet::currentRowChanged, this, &TxhSelectFrm::DBGrid1AfterScroll);
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TxhSelectFrm::DBGrid2DblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TxhSelectFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TxhSelectFrm::BitBtn2Click);
}

void TxhSelectFrm::FormShow() { loadGroups(); }
void TxhSelectFrm::DBGrid1AfterScroll() { loadEntries(); }
void TxhSelectFrm::DBGrid2DblClick() { takeCurrent(true); }
void TxhSelectFrm::BitBtn1Click() { takeCurrent(false); }
void TxhSelectFrm::BitBtn2Click() { reject(); }
