#include "core/schema.h"

#include "core/text.h"

namespace core::schema {

// The one description of the file. Widths are those the screens rely on; the
// password is wide enough for a salted hash.
const std::vector<Table>& tables() {
    static const std::vector<Table> t = {
        {"hwgl",
         {{"hwid", Kind::Key, 0, "序号"},
          {"txm", Kind::Text, 35, "条形码"},
          {"hwmc", Kind::Text, 30, "货物型号"},
          {"rkrq", Kind::Date, 0, "入库日期"},
          {"ckrq", Kind::Date, 0, "出库日期"},
          {"jhid", Kind::Short, 0, "进货商序号"},
          {"type_id", Kind::Short, 0, "商品类别"},
          {"if_in", Kind::Text, 4, "出入库"},
          {"khmc", Kind::Text, 50, "客户名称"},
          {"khtel", Kind::Text, 30, "客户电话"},
          {"khaddress", Kind::Text, 60, "客户地址"},
          {"remark", Kind::Text, 250, "备注"},
          {"pjh", Kind::Text, 50, "票据号"},
          {"mcid", Kind::Integer, 0, "卖场序号"}}},
        {"jhdw",
         {{"jhid", Kind::Key, 0, "序号"},
          {"dwmc", Kind::Text, 60, "单位名称"},
          {"tel", Kind::Text, 50, "联系电话"},
          {"address", Kind::Text, 60, "地址"},
          {"bz", Kind::Text, 50, "备注"}}},
        {"cktype", {{"type_id", Kind::Key, 0, "序号"}, {"type_name", Kind::Text, 50, "型号名称"}}},
        // xh_id: a hidden key, so that a model's row is changed by key, not by its values.
        {"hwxh",
         {{"xh_id", Kind::Key, 0, "序号"},
          {"xh", Kind::Text, 20, "型号"},
          {"type_name", Kind::Text, 20, "类别"},
          {"mc", Kind::Text, 30, "名称"},
          {"remark", Kind::Text, 200, "配置说明"}}},
        {"jxs",
         {{"id", Kind::Key, 0, "序号"},
          {"mc", Kind::Text, 20, "名称"},
          {"tel", Kind::Text, 50, "电话"},
          {"addr", Kind::Text, 60, "地址"},
          {"dq", Kind::Text, 30, "地区"},
          {"linker", Kind::Text, 8, "联系人"},
          {"mobile", Kind::Text, 30, "手机"},
          {"bz", Kind::Text, 250, "备注"},
          {"type", Kind::Text, 4, "类型"}}},
        {"mcxs",
         {{"mcid", Kind::Key, 0, "序号"},
          {"gjrq", Kind::Date, 0, "购机日期"},
          {"xsdd", Kind::Text, 50, "销售卖场"},
          {"khxm", Kind::Text, 8, "客户姓名"},
          {"tel", Kind::Text, 50, "联系方式"},
          {"khaddress", Kind::Text, 60, "客户地址"},
          {"cxrj", Kind::Text, 50, "促销软件"},
          {"cxp", Kind::Text, 50, "促销品"},
          {"shrq", Kind::Date, 0, "送货日期"},
          {"cxy", Kind::Text, 8, "促销员"},
          {"czxt", Kind::Text, 30, "操作系统"},
          {"gcs", Kind::Text, 8, "工程师"},
          {"bz", Kind::Text, 230, "备注"},
          {"xhms", Kind::Text, 50, "型号描述"},
          {"finish", Kind::Text, 6, "是否完工"},
          {"ts", Kind::Short, 0, "套数"}}},
        // op_id: a hidden key, so that two operators with the same values stay
        // two rows that can be changed one at a time.
        {"operator",
         {{"op_id", Kind::Key, 0, "序号"},
          {"op_code", Kind::Text, 6, "操作代码"},
          {"op_name", Kind::Text, 8, "姓名"},
          {"rk", Kind::Text, 2, "入库"},
          {"jxsck", Kind::Text, 2, "经销销售"},
          {"jxcx", Kind::Text, 2, "经销查询"},
          {"mcxs", Kind::Text, 2, "卖场销售"},
          {"mccx", Kind::Text, 2, "卖场查询"},
          {"jhdw", Kind::Text, 2, "进货单位"},
          {"jxszl", Kind::Text, 2, "经销卖场"},
          {"cplb", Kind::Text, 2, "产品类别"},
          {"cpxh", Kind::Text, 2, "产品型号"},
          {"czy", Kind::Text, 2, "操作员"},
          {"password", Kind::Text, 128, "密码"}}},
        {"area", {{"area_name", Kind::Text, 20, "地区"}}},
    };
    return t;
}

int applicationId() {
    // FNV-1a of the database password the system has always used for its file.
    quint32 h = 2166136261u;
    for (char ch : QByteArrayLiteral("tqvbnxarmwolpezhcksd")) {
        if (!ch)
            break;
        h ^= static_cast<unsigned char>(ch);
        h *= 16777619u;
    }
    return static_cast<int>(h & 0x7fffffff);
}

const QStringList& regions() {
    static const QStringList r = {QStringLiteral("杭州"), QStringLiteral("绍兴"), QStringLiteral("宁波"),
                                  QStringLiteral("嘉兴"), QStringLiteral("台州"), QStringLiteral("湖州"),
                                  QStringLiteral("衢州"), QStringLiteral("丽水"), QStringLiteral("金华"),
                                  QStringLiteral("温州")};
    return r;
}

const Table* table(const QString& name) {
    for (const Table& t : tables()) {
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const std::vector<Index>& indexes() {
    static const std::vector<Index> i = {
        {"hwgl_model_state", "hwgl", "hwmc, if_in", false},
        {"hwgl_txm", "hwgl", "txm", false},
        {"hwgl_mcid", "hwgl", "mcid", false},
        {"hwgl_pjh", "hwgl", "pjh", false},
        {"hwgl_rkrq", "hwgl", "rkrq", false},
        {"hwgl_ckrq", "hwgl", "ckrq", false},
        {"hwxh_xh", "hwxh", "xh", true},
        {"hwxh_type_name", "hwxh", "type_name", false},
        {"jxs_dq", "jxs", "dq", false},
    };
    return i;
}

const Column* column(const QString& table, const QString& name) {
    for (const Table& t : tables()) {
        if (table != QLatin1String(t.name))
            continue;
        for (const Column& c : t.columns) {
            if (name == QLatin1String(c.name))
                return &c;
        }
    }
    return nullptr;
}

int width(const QString& table, const QString& name) {
    const Column* c = column(table, name);
    return c && c->kind == Kind::Text ? c->width : 0;
}

QString refusal(const QString& table, const QString& name, const QString& value) {
    const Column* c = column(table, name);
    if (!c || c->kind != Kind::Text)
        return {};
    if (value.contains(QChar(0)))
        return QStringLiteral("%1不能包含空字符！").arg(c->text());
    if (codePoints(value) > c->width)
        return QStringLiteral("%1最多%2个字符！").arg(c->text()).arg(c->width);
    return {};
}

} // namespace core::schema
