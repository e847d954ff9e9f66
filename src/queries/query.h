#pragma once

#include "data/criteria.h"
#include "db/connection.h"
#include "queries/goodscriteria.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// Goods query: collects the criteria for goods units and opens a new goods list
// for them at every "确定 &s.". Modeless; several may be open at once, and each
// keeps its criteria between runs so that the user can refine them.
class TqueryFrm : public QDialog {
    Q_OBJECT
public:
    explicit TqueryFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TqueryFrm() override;

    // The criteria of the last run, handed to its goods list.
    data::Criteria sqlWhere;

    // What the controls hold now.
    queries::GoodsQuery query() const;

public slots:
    void FormShow();
    void btnSaveClick();
    void btnCloseClick();
    void cbxRkClick();
    void cbxCkClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    db::Connection& conn_;
    bool shown_ = false;

    QComboBox* cmbXh = nullptr;
    QLineEdit* edttxm = nullptr;
    QComboBox* cmbType = nullptr;
    QComboBox* cmbIfIn = nullptr;
    QComboBox* cmbKhmc = nullptr;
    QComboBox* cmbJhname = nullptr;
    QLineEdit* edtPjh = nullptr;
    QCheckBox* cbxRk = nullptr;
    QDateEdit* dtpRstart = nullptr;
    QDateEdit* dtpRend = nullptr;
    QCheckBox* cbxCk = nullptr;
    QDateEdit* dtpCstart = nullptr;
    QDateEdit* dtpCend = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;
};
