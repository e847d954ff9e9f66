#include "storesales/mc.h"

#include "core/codes.h"

namespace {

storesales::Variant entryWindow() {
    storesales::Variant v;
    v.className = QStringLiteral("TmcFrm");
    v.caption = QStringLiteral("卖场销售");
    return v;
}

} // namespace

TmcFrm::TmcFrm(db::Connection& conn, QWidget* parent) : SalesForm(conn, entryWindow(), parent) {}

void TmcFrm::setSalesStatement(data::DataSet& list) {
    list.setSql(QStringLiteral("select * from mcxs where finish = ? order by mcid"), {core::codes::kUnfinished});
}
