// Which window each menu item opens. Each window folder adds its entries here.
#include "app/openers.h"
#include "masterdata/cktype.h"
#include "masterdata/hwxh.h"
#include "masterdata/jhdw.h"
#include "masterdata/jxs.h"
#include "masterdata/oper.h"
#include "outbound/ck.h"
#include "stockin/rkgl.h"
#include "ui/prompter.h"

namespace app {

Openers windowOpeners(db::Connection& conn) {
    Openers o;
    // Example of an entry (a modal window that loads its lists when shown):
    // o.insert(QStringLiteral("nIN"), [&conn](QWidget* parent) {
    //     TrkglFrm w(conn, parent);
    //     ui::runModal(w);
    // });
    o.insert(QStringLiteral("nIN"), [&conn](QWidget* parent) {
        TrkglFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nJxck"), [&conn](QWidget* parent) {
        TckFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nJhdw"), [&conn](QWidget* parent) {
        TjhdwFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nCplb"), [&conn](QWidget* parent) {
        TcktypeFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nCpxh"), [&conn](QWidget* parent) {
        ThwxhFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nJxszl"), [&conn](QWidget* parent) {
        TjxsFrm w(conn, parent);
        ui::runModal(w);
    });
    o.insert(QStringLiteral("nCzy"), [&conn](QWidget* parent) {
        TOperFrm w(conn, parent);
        ui::runModal(w);
    });
    (void)conn;
    return o;
}

} // namespace app
