#pragma once

#include "data/criteria.h"
#include "storesales/salesform.h"

// Store sales result: the sales a store sales query selected, finished or not,
// the first one current. Sales are changed here as in the entry window, but
// none is added.
class TmccxFrm : public storesales::SalesForm {
    Q_OBJECT
public:
    explicit TmccxFrm(db::Connection& conn, QWidget* parent = nullptr);

    // Set by the query window before the window is shown; empty lists no sale.
    data::Criteria sqlWhere;

protected:
    void setSalesStatement(data::DataSet& list) override;
};
