#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace app {

// A menu item gated by a right column of the logged-in operator's row.
struct MenuRight {
    const char* item;   // objectName of the menu action
    const char* column; // column of table operator
};

// The ten rights-gated commands of the main menu.
const std::vector<MenuRight>& menuRights();

// Only exactly "有" grants a right; "无", empty, null or any other text refuses it.
inline bool grants(const QString& value) { return value == QStringLiteral("有"); }

} // namespace app
