#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>
#include <QString>

class QPushButton;

namespace ui {
class DataGrid;
}

// The model picker: categories on the left, the models of the current category
// on the right. Callers open it modally and always copy selectedXh into their
// model box, so a cancel empties the box.
class TxhSelectFrm : public QDialog {
    Q_OBJECT
public:
    explicit TxhSelectFrm(db::Connection& conn, QWidget* parent = nullptr);
    ~TxhSelectFrm() override;

    QString selectedXh; // the chosen model code, or empty

    data::DataSet& categories() { return adsType_; }
    data::DataSet& models() { return adsXh_; }

public slots:
    void FormShow();
    void DBGrid1AfterScroll();
    void DBGrid2DblClick();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString currentXh() const;

    db::Connection& conn_;
    data::DataSet adsType_;
    data::DataSet adsXh_;
    ui::DataGrid* DBGrid1 = nullptr;
    ui::DataGrid* DBGrid2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
