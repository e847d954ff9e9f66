#pragma once

#include <QString>

#include <vector>

namespace exporting {

// One column of an exported sheet: its header text and the list field that fills it.
struct LayoutColumn {
    QString header;
    QString field;
};

// What an export writes: the title (cell D1) and the columns, left to right.
struct Layout {
    QString title;
    std::vector<LayoutColumn> columns;
};

const Layout& goodsListLayout();  // "仓库查询统计"
const Layout& storeSalesLayout(); // "买场销售查询统计"
const Layout& dealerListLayout(); // "经销商信息"
const Layout& storeListLayout();  // "卖场信息"

} // namespace exporting
