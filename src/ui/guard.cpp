#include "ui/guard.h"

#include "data/tablewriter.h"

#include <QDebug>

namespace ui {

void reportError(const std::exception& e) {
    // Another desk was first: nothing went wrong here, the user is told as a plain message.
    if (auto* stale = dynamic_cast<const data::StaleRow*>(&e)) {
        prompter().message(stale->text());
        return;
    }
    QString text;
    if (auto* de = dynamic_cast<const db::DbError*>(&e)) {
        text = de->text();
        qWarning().noquote() << "database error:" << text << "engine:" << de->engineText() << "in:" << de->statement();
    } else if (auto* ve = dynamic_cast<const db::Error*>(&e)) {
        text = ve->text();
    } else {
        text = QString::fromUtf8(e.what());
    }
    prompter().stop(text);
}

} // namespace ui
