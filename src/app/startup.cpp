#include "app/startup.h"

#include "core/schema.h"

namespace app {

StartOptions parseStart(const QStringList& arguments, const QString& environment) {
    StartOptions o;
    o.database = environment.isEmpty() ? core::schema::fileName() : environment;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            o.version = true;
        } else if (a == QLatin1String("--database")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                o.error = QStringLiteral("--database 后面缺少数据库（文件路径或 postgresql:// 连接 URI）");
                return o;
            }
            o.database = arguments[++i];
        } else if (a.startsWith(QLatin1String("--database="))) {
            o.database = a.mid(11);
        } else {
            o.error = QStringLiteral("未知的参数：%1").arg(a);
            return o;
        }
    }
    return o;
}

QString helpText() {
    return QStringLiteral(
        "用法：velmora [--database 数据库]\n"
        "\n"
        "Velmora 货物出入库管理。\n"
        "\n"
        "  --database 数据库  要打开的数据库：SQLite 数据库文件的路径，或 PostgreSQL\n"
        "                     服务器上的数据库，写作 libpq 连接 URI，例如\n"
        "                     postgresql://desk1@server/velmora（~/.pgpass、PGSERVICE、\n"
        "                     sslmode 等 libpq 的约定照常适用）。\n"
        "                     不指定时用环境变量 VELMORA_DATABASE，再不指定时用当前目录中的 ck.mdb。\n"
        "  -h, --help         显示本说明\n"
        "  -v, --version      显示版本\n"
        "\n"
        "多个工作站共用一个数据库时，请用 PostgreSQL 服务器（先运行 velmora-newdb URI 建表），\n"
        "不要通过网络共享文件夹共用 ck.mdb。\n");
}

QString versionText() {
    return QStringLiteral("Velmora 1.0\n数据库：SQLite 文件（默认 ck.mdb），或用 --database postgresql://... "
                          "（或环境变量 VELMORA_DATABASE）连接 PostgreSQL 服务器\n");
}

} // namespace app
