#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>
#include <QString>

class QAbstractItemView;
class QHBoxLayout;
class QPushButton;
class QShowEvent;

namespace ui {
class DataGrid;
}

namespace masterdata {

// The four buttons every maintenance window has. Names get the suffix, so
// that a window with several lists can tell its button rows apart.
struct Buttons {
    QPushButton* add = nullptr;
    QPushButton* del = nullptr;
    QPushButton* save = nullptr;
    QPushButton* close = nullptr;
};
Buttons makeButtons(QWidget* parent, const QString& nameSuffix = {});

// Hands a cell being typed into over to the list, so that a command started
// by Enter or an accelerator sees what the user typed.
void finishGridEdit(QAbstractItemView* grid);

// The commands of the pattern on one list. With skipWhenEmpty, Delete and
// Save on a list without rows do nothing.
void addRow(data::DataSet& list);
void deleteRow(data::DataSet& list, bool skipWhenEmpty);
void saveRow(data::DataSet& list, bool skipWhenEmpty);

// A window over one list of table rows with Add, Delete, Save and Close. The
// window builds its own grid or fields and layout; the list is loaded the
// first time the window is shown.
class MaintenanceFrm : public QDialog {
    Q_OBJECT
public:
    data::DataSet& list() { return list_; }

public slots:
    void FormShow();
    void btnAddClick();
    void btnDelClick();
    void btnSaveClick();

protected:
    MaintenanceFrm(db::Connection& conn, const QString& className, const QString& title, QWidget* parent);

    void showEvent(QShowEvent* e) override;

    // What opening loads; by default the list with the statement it was given.
    virtual void loadLists();
    // A check of Save alone; throws data::Abort (after saying why) to stop it.
    virtual void checkSave() {}
    // Where the user goes on typing after Add.
    virtual void focusNewRow();

    // The four buttons in a row, right-aligned.
    QHBoxLayout* buttonRow();

    db::Connection& conn_;
    data::DataSet list_;
    ui::DataGrid* grid_ = nullptr; // set by the window when it has one
    bool skipWhenEmpty_ = false;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;

private:
    bool loaded_ = false;
};

} // namespace masterdata
