// Which window each menu item opens. Each window folder adds its entries here.
#include "app/openers.h"
#include "masterdata/cktype.h"
#include "masterdata/hwxh.h"
#include "masterdata/jhdw.h"
#include "masterdata/jxs.h"
#include "masterdata/oper.h"
#include "outbound/ck.h"
#include "queries/query.h"
#include "stockin/rkgl.h"
#include "storesales/mc.h"
#include "storesales/querymc.h"
#include "ui/prompter.h"

namespace app {

namespace {

// A modal window made on the shared connection, discarded when it closes.
template <class W>
Opener modal(db::Connection& conn) {
    return [&conn](QWidget* parent) {
        W w(conn, parent);
        ui::runModal(w);
    };
}

// A modeless window: each choice makes a new one, discarded when it closes.
template <class W>
Opener modeless(db::Connection& conn) {
    return [&conn](QWidget* parent) {
        auto* w = new W(conn, parent);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
    };
}

} // namespace

Openers windowOpeners(db::Connection& conn) {
    return {
        {QStringLiteral("nIN"), modal<TrkglFrm>(conn)},   {QStringLiteral("nJxck"), modal<TckFrm>(conn)},
        {QStringLiteral("nJhdw"), modal<TjhdwFrm>(conn)}, {QStringLiteral("nCplb"), modal<TcktypeFrm>(conn)},
        {QStringLiteral("nCpxh"), modal<ThwxhFrm>(conn)}, {QStringLiteral("nJxszl"), modal<TjxsFrm>(conn)},
        {QStringLiteral("nCzy"), modal<TOperFrm>(conn)},  {QStringLiteral("nJxscx"), modeless<TqueryFrm>(conn)},
        {QStringLiteral("nMcxs"), modal<TmcFrm>(conn)},   {QStringLiteral("nMccx"), modeless<TquerymcFrm>(conn)},
    };
}

} // namespace app
