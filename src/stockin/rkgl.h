#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class DataGrid;
}

// Stock-in: registers the units received from a supplier, one hwgl row per
// unit, and lists today's units that are still in stock.
class TrkglFrm : public QDialog {
    Q_OBJECT
public:
    explicit TrkglFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TrkglFrm() override;

    data::DataSet& units() { return adsHwgl_; }
    data::DataSet& suppliers() { return adsJhdw_; }

    // A stock-in that runs longer than this shows its progress (and the
    // screen is repainted meanwhile).
    int progressAfterMs = 500;

public slots:
    void FormShow();
    void btnAddClick();
    void btnDelClick();
    void btnSaveClick();
    void cmbXhDblClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void fillSuppliers();

    db::Connection& conn_;
    data::DataSet adsJhdw_;
    data::DataSet adsHwgl_;

    QComboBox* cmbXh = nullptr;
    QComboBox* dlkDwmcPL = nullptr;
    QLineEdit* edtNum = nullptr;
    QDateEdit* dtpRkrq = nullptr;
    QPlainTextEdit* memRemark = nullptr;
    QPushButton* btnAdd = nullptr;
    ui::DataGrid* DBGrid1 = nullptr;
    QCheckBox* cbxTotal = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;
};
