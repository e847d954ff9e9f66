#include "ui/picker.h"

#include "ui/datagrid.h"
#include "ui/forms.h"
#include "ui/guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ui {

namespace {

// The right list before a group is current: the same columns, no rows.
QString noEntries(const QString& rightSql) {
    return QStringLiteral("select * from (%1) as entries where 1=2").arg(rightSql);
}

} // namespace

TwoListPicker::TwoListPicker(db::Connection& conn, PickerSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)), left_(conn, this), right_(conn, this) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.title);

    DBGrid1 = new DataGrid(left_, setup_.leftColumns, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(setup_.leftName);
    DBGrid1->setReadOnly(true);
    DBGrid2 = new DataGrid(right_, setup_.rightColumns, this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(setup_.rightName);
    DBGrid2->setReadOnly(true);

    BitBtn1 = button(QStringLiteral("确定"), QStringLiteral("BitBtn1"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = button(QStringLiteral("退出"), QStringLiteral("BitBtn2"), this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(DBGrid1, setup_.leftStretch);
    lists->addWidget(DBGrid2, setup_.rightStretch);
    auto* buttons = rightAligned({BitBtn1, BitBtn2});
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addLayout(buttons);
    resize(setup_.size);
}

TwoListPicker::~TwoListPicker() = default;

void TwoListPicker::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        loadGroups();
}

void TwoListPicker::loadGroups() {
    guard([&] {
        right_.close();
        right_.setSql(noEntries(setup_.rightSql), {db::Value()});
        right_.open();
        left_.setSql(setup_.leftSql);
        left_.open(); // makes the first group current, which loads its entries
    });
}

void TwoListPicker::loadEntries() {
    guard([&] {
        if (!left_.isOpen() || left_.isEmpty())
            return;
        // The group is a bound value: a quote in it is just a character.
        right_.setSql(setup_.rightSql, {left_.value(setup_.leftColumns.front().field)});
        right_.open();
    });
}

QString TwoListPicker::currentEntry() const {
    if (!right_.isOpen() || right_.isEmpty())
        return {};
    return right_.value(setup_.resultField).toString();
}

void TwoListPicker::takeCurrent(bool requireEntry) {
    guard([&] {
        const QString value = currentEntry();
        if (requireEntry && value.isEmpty())
            return;
        chosen_ = value;
        chose(value);
        accept();
    });
}

} // namespace ui
