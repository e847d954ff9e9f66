#pragma once

#include "data/dataset.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace ui {

// One column of a grid: its header, the list's field it shows, whether it can
// be edited in place, and an optional pick list offered while editing.
struct Column {
    QString header;
    QString field;
    bool readOnly = false;
    QStringList pickList;
    int width = 0; // pixels; 0 takes a width from the header
};

// A grid over a DataSet: row r of the model is row r of the list. The model only
// reads the rows the view asks for, so a list of a million rows shows at once.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(data::DataSet& list, std::vector<Column> columns, QObject* parent = nullptr);

    data::DataSet& list() const { return list_; }
    const Column& column(int c) const { return columns_[c]; }
    void setReadOnly(bool ro) { readOnly_ = ro; }
    bool isReadOnly() const { return readOnly_; }
    // False once the list is destroyed: a window's lists may go before its
    // grids, and an editor closing then must not reach them.
    bool hasList() const { return listAlive_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Typing into a cell makes its row current (storing the row left) and puts
    // it into editing; errors go to the general error guard.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    int fieldOf(int column) const;

    data::DataSet& list_;
    std::vector<Column> columns_;
    bool readOnly_ = false;
    bool listAlive_ = true;
    int rows_ = 0;
};

} // namespace ui
