#pragma once

#include "ui/gridmodel.h"

#include <QTableView>

namespace ui {

// A grid view kept in step with its list's current row: selecting a line moves
// the list there (storing the row left), and a row the list moves to is shown.
// In an editable grid, moving down past the last line starts a new row.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(data::DataSet& list, std::vector<Column> columns, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }
    data::DataSet& list() const { return list_; }
    void setReadOnly(bool ro);
    bool isReadOnly() const { return model_->isReadOnly(); }
    // Moving past the last line appends a row (editable grids only).
    void setAppendOnMovePastEnd(bool on) { appendPastEnd_ = on; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void showListRow(int row);

    data::DataSet& list_;
    GridModel* model_;
    bool appendPastEnd_ = true;
    bool syncing_ = false;
    bool listChanging_ = false; // between the list's announcement of a row removed or inserted and its end
};

} // namespace ui
