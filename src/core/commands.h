#pragma once

#include <QString>

#include <vector>

namespace core {

// One rights-gated command of the main menu.
struct Command {
    const char* item;     // objectName of the menu action
    const char* menu;     // objectName of the menu it sits in; empty for the menu bar itself
    const char* menuText; // caption of that menu; empty for the menu bar
    const char* caption;  // the action's caption, also the header of its right in the operator window
    const char* column;   // the right column of table operator
    QString text() const { return QString::fromUtf8(caption); }
    QString field() const { return QString::fromLatin1(column); }
    QString name() const { return QString::fromLatin1(item); }
};

// The ten commands in menu order.
const std::vector<Command>& commands();

} // namespace core
