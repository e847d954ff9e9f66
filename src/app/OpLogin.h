#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>
#include <QPixmap>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

// The login: an operator code and a password that must match a row of
// `operator`. Seeds an empty table with the default operator and offers the
// password change. Confirmed (accept) leaves the login query on the operator's
// row, from which the main window reads the rights.
class TOpLoginFrm : public QDialog {
    Q_OBJECT
public:
    explicit TOpLoginFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TOpLoginFrm() override;

    // After a confirmed login: the text of a column of the logged-in operator's
    // row ("" when there is no such row or the value is null).
    QString operatorField(const QString& column) const;
    bool isLoggedIn() const;

    // Presses of "确认" so far.
    int attempts() const { return attempts_; }

public slots:
    // Loads the operator list; an empty table gets the default operator.
    void FormShow();
    void btnOkClick();
    void BitBtn1Click();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void closeLoginQuery();
    // Stores the hash of a password the file still holds as plain text.
    void hashPlainPassword(const QString& password);

    QLineEdit* edtName = nullptr;
    QLineEdit* edtPass = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* btnCancel = nullptr;
    // Why the default operator could not be stored in an empty table, if it could not.
    QString seedFailure_;
    // The first row of `list` whose password matches, or -1.
    static int firstMatch(const data::DataSet& list, const QString& password);

    db::Connection& conn_;
    // All operators: seeds the default one and finds the row whose password changes.
    data::DataSet adsOper_;
    // The login query: after a login, on the operator's row.
    data::DataSet adoqLogin_;
    bool loggedIn_ = false;
    int attempts_ = 0;
    QPixmap background_;
};
