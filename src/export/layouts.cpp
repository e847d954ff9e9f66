#include "export/layouts.h"

namespace exporting {

const Layout& goodsListLayout() {
    static const Layout l{QStringLiteral("仓库查询统计"),
                          {{QStringLiteral("序号"), QStringLiteral("hwid")},
                           {QStringLiteral("条形码"), QStringLiteral("txm")},
                           {QStringLiteral("出入库"), QStringLiteral("if_in")},
                           {QStringLiteral("货物名称"), QStringLiteral("hwmc")},
                           {QStringLiteral("进货单位"), QStringLiteral("jhname")},
                           {QStringLiteral("货物类别"), QStringLiteral("type_name")},
                           {QStringLiteral("入库日期"), QStringLiteral("rkrq")},
                           {QStringLiteral("出库日期"), QStringLiteral("ckrq")},
                           {QStringLiteral("客户名称"), QStringLiteral("khmc")},
                           {QStringLiteral("客户电话"), QStringLiteral("khtel")},
                           {QStringLiteral("客户地址"), QStringLiteral("khaddress")},
                           {QStringLiteral("备注"), QStringLiteral("remark")}}};
    return l;
}

const Layout& storeSalesLayout() {
    static const Layout l{QStringLiteral("买场销售查询统计"),
                          {{QStringLiteral("购机日期"), QStringLiteral("gjrq")},
                           {QStringLiteral("销售买场"), QStringLiteral("xsdd")},
                           {QStringLiteral("客户姓名"), QStringLiteral("khxm")},
                           {QStringLiteral("型号描述"), QStringLiteral("xhms")},
                           {QStringLiteral("操作系统"), QStringLiteral("czxt")},
                           {QStringLiteral("促销软件"), QStringLiteral("cxrj")},
                           {QStringLiteral("促销品"), QStringLiteral("cxp")},
                           {QStringLiteral("促销员"), QStringLiteral("cxy")},
                           {QStringLiteral("联系方式"), QStringLiteral("tel")},
                           {QStringLiteral("送货日期"), QStringLiteral("shrq")},
                           {QStringLiteral("工程师"), QStringLiteral("gcs")},
                           {QStringLiteral("客户地址"), QStringLiteral("khaddress")},
                           {QStringLiteral("是否完工"), QStringLiteral("finish")},
                           {QStringLiteral("套数"), QStringLiteral("ts")},
                           {QStringLiteral("备注"), QStringLiteral("bz")}}};
    return l;
}

namespace {
// Dealers and stores share their columns; only the title differs.
std::vector<LayoutColumn> jxsColumns() {
    return {{QStringLiteral("名称"), QStringLiteral("mc")},     {QStringLiteral("联系人"), QStringLiteral("linker")},
            {QStringLiteral("手机"), QStringLiteral("mobile")}, {QStringLiteral("电话"), QStringLiteral("tel")},
            {QStringLiteral("地址"), QStringLiteral("addr")},   {QStringLiteral("地区"), QStringLiteral("dq")},
            {QStringLiteral("备注"), QStringLiteral("bz")}};
}
} // namespace

const Layout& dealerListLayout() {
    static const Layout l{QStringLiteral("经销商信息"), jxsColumns()};
    return l;
}

const Layout& storeListLayout() {
    static const Layout l{QStringLiteral("卖场信息"), jxsColumns()};
    return l;
}

} // namespace exporting
