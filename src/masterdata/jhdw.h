#pragma once

#include "masterdata/maintenance.h"

class QLineEdit;
class QPlainTextEdit;

// Suppliers: a read-only list with the current supplier's fields beside it.
// A name is required on Save; suppliers are never deleted here.
class TjhdwFrm : public masterdata::MaintenanceFrm {
    Q_OBJECT
public:
    explicit TjhdwFrm(db::Connection& conn, QWidget* parent = nullptr);

protected:
    void checkSave() override;
    void focusNewRow() override;

private:
    ui::DataGrid* dbgJhdw = nullptr;
    QLineEdit* edtDwmc = nullptr;
    QLineEdit* edtTel = nullptr;
    QLineEdit* edtAddress = nullptr;
    QPlainTextEdit* memBz = nullptr;
};
