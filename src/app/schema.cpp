#include "app/schema.h"

#include <QFile>
#include <QStringList>

#include <vector>

namespace app::schema {

namespace {

enum class Kind { Key, Text, Short, Date };

struct Column {
    const char* name;
    Kind kind;
    int width;           // characters, for Text
    const char* caption; // named in the error when a value does not fit
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

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
          {"mcid", Kind::Short, 0, "卖场序号"}}},
        {"jhdw",
         {{"jhid", Kind::Key, 0, "序号"},
          {"dwmc", Kind::Text, 60, "单位名称"},
          {"tel", Kind::Text, 50, "联系电话"},
          {"address", Kind::Text, 60, "地址"},
          {"bz", Kind::Text, 50, "备注"}}},
        {"cktype", {{"type_id", Kind::Key, 0, "序号"}, {"type_name", Kind::Text, 50, "型号名称"}}},
        {"hwxh",
         {{"xh", Kind::Text, 20, "型号"},
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

QString columnDdl(const Column& c) {
    const QString name = QString::fromLatin1(c.name);
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
    case Kind::Key: return QStringLiteral("\"%1\" INTEGER PRIMARY KEY AUTOINCREMENT").arg(name);
    case Kind::Date: return QStringLiteral("\"%1\" DATETIME").arg(name);
    case Kind::Short:
        return QStringLiteral("\"%1\" SMALLINT CONSTRAINT \"%2 必须在 -32768 到 32767 之间\" "
                              "CHECK (\"%1\" BETWEEN -32768 AND 32767)")
            .arg(name, caption);
    case Kind::Text:
        return QStringLiteral("\"%1\" TEXT COLLATE NOCASE CONSTRAINT \"%2 最多 %3 个字符\" "
                              "CHECK (length(\"%1\") <= %3)")
            .arg(name, caption)
            .arg(c.width);
    }
    return {};
}

const char* const kIndexes[] = {
    "CREATE INDEX hwgl_model_state ON hwgl (hwmc, if_in)",
    "CREATE INDEX hwgl_txm ON hwgl (txm)",
    "CREATE INDEX hwgl_mcid ON hwgl (mcid)",
    "CREATE INDEX hwgl_pjh ON hwgl (pjh)",
    "CREATE INDEX hwgl_rkrq ON hwgl (rkrq)",
    "CREATE INDEX hwgl_ckrq ON hwgl (ckrq)",
    "CREATE UNIQUE INDEX hwxh_xh ON hwxh (xh)",
    "CREATE INDEX hwxh_type_name ON hwxh (type_name)",
    "CREATE INDEX jxs_dq ON jxs (dq)",
};

} // namespace

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

void createDatabase(const QString& path) {
    if (QFile::exists(path))
        throw db::DbError(QStringLiteral("文件 %1 已经存在，不会覆盖").arg(path));
    auto conn = db::openSqlite(path, true);
    {
        db::Transaction tx(*conn);
        for (const Table& t : tables()) {
            QStringList cols;
            for (const Column& c : t.columns)
                cols << columnDdl(c);
            conn->exec(QStringLiteral("CREATE TABLE \"%1\" (\n  %2\n)")
                           .arg(QString::fromLatin1(t.name), cols.join(QStringLiteral(",\n  "))));
        }
        for (const char* ix : kIndexes)
            conn->exec(QString::fromLatin1(ix));
        for (const QString& r : regions())
            conn->exec(QStringLiteral("INSERT INTO area (area_name) VALUES (?)"), {r});
        conn->exec(QStringLiteral("PRAGMA application_id = %1").arg(applicationId()));
        conn->exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        tx.commit();
    }
    conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
}

std::unique_ptr<db::Connection> openDatabase(const QString& path) {
    auto conn = db::openSqlite(path, false);
    // Reading the marks fails with the engine's own text for a file that is no
    // database at all; a database of another program has other marks.
    const qint64 id = conn->scalar(QStringLiteral("PRAGMA application_id")).toInt();
    const qint64 version = conn->scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (id != applicationId())
        throw db::DbError(QStringLiteral("%1 不是本系统的数据库文件").arg(path));
    if (version != kSchemaVersion)
        throw db::DbError(
            QStringLiteral("数据库文件 %1 的版本 (%2) 与程序 (%3) 不符").arg(path).arg(version).arg(kSchemaVersion));
    conn->exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    return conn;
}

} // namespace app::schema
