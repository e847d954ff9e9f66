#pragma once

#include "masterdata/maintenance.h"

// Product categories, edited in the list; no checks, never deleted here.
class TcktypeFrm : public masterdata::MaintenanceFrm {
    Q_OBJECT
public:
    explicit TcktypeFrm(db::Connection& conn, QWidget* parent = nullptr);

private:
    ui::DataGrid* dbgType = nullptr;
};
