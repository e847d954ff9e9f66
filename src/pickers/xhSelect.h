#pragma once

#include "ui/picker.h"

// The model picker: categories on the left, the models of the current category
// on the right. Callers open it modally and always copy selectedXh into their
// model box, so a cancel empties the box.
class TxhSelectFrm : public ui::TwoListPicker {
    Q_OBJECT
public:
    explicit TxhSelectFrm(db::Connection& conn, QWidget* parent = nullptr);

    QString selectedXh; // the chosen model code, or empty

    data::DataSet& categories() { return left(); }
    data::DataSet& models() { return right(); }

public slots:
    void FormShow();
    void DBGrid1AfterScroll();
    void DBGrid2DblClick();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void chose(const QString& value) override { selectedXh = value; }
};
