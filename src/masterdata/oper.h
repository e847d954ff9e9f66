#pragma once

#include "masterdata/maintenance.h"

// Operators and their rights, edited in the list. A new operator gets no
// rights and an empty password; the password itself is never shown here.
class TOperFrm : public masterdata::MaintenanceFrm {
    Q_OBJECT
public:
    explicit TOperFrm(db::Connection& conn, QWidget* parent = nullptr);

public slots:
    void adsOperAfterInsert();

private:
    ui::DataGrid* dbgOper = nullptr;
};
