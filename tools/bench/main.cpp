// velmora-bench [--rows N] [--case NAME]...: runs every registered case (or the
// named ones) and prints one line per case.
#include "app/schema.h"
#include "app/schema_pg.h"
#include "bench/bench.h"
#include "db/postgres.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

std::map<std::string, Case>& registry() {
    static std::map<std::string, Case> r;
    return r;
}

double residentMb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

static double peakMb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

static QString baseFile;

// The URI of another database on the server of a URI.
static QString onServer(const QString& uri, const QString& name) {
    return uri + (uri.contains(QLatin1Char('?')) ? QStringLiteral("&dbname=") : QStringLiteral("?dbname=")) + name;
}

static const QString kServerGoods = QStringLiteral("velmora_bench_goods");

QString Context::goodsFile() const {
    if (!server.isEmpty()) {
        static int made = 0;
        const QString name = QStringLiteral("velmora_bench_%1_%2").arg(getpid()).arg(++made);
        db::openPostgres(server)->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(name, kServerGoods));
        return onServer(server, name);
    }
    return goodsSqliteFile();
}

QString Context::goodsSqliteFile() const {
    static int n = 0;
    // Each case runs in a forked child with its own counter: the pid keeps their copies apart.
    const QString path = dir + QStringLiteral("/goods%1-%2.mdb").arg(getpid()).arg(++n);
    QFile::copy(baseFile, path);
    return path;
}

QString Context::freshFile(const QString& name) const {
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".mdb");
    QFile::remove(path);
    app::schema::createDatabase(path);
    return path;
}

// A file with `rows` goods units of 50 models from 5 suppliers, a third of them issued.
static void makeGoodsFile(const QString& path, int rows) {
    app::schema::createDatabase(path);
    auto c = app::schema::openDatabase(path);
    db::Transaction tx(*c);
    for (int s = 1; s <= 5; ++s)
        c->exec(QStringLiteral("insert into jhdw (dwmc, tel) values (?, ?)"),
                {QStringLiteral("供应商%1").arg(s), QStringLiteral("0571-8800%1").arg(s)});
    for (int m = 0; m < 50; ++m)
        c->exec(QStringLiteral("insert into hwxh (xh, type_name, mc) values (?, ?, ?)"),
                {QStringLiteral("XH-%1").arg(m, 3, 10, QLatin1Char('0')), QStringLiteral("笔记本"),
                 QStringLiteral("型号%1").arg(m)});
    auto ins = c->prepare(QStringLiteral(
        "insert into hwgl (txm, hwmc, rkrq, ckrq, jhid, if_in, khmc, remark, pjh) values (?,?,?,?,?,?,?,?,?)"));
    const QDate day0(2025, 1, 1);
    for (int i = 0; i < rows; ++i) {
        const bool out = i % 3 == 0;
        ins->reset();
        ins->bindAll({out ? db::Value(QStringLiteral("TXM%1").arg(i, 9, 10, QLatin1Char('0'))) : db::Value(),
                      QStringLiteral("XH-%1").arg(i % 50, 3, 10, QLatin1Char('0')), db::Value(day0.addDays(i % 700)),
                      out ? db::Value(day0.addDays(i % 700 + 3)) : db::Value(), 1 + i % 5,
                      out ? QStringLiteral("出") : QStringLiteral("入"),
                      out ? db::Value(QStringLiteral("杭州经销商%1").arg(i % 40)) : db::Value(),
                      QStringLiteral("批次%1").arg(i / 1000),
                      out ? db::Value(QStringLiteral("PJ%1").arg(i)) : db::Value()});
        ins->step();
    }
    tx.commit();
}

} // namespace bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int rows = 1000000;
    QString server;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc)
            rows = std::atoi(argv[++i]);
        else if (a == "--case" && i + 1 < argc)
            only.push_back(argv[++i]);
        else if (a == "--database" && i + 1 < argc)
            server = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: velmora-bench [--rows N] [--database URI] [--case NAME]...\n");
            return 2;
        }
    }
    QTemporaryDir dir;
    bench::Context ctx{dir.path(), rows, server};
    bench::baseFile = dir.path() + QStringLiteral("/base.mdb");
    {
        bench::Timer t;
        t.start();
        bench::makeGoodsFile(bench::baseFile, rows);
        t.stop();
        std::fprintf(stderr, "made %d goods rows in %.0f ms\n", rows, t.ms());
    }
    if (!server.isEmpty()) {
        // The same rows on the server, copied for each case like the file.
        bench::Timer t;
        t.start();
        auto admin = db::openPostgres(server);
        admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(bench::kServerGoods));
        admin->exec(QStringLiteral("CREATE DATABASE %1").arg(bench::kServerGoods));
        app::schema::server::copy(bench::baseFile, bench::onServer(server, bench::kServerGoods));
        db::openPostgres(bench::onServer(server, bench::kServerGoods))->exec(QStringLiteral("VACUUM ANALYZE"));
        t.stop();
        std::fprintf(stderr, "copied them to the server in %.0f ms\n", t.ms());
    }
    int failed = 0;
    for (auto& [name, run] : bench::registry()) {
        if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end())
            continue;
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            QApplication app(argc, argv);
            const double base = bench::residentMb();
            bench::Timer timer;
            std::string extra;
            try {
                extra = run(ctx, timer);
            } catch (const std::exception& e) {
                std::printf("case=%s error=\"%s\"\n", name.c_str(), e.what());
                std::fflush(stdout);
                _exit(1);
            }
            std::printf("case=%s ms=%.1f peak_mb=%.1f%s%s\n", name.c_str(), timer.ms(), bench::peakMb() - base,
                        extra.empty() ? "" : " ", extra.c_str());
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failed;
    }
    if (!server.isEmpty()) {
        auto admin = db::openPostgres(server);
        for (auto st =
                 admin->prepare(QStringLiteral("select datname from pg_database where datname like 'velmora_bench_%'"));
             st->step();)
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(st->value(0).toString()));
    }
    return failed ? 1 : 0;
}
