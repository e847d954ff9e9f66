// velmora-bench [--rows N] [--repeat N] [--keep FILE] [--case NAME]...: runs
// every registered case (or the named ones), each N times in a child process
// of its own, and prints one line per case (its fastest run), then each case
// against its bare case and the limits. --keep makes the goods file once at
// FILE and uses it again in later runs.
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
    // A page cache large enough for the whole batch: without it the transaction
    // spills its pages into the log over and over.
    c->exec(QStringLiteral("PRAGMA cache_size = -400000"));
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

// The key=value pairs of a case's line whose value is a number.
std::map<std::string, double> numbers(const std::string& line) {
    std::map<std::string, double> out;
    std::istringstream words(line);
    for (std::string w; words >> w;) {
        const size_t eq = w.find('=');
        if (eq == std::string::npos)
            continue;
        char* end = nullptr;
        const double v = std::strtod(w.c_str() + eq + 1, &end);
        if (end != w.c_str() + eq + 1 && *end == '\0')
            out[w.substr(0, eq)] = v;
    }
    return out;
}

// The targets: each heavy case against its bare case of the same run, and a few
// absolute limits. Printed for the cases that ran.
struct RatioTarget {
    const char* name;
    const char* bare;
    double most;
};
struct LimitTarget {
    const char* name;
    const char* key;
    double most;
};
constexpr RatioTarget kRatios[] = {
    {"dataset-open", "raw-step", 1.15},
    {"export-100k", "export-bare-100k", 1.2},
    {"goods-export-100k", "export-bare-100k", 1.2},
    {"storesales-export-10k", "storesales-export-bare-10k", 1.3},
    {"stockin-10k", "stockin-bare-10k", 1.5},
};
constexpr LimitTarget kLimits[] = {
    {"dataset-open", "peak_mb", 150},
    {"startup", "ms", 300},
    {"stockin-100k-window", "ms", 1000},
    {"storesales-issue-1M", "mean_ms", 2},
};

void printChecks(const std::map<std::string, std::map<std::string, double>>& figures) {
    const auto find = [&](const char* name, const char* key) -> const double* {
        const auto c = figures.find(name);
        if (c == figures.end())
            return nullptr;
        const auto k = c->second.find(key);
        return k == c->second.end() ? nullptr : &k->second;
    };
    for (const RatioTarget& r : kRatios) {
        const double* a = find(r.name, "ms");
        const double* b = find(r.bare, "ms");
        if (a && b && *b > 0)
            std::printf("ratio %s/%s=%.2f target<=%.2f %s\n", r.name, r.bare, *a / *b, r.most,
                        *a / *b <= r.most ? "met" : "MISSED");
    }
    for (const LimitTarget& l : kLimits)
        if (const double* v = find(l.name, l.key))
            std::printf("limit %s %s=%.1f target<=%g %s\n", l.name, l.key, *v, l.most, *v <= l.most ? "met" : "MISSED");
}

// Runs one case in a child process of its own; its line is returned in `line`.
bool runChild(const std::string& name, const Case& run, Context& ctx, int argc, char** argv, std::string& line) {
    std::fflush(stdout);
    int out[2];
    if (pipe(out) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        dup2(out[1], STDOUT_FILENO);
        close(out[1]);
        // The peak starts from here, not from what the parent once held.
        std::ofstream("/proc/self/clear_refs") << "5";
        QApplication app(argc, argv);
        const double base = residentMb();
        Timer timer;
        std::string extra;
        try {
            extra = run(ctx, timer);
        } catch (const std::exception& e) {
            std::printf("case=%s error=\"%s\"\n", name.c_str(), e.what());
            std::fflush(stdout);
            _exit(1);
        }
        std::printf("case=%s ms=%.1f peak_mb=%.1f%s%s\n", name.c_str(), timer.ms(), peakMb() - base,
                    extra.empty() ? "" : " ", extra.c_str());
        std::fflush(stdout);
        _exit(0);
    }
    close(out[1]);
    char buf[4096];
    for (ssize_t got; (got = read(out[0], buf, sizeof buf)) > 0;)
        line.append(buf, size_t(got));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string(argv[1]) == "--startup-child")
        return bench::startupChild(1, argv, argv[2]);
    int rows = 1000000;
    QString server;
    std::vector<std::string> only;
    int repeat = 1;
    QString kept; // a goods file kept between runs (made when missing)
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc)
            rows = std::atoi(argv[++i]);
        else if (a == "--case" && i + 1 < argc)
            only.push_back(argv[++i]);
        else if (a == "--database" && i + 1 < argc)
            server = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--repeat" && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (a == "--keep" && i + 1 < argc)
            kept = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(
                stderr,
                "usage: velmora-bench [--rows N] [--database URI] [--repeat N] [--keep FILE] [--case NAME]...\n");
            return 2;
        }
    }
    QTemporaryDir dir;
    bench::Context ctx{dir.path(), rows, server};
    bench::baseFile = kept.isEmpty() ? dir.path() + QStringLiteral("/base.mdb") : kept;
    if (!kept.isEmpty() && QFile::exists(kept)) {
        const int held = app::schema::openDatabase(kept)->scalar(QStringLiteral("select count(*) from hwgl")).toInt();
        if (held != rows) {
            std::fprintf(stderr, "%s holds %d goods rows, not %d\n", qPrintable(kept), held, rows);
            return 2;
        }
    } else {
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
    std::map<std::string, std::map<std::string, double>> figures; // case -> key -> number
    // Rounds over all the chosen cases, so that a busy spell of the machine
    // falls on a case and its bare case alike; the fastest run of each counts.
    struct Best {
        std::string line;
        double ms = 0, slowest = 0;
    };
    std::map<std::string, Best> best;
    for (int k = 0; k < repeat; ++k) {
        for (auto& [name, run] : bench::registry()) {
            if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end())
                continue;
            std::string line;
            if (!runChild(name, run, ctx, argc, argv, line))
                ++failed;
            if (repeat > 1)
                std::fprintf(stderr, "round %d: %s", k + 1, line.c_str());
            const auto got = bench::numbers(line);
            const auto ms = got.find("ms");
            Best& b = best[name];
            if (ms == got.end()) {
                b.line = line; // an error line stays
                continue;
            }
            if (b.line.empty() || ms->second < b.ms) {
                b.line = line;
                b.ms = ms->second;
            }
            b.slowest = std::max(b.slowest, ms->second);
        }
    }
    for (auto& [name, b] : best) {
        std::string line = b.line;
        if (repeat > 1 && !line.empty() && line.back() == '\n') {
            line.pop_back();
            char more[64];
            std::snprintf(more, sizeof more, " runs=%d slowest=%.1f\n", repeat, b.slowest);
            line += more;
        }
        std::fputs(line.c_str(), stdout);
        figures[name] = bench::numbers(line);
    }
    bench::printChecks(figures);
    if (!server.isEmpty()) {
        auto admin = db::openPostgres(server);
        for (auto st =
                 admin->prepare(QStringLiteral("select datname from pg_database where datname like 'velmora_bench_%'"));
             st->step();)
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(st->value(0).toString()));
    }
    return failed ? 1 : 0;
}
