#pragma once

#include "data/criteria.h"
#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {
class DataGrid;
}

namespace queries {
class UnitCorrections;
}

// Goods list: the units that meet a goods query, to count, correct by hand,
// delete and export. It is the general correction tool for units, so no rule of
// the stock is applied to what is typed; a unit another desk changed meanwhile
// is refused by the list.
class TckmxFrm : public QDialog {
    Q_OBJECT
public:
    explicit TckmxFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TckmxFrm() override;

    // The criteria, set before the window is shown. Without any, nothing is listed.
    data::Criteria sqlWhere;

    data::DataSet& units() { return adsHwgl_; }

public slots:
    void FormShow();
    void btnSaveClick();
    void btnDelClick();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillChoices();
    void bindKey(QComboBox* box, const QString& field);
    void bindDate(QLineEdit* edit, const QString& field);
    void enablePanel();

    db::Connection& conn_;
    data::DataSet adsJhdw_;
    data::DataSet adsType_;
    data::DataSet adsHwgl_;
    queries::UnitCorrections* corrections_ = nullptr;

    QWidget* panel_ = nullptr;
    QLineEdit* edtHwid = nullptr;
    QLineEdit* edtTxm = nullptr;
    QComboBox* cmbIfIn = nullptr;
    QLineEdit* edtHwmc = nullptr;
    QComboBox* dlkJhdw = nullptr;
    QComboBox* dlkType = nullptr;
    QLineEdit* edtRkrq = nullptr;
    QLineEdit* edtCkrq = nullptr;
    QLineEdit* edtKhmc = nullptr;
    QLineEdit* edtKhtel = nullptr;
    QLineEdit* edtKhaddress = nullptr;
    QLineEdit* edtPjh = nullptr;
    QLineEdit* edtRemark = nullptr;
    ui::DataGrid* DBGrid1 = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* btnClose = nullptr;
    QCheckBox* cbxTotal = nullptr;
};
