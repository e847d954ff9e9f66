#include "ui/gridmodel.h"

#include "ui/guard.h"

namespace ui {

GridModel::GridModel(data::DataSet& list, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), list_(list), columns_(std::move(columns)), rows_(list.count()) {
    connect(&list_, &QObject::destroyed, this, [this] {
        listAlive_ = false;
        beginResetModel();
        rows_ = 0;
        endResetModel();
    });
    connect(&list_, &data::DataSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(&list_, &data::DataSet::resetDone, this, [this] {
        rows_ = list_.count();
        endResetModel();
    });
    connect(&list_, &data::DataSet::aboutToInsertRow, this, [this](int r) { beginInsertRows({}, r, r); });
    connect(&list_, &data::DataSet::rowInserted, this, [this](int) {
        rows_ = list_.count();
        endInsertRows();
    });
    connect(&list_, &data::DataSet::aboutToRemoveRow, this, [this](int r) { beginRemoveRows({}, r, r); });
    connect(&list_, &data::DataSet::rowRemoved, this, [this](int) {
        rows_ = list_.count();
        endRemoveRows();
    });
    connect(&list_, &data::DataSet::rowChanged, this, [this](int r) {
        if (columns_.empty() || rows_ == 0)
            return;
        if (r < 0 || r >= rows_) // a looked-up caption changed: every row may show another text
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
        else
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
    });
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int GridModel::fieldOf(int column) const { return list_.fieldIndex(columns_[column].field); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || !listAlive_)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return list_.displayText(index.row(), fieldOf(index.column()));
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal)
        return section < columnCount() ? columns_[section].header : QVariant();
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !listAlive_)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int field = fieldOf(index.column());
    if (!readOnly_ && !columns_[index.column()].readOnly && field >= 0 && !list_.field(field).lookup)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!listAlive_ || !index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int field = fieldOf(index.column());
    const QString typed = value.toString();
    if (index.row() == list_.currentRow() && list_.displayText(index.row(), field) == typed && !list_.isEditing())
        return true; // nothing typed: leave the row as it is
    return guard([&] {
        // Only a move to another row: "moving" to an untouched new row would drop it.
        if (index.row() != list_.currentRow())
            list_.setCurrentRow(index.row());
        if (list_.currentRow() != index.row())
            return;
        list_.setText(field, typed);
    });
}

} // namespace ui
