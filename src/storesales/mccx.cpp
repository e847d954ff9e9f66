#include "storesales/mccx.h"

namespace {

storesales::Variant resultWindow() {
    storesales::Variant v;
    v.className = QStringLiteral("TmccxFrm");
    v.caption = QStringLiteral("卖场销售查询");
    v.canAdd = false;
    v.unitNumberShown = false;
    v.lastSaleCurrent = false;
    v.composedWarning = false;
    return v;
}

} // namespace

TmccxFrm::TmccxFrm(db::Connection& conn, QWidget* parent) : SalesForm(conn, resultWindow(), parent) {}

void TmccxFrm::setSalesStatement(data::DataSet& list) {
    if (sqlWhere.isEmpty())
        list.setSql(QStringLiteral("select * from mcxs where 1=2"));
    else
        list.setSql(QStringLiteral("select * from mcxs") + sqlWhere.where() + QStringLiteral(" order by mcid"),
                    sqlWhere.params());
}
