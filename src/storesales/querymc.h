#pragma once

#include "data/criteria.h"
#include "db/connection.h"
#include "storesales/salesquery.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// Store sales query: the criteria for a store sales result window. Modeless, so
// several may be open; each Confirm opens a new modal result window.
class TquerymcFrm : public QDialog {
    Q_OBJECT
public:
    explicit TquerymcFrm(db::Connection& conn, QWidget* parent = nullptr);

    // A new window, shown without blocking the others and discarded when closed.
    static TquerymcFrm* openModeless(db::Connection& conn, QWidget* parent);

    // The criteria of the last Confirm.
    data::Criteria sqlWhere;
    // What the boxes hold now, as criteria would be taken from them.
    storesales::SalesQuery query() const;

public slots:
    void FormShow();
    void cbxGJClick();
    void cbxShClick();
    void btnSaveClick();
    void btnCloseClick();

    // Esc and "退出 &e.".
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    db::Connection& conn_;
    bool shown_ = false;

    QLineEdit* edttxm = nullptr;
    QLineEdit* edtPjh = nullptr;
    QLineEdit* edtTel = nullptr;
    QLineEdit* edtKhaddress = nullptr;
    QLineEdit* edtKhxm = nullptr;
    QComboBox* cmbXsmc = nullptr;
    QLineEdit* edtGcs = nullptr;
    QComboBox* cmbFinish = nullptr;
    QCheckBox* cbxGJ = nullptr;
    QDateEdit* dtpGstart = nullptr;
    QDateEdit* dtpGend = nullptr;
    QCheckBox* cbxSh = nullptr;
    QDateEdit* dtpSstart = nullptr;
    QDateEdit* dtpSend = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;
};
