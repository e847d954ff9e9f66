#pragma once

#include "data/dataset.h"
#include "db/connection.h"
#include "storesales/seller.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace ui {
class DataGrid;
class FieldLink;
} // namespace ui

namespace storesales {

// What tells the store sale entry window from the store sales result window;
// everything else they share.
struct Variant {
    QString className;
    QString caption;
    bool canAdd = true;          // "增加 &a" and the context menu's "增加"
    bool unitNumberShown = true; // the units list's "序号" column
    bool lastSaleCurrent = true; // after opening: the newest sale, or the first
    bool composedWarning = true; // the bar-code warning names the unit holding it
};

// A store sales window: the sale headers on the left, the current sale's
// details and its units on the right. Units are sold from stock by the Seller,
// which decides in the database, so the window never holds the stock itself.
class SalesForm : public QDialog {
    Q_OBJECT
public:
    SalesForm(db::Connection& conn, const Variant& variant, QWidget* parent = nullptr);
    ~SalesForm() override;

    data::DataSet& sales() { return adsMcxs_; }
    data::DataSet& units() { return adsMcxshp_; }

public slots:
    void FormShow();
    void adsMcxsAfterScroll();
    void btnAddClick();
    void btnSaveClick();
    void btnDelClick();
    void BitBtn2Click();
    void edtPjhKeyDown(); // Enter in "票据号"
    void nn1Click();
    void cmbXhDblClick();
    void BitBtn3Click();
    void btnCloseClick();

protected:
    // Gives the header list its statement.
    virtual void setSalesStatement(data::DataSet& list) = 0;

    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void adsMcxshpBeforePost(data::DataSet& list);
    // Rows of the header list written to the database (a new row not counted).
    int writtenSales() const;
    qint64 currentMcid() const;
    void commitGridEdits();

    db::Connection& conn_;
    const Variant variant_;
    Seller seller_;
    data::DataSet adsMcxs_;
    data::DataSet adsMcxshp_;
    bool shown_ = false;
    bool unitsHeld_ = false;

    ui::DataGrid* dbgMcxs = nullptr;
    ui::DataGrid* DBGrid2 = nullptr;
    QLineEdit* edtGjrq = nullptr;
    QComboBox* cmbXsdd = nullptr;
    QLineEdit* edtKhxm = nullptr;
    QLineEdit* edtXhms = nullptr;
    QComboBox* cmbCzxt = nullptr;
    QLineEdit* edtCxrj = nullptr;
    QLineEdit* edtCxp = nullptr;
    QLineEdit* edtCxy = nullptr;
    QLineEdit* edtTel = nullptr;
    QLineEdit* edtShrq = nullptr;
    QLineEdit* edtGcs = nullptr;
    QLineEdit* edtKhaddress = nullptr;
    QComboBox* cmbFinish = nullptr;
    QLineEdit* edtTs = nullptr;
    QLineEdit* edtBz = nullptr;
    QLineEdit* edtPjh = nullptr;
    QComboBox* cmbXh = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QCheckBox* cbxTotal = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;
    QMenu* PopupMenu1 = nullptr; // the window's
    QMenu* PopupMenu2 = nullptr; // the units list's
    QAction* N1 = nullptr;       // 增加
    QAction* N2 = nullptr;       // 删除
    QAction* N3 = nullptr;       // 保存
    QAction* N4 = nullptr;       // 退出
    QAction* nn1 = nullptr;      // 取消出库
    QAction* nn2 = nullptr;      // 保存
};

} // namespace storesales
