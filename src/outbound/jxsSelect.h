#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>
#include <QString>

class QPushButton;

namespace ui {
class DataGrid;
}

// The dealer picker: sales areas on the left, the dealers and stores of the
// current area on the right. Callers open it modally and always copy
// selectedMc into their customer box, so a cancel empties the box.
class TjxsSelectFrm : public QDialog {
    Q_OBJECT
public:
    explicit TjxsSelectFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TjxsSelectFrm() override;

    QString selectedMc; // the chosen name, or empty

    data::DataSet& areas() { return adsArea_; }
    data::DataSet& dealers() { return adsJxs_; }

public slots:
    void FormShow();
    void adsAreaAfterScroll();
    void BitBtn1Click();
    void DBGrid2DblClick();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString currentMc() const;

    data::DataSet adsArea_;
    data::DataSet adsJxs_;
    ui::DataGrid* DBGrid1 = nullptr;
    ui::DataGrid* DBGrid2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
