#include "ui/guard.h"

#include <QDebug>

namespace ui {

void reportError(const std::exception& e) {
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
