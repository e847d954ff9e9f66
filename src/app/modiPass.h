#pragma once

#include "data/dataset.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The password change for one operator: the row on which the login dialog
// leaves its operator list. "确定" closes the dialog whatever its outcome.
class TmodiPassFrm : public QDialog {
    Q_OBJECT
public:
    explicit TmodiPassFrm(data::DataSet& operators, QWidget* parent = nullptr);

    QLineEdit* edtOne = nullptr;
    QLineEdit* edtTwo = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

private:
    void store(const QString& password);

    data::DataSet& operators_;
};
