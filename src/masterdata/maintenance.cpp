#include "masterdata/maintenance.h"

#include "ui/datagrid.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>

namespace masterdata {

Buttons makeButtons(QWidget* parent, const QString& nameSuffix) {
    Buttons b;
    b.add = ui::button(QStringLiteral("增加 &a"), QStringLiteral("btnAdd") + nameSuffix, parent);
    b.del = ui::button(QStringLiteral("删除 &d."), QStringLiteral("btnDel") + nameSuffix, parent);
    b.save = ui::button(QStringLiteral("保存 &s."), QStringLiteral("btnSave") + nameSuffix, parent);
    b.close = ui::button(QStringLiteral("退出 &e."), QStringLiteral("btnClose") + nameSuffix, parent);
    return b;
}

void finishGridEdit(QAbstractItemView* grid) {
    if (!grid)
        return;
    const QModelIndex at = grid->currentIndex();
    QWidget* editor = at.isValid() ? grid->indexWidget(at) : nullptr;
    if (!editor)
        return;
    // The delegate would commit on its own only after the command has run.
    QAbstractItemDelegate* d = grid->itemDelegateForIndex(at);
    emit d->commitData(editor);
    emit d->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void addRow(data::DataSet& list) { list.append(); }

void deleteRow(data::DataSet& list, bool skipWhenEmpty) {
    if (skipWhenEmpty && (!list.isOpen() || list.count() == 0))
        return;
    if (!ui::prompter().confirm(QStringLiteral("确认要删除此条记录吗?")))
        return;
    list.remove();
}

void saveRow(data::DataSet& list, bool skipWhenEmpty) {
    if (skipWhenEmpty && (!list.isOpen() || list.count() == 0))
        return;
    // A row not being edited is stored unchanged; on an empty list edit()
    // starts a new row, so Save stores one holding only its presets.
    if (!list.isEditing())
        list.edit();
    list.post();
}

MaintenanceFrm::MaintenanceFrm(db::Connection& conn, const QString& className, const QString& title, QWidget* parent)
    : QDialog(parent), conn_(conn), list_(conn, this) {
    setObjectName(className);
    setWindowTitle(title);
    const Buttons b = makeButtons(this);
    btnAdd = b.add;
    btnDel = b.del;
    btnSave = b.save;
    btnClose = b.close;
    connect(btnAdd, &QPushButton::clicked, this, &MaintenanceFrm::btnAddClick);
    connect(btnDel, &QPushButton::clicked, this, &MaintenanceFrm::btnDelClick);
    connect(btnSave, &QPushButton::clicked, this, &MaintenanceFrm::btnSaveClick);
    // Esc rejects the dialog as well; what was not stored is dropped with the window.
    connect(btnClose, &QPushButton::clicked, this, &MaintenanceFrm::reject);
}

QHBoxLayout* MaintenanceFrm::buttonRow() { return ui::rightAligned({btnAdd, btnDel, btnSave, btnClose}); }

void MaintenanceFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !loaded_) {
        loaded_ = true;
        FormShow();
    }
}

void MaintenanceFrm::FormShow() {
    ui::guard([&] { loadLists(); });
}

void MaintenanceFrm::loadLists() { list_.open(); }

void MaintenanceFrm::focusNewRow() {
    if (!grid_)
        return;
    grid_->setFocus();
    const int row = list_.currentRow();
    if (row < 0)
        return;
    auto* m = grid_->model();
    int col = 0;
    while (col < m->columnCount() - 1 && !(m->flags(m->index(row, col)) & Qt::ItemIsEditable))
        ++col;
    grid_->setCurrentIndex(m->index(row, col));
}

void MaintenanceFrm::btnAddClick() {
    ui::guard([&] {
        finishGridEdit(grid_);
        addRow(list_);
        focusNewRow();
    });
}

void MaintenanceFrm::btnDelClick() {
    ui::guard([&] {
        finishGridEdit(grid_);
        deleteRow(list_, skipWhenEmpty_);
    });
}

void MaintenanceFrm::btnSaveClick() {
    ui::guard([&] {
        finishGridEdit(grid_);
        if (skipWhenEmpty_ && (!list_.isOpen() || list_.count() == 0))
            return;
        checkSave();
        saveRow(list_, skipWhenEmpty_);
    });
}

} // namespace masterdata
