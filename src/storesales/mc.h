#pragma once

#include "storesales/salesform.h"

// Store sale entry: the unfinished sales, newest current.
class TmcFrm : public storesales::SalesForm {
    Q_OBJECT
public:
    explicit TmcFrm(db::Connection& conn, QWidget* parent = nullptr);

protected:
    void setSalesStatement(data::DataSet& list) override;
};
