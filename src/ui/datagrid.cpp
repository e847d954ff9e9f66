#include "ui/datagrid.h"

#include "ui/guard.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace ui {

namespace {

// Offers a column's pick list as an editable drop-down; other text may be typed.
class PickListDelegate : public QStyledItemDelegate {
public:
    explicit PickListDelegate(GridModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const Column& c = model_->column(index.column());
        if (c.pickList.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(c.pickList);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    GridModel* model_;
};

} // namespace

DataGrid::DataGrid(data::DataSet& list, std::vector<Column> columns, QWidget* parent)
    : QTableView(parent), list_(list) {
    model_ = new GridModel(list, columns, this);
    setModel(model_);
    setItemDelegate(new PickListDelegate(model_, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Fixed row heights: the view never measures rows, however many there are.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int w = columns[c].width > 0 ? columns[c].width
                                           : std::max(70, fontMetrics().horizontalAdvance(columns[c].header) + 40);
        setColumnWidth(c, w);
    }
    // While the list takes a row out or puts one in, the view's own moves of
    // its current line are no moves of the user: they must not store or drop rows.
    for (auto begin : {&data::DataSet::aboutToRemoveRow, &data::DataSet::aboutToInsertRow})
        connect(&list_, begin, this, [this](int) { listChanging_ = true; });
    for (auto end : {&data::DataSet::rowRemoved, &data::DataSet::rowInserted})
        connect(&list_, end, this, [this](int) { listChanging_ = false; });
    connect(&list_, &data::DataSet::currentRowChanged, this, &DataGrid::showListRow);
    connect(&list_, &data::DataSet::resetDone, this, [this] { showListRow(list_.currentRow()); });
    showListRow(list_.currentRow());
}

void DataGrid::setReadOnly(bool ro) {
    model_->setReadOnly(ro);
    setEditTriggers(ro ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
}

void DataGrid::showListRow(int row) {
    if (syncing_ || !model_->hasList())
        return;
    syncing_ = true;
    const int col = std::max(0, currentIndex().column());
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearSelection();
    } else {
        const QModelIndex idx = model_->index(row, col);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    }
    syncing_ = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || listChanging_ || !model_->hasList() || !current.isValid() || current.row() == list_.currentRow())
        return;
    syncing_ = true;
    guard([&] { list_.setCurrentRow(current.row()); });
    syncing_ = false;
    // The list may have refused the move (a row it could not store) or moved
    // elsewhere (an untouched new row dropped): show where it really is.
    if (list_.currentRow() != current.row())
        QMetaObject::invokeMethod(
            this, [this] { showListRow(list_.currentRow()); }, Qt::QueuedConnection);
}

void DataGrid::keyPressEvent(QKeyEvent* e) {
    const bool down = e->key() == Qt::Key_Down && e->modifiers() == Qt::NoModifier;
    if (down && appendPastEnd_ && !isReadOnly() && model_->hasList() && list_.isOpen() &&
        (list_.count() == 0 || list_.currentRow() == list_.count() - 1)) {
        // An open cell editor hands its text over first, as leaving the cell does.
        if (state() == QAbstractItemView::EditingState) {
            QWidget* editor = QApplication::focusWidget();
            if (editor && editor != this && isAncestorOf(editor)) {
                commitData(editor);
                closeEditor(editor, QAbstractItemDelegate::NoHint);
            }
        }
        // Moving past the last line: an untouched new row stays the only one.
        if (!(list_.state() == data::State::Insert && !list_.isModified()))
            guard([&] { list_.append(); });
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

} // namespace ui
