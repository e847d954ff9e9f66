#pragma once

#include "data/dataset.h"
#include "db/connection.h"
#include "outbound/issuer.h"

#include <QDialog>

#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class DataGrid;
}

// Dealer outbound: issues single units from stock to a dealer's customer and
// lists the units issued from this window, which can be taken back. The unit
// chosen and the bar code check are decided in the database by the Issuer, so
// the window never loads the stock itself.
class TckFrm : public QDialog {
    Q_OBJECT
public:
    explicit TckFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TckFrm() override;

    // The units issued from this window and not taken back, in hwid order.
    data::DataSet& issued() { return adsHwgl_; }

public slots:
    void FormShow();
    void btnCkClick();
    void N1Click();
    void cmbXhDblClick();
    void cmbKhmcDblClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Re-reads the issued units (only those), keeping `currentHwid` current, or
    // else the line at `fallbackRow`.
    void reloadIssued(qint64 currentHwid, int fallbackRow = 0);

    db::Connection& conn_;
    outbound::Issuer issuer_;
    data::DataSet adsHwgl_;
    std::vector<qint64> issuedIds_;

    QComboBox* cmbXh = nullptr;
    QLineEdit* edtTxm = nullptr;
    QLineEdit* edtPjh = nullptr;
    QComboBox* cmbKhmc = nullptr;
    QDateEdit* dtpCkrq = nullptr;
    QPlainTextEdit* memRemark = nullptr;
    QPushButton* btnCk = nullptr;
    QPushButton* btnClose = nullptr;
    QCheckBox* cbxTotal = nullptr;
    ui::DataGrid* DBGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
};
