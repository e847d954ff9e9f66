#pragma once

#include "db/connection.h"

#include <QDateTime>

namespace queries_test {

// Two suppliers and two categories (stored with blanks around some names), two
// models, a dealer, a store, and three units: hwid 3 issued, 5 and 7 in stock.
inline void addGoods(db::Connection& c) {
    for (const char* s : {"华联电脑 ", "西湖数码"})
        c.exec("insert into jhdw (dwmc) values (?)", {s});
    for (const char* t : {" 笔记本", "显示器"})
        c.exec("insert into cktype (type_name) values (?)", {t});
    c.exec("insert into hwxh (xh, type_name) values (' X1', '笔记本'), ('P27', '显示器')");
    c.exec("insert into jxs (mc, type) values (' 杭州华联', 'jx'), ('银泰卖场', 'mc')");
    c.exec("insert into hwgl (hwid, hwmc, if_in, jhid, type_id, rkrq) values (7, 'P27', '入', 2, 2, ?)",
           {QDate(2024, 3, 2)});
    c.exec("insert into hwgl (hwid, hwmc, if_in, jhid, type_id, rkrq, ckrq, txm, pjh, khmc, khtel) "
           "values (3, 'X1', '出', 1, 1, ?, ?, 'TX-1', 'PJ-1', '杭州华联', '0571-1')",
           {QDate(2024, 3, 1), QDateTime(QDate(2024, 3, 5), QTime(14, 30))});
    c.exec("insert into hwgl (hwid, hwmc, if_in, jhid, rkrq) values (5, 'X1', '入', 1, ?)", {QDate(2024, 3, 1)});
}

} // namespace queries_test
