#pragma once

#include "ui/picker.h"

// The dealer picker: sales areas on the left, the dealers and stores of the
// current area on the right. Callers open it modally and always copy
// selectedMc into their customer box, so a cancel empties the box.
class TjxsSelectFrm : public ui::TwoListPicker {
    Q_OBJECT
public:
    explicit TjxsSelectFrm(db::Connection& conn, QWidget* parent = nullptr);

    QString selectedMc; // the chosen name, or empty

    data::DataSet& areas() { return left(); }
    data::DataSet& dealers() { return right(); }

public slots:
    void FormShow();
    void adsAreaAfterScroll();
    void BitBtn1Click();
    void DBGrid2DblClick();
    void BitBtn2Click();

protected:
    void chose(const QString& value) override { selectedMc = value; }
};
