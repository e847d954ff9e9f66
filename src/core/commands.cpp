#include "core/commands.h"

namespace core {

const std::vector<Command>& commands() {
    static const std::vector<Command> c = {
        {"nIN", "", "", "入库", "rk"},
        {"nJxck", "N2", "出库", "经销销售", "jxsck"},
        {"nMcxs", "N2", "出库", "卖场销售", "mcxs"},
        {"nJxscx", "N3", "查询修改", "经销查询", "jxcx"},
        {"nMccx", "N3", "查询修改", "卖场查询", "mccx"},
        {"nJhdw", "N4", "代码维护", "进货单位", "jhdw"},
        {"nJxszl", "N4", "代码维护", "经销卖场", "jxszl"},
        {"nCplb", "N4", "代码维护", "产品类别", "cplb"},
        {"nCpxh", "N4", "代码维护", "产品型号", "cpxh"},
        {"nCzy", "N4", "代码维护", "操作员", "czy"},
    };
    return c;
}

} // namespace core
