// Which window each menu item opens. Each window folder adds its entries here.
#include "app/openers.h"
#include "ui/prompter.h"
#include "outbound/ck.h"
#include "stockin/rkgl.h"

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
    (void)conn;
    return o;
}

} // namespace app
