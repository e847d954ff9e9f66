#include "app/rights.h"

namespace app {

const std::vector<MenuRight>& menuRights() {
    static const std::vector<MenuRight> r = {
        {"nIN", "rk"},     {"nJxck", "jxsck"},  {"nMcxs", "mcxs"}, {"nJxscx", "jxcx"}, {"nMccx", "mccx"},
        {"nJhdw", "jhdw"}, {"nJxszl", "jxszl"}, {"nCplb", "cplb"}, {"nCpxh", "cpxh"},  {"nCzy", "czy"},
    };
    return r;
}

} // namespace app
