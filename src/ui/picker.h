#pragma once

#include "data/dataset.h"
#include "db/connection.h"
#include "ui/gridmodel.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <vector>

class QPushButton;

namespace ui {

class DataGrid;

// What a two-list picker shows: groups on the left, the entries of the current
// group on the right, and the field of an entry that is the choice.
struct PickerSetup {
    QString objectName;
    QString title;
    QString leftSql;                 // the groups
    std::vector<Column> leftColumns; // the first column's field is bound into rightSql
    QString leftName;                // accessible name of the left list
    QString rightSql;                // the entries of one group: one "?" for its value
    std::vector<Column> rightColumns;
    QString rightName;
    QString resultField; // the entry's field that is chosen
    int leftStretch = 1;
    int rightStretch = 1;
    QSize size{420, 360};
};

// A dialog that picks one entry out of two lists. Callers open it modally and
// read chosen(); it is empty after a cancel, so that the box it fills is
// emptied. The lists only choose: nothing in them can be changed.
class TwoListPicker : public QDialog {
    Q_OBJECT
public:
    TwoListPicker(db::Connection& conn, PickerSetup setup, QWidget* parent);
    ~TwoListPicker() override;

    data::DataSet& left() { return left_; }
    data::DataSet& right() { return right_; }
    const QString& chosen() const { return chosen_; }

protected:
    void showEvent(QShowEvent* e) override;

    // Reads the groups; the first becomes current, which reads its entries.
    void loadGroups();
    // Reads the entries of the current group.
    void loadEntries();
    // Takes the current entry and closes; with requireEntry, nothing happens
    // while no entry is current.
    void takeCurrent(bool requireEntry);
    // Called with the choice before the dialog closes accepted.
    virtual void chose(const QString& value) = 0;

    ui::DataGrid* DBGrid1 = nullptr;
    ui::DataGrid* DBGrid2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    QString currentEntry() const;

    PickerSetup setup_;
    data::DataSet left_;
    data::DataSet right_;
    QString chosen_;
};

} // namespace ui
