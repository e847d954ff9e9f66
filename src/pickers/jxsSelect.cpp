#include "pickers/jxsSelect.h"

#include "ui/datagrid.h"

#include <QPushButton>

// The picker only chooses; areas and dealers are kept in the dealer window.
// Stores of an area are listed with its dealers: the choice is by area alone.
TjxsSelectFrm::TjxsSelectFrm(db::Connection& conn, QWidget* parent)
    : ui::TwoListPicker(conn,
                        {QStringLiteral("TjxsSelectFrm"),
                         QStringLiteral("选择经销商"),
                         QStringLiteral("select area_name from area"),
                         {{QStringLiteral("地区"), QStringLiteral("area_name"), true, {}, 120}},
                         QStringLiteral("地区"),
                         QStringLiteral("select dq, mc from jxs where dq = ?"),
                         {{QStringLiteral("名称"), QStringLiteral("mc"), true, {}, 160},
                          {QStringLiteral("dq"), QStringLiteral("dq"), true, {}, 90}},
                         QStringLiteral("经销商"),
                         QStringLiteral("mc"),
                         2,
                         3,
                         {480, 360}},
                        parent) {
    connect(&areas(), &data::DataSet::currentRowChanged, this, &TjxsSelectFrm::adsAreaAfterScroll);
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TjxsSelectFrm::DBGrid2DblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TjxsSelectFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TjxsSelectFrm::BitBtn2Click);
}

void TjxsSelectFrm::FormShow() { loadGroups(); }
void TjxsSelectFrm::adsAreaAfterScroll() { loadEntries(); }
void TjxsSelectFrm::BitBtn1Click() { takeCurrent(false); }
void TjxsSelectFrm::DBGrid2DblClick() { takeCurrent(true); }
void TjxsSelectFrm::BitBtn2Click() { reject(); }
