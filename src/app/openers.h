#pragma once

#include "db/connection.h"

#include <QHash>
#include <QString>

#include <functional>

class QWidget;

namespace app {

// Opens the window of one menu item (by the item's name, "nIN", "nJhdw", ...),
// owned by the given parent. Modal windows run through ui::runModal and are
// discarded when they close.
using Opener = std::function<void(QWidget* parent)>;
using Openers = QHash<QString, Opener>;

// Every window the menu can open; defined next to main.cpp, where all window
// folders are linked.
Openers windowOpeners(db::Connection& conn);

} // namespace app
