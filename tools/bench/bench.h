#pragma once

// A tiny benchmark harness: each case registers itself with BENCH_CASE and runs
// in a child process of its own, so its peak memory is its own. A case prints
// nothing itself; it returns extra key=value pairs for its line.
//   case=<name> ms=<time> peak_mb=<extra peak memory> [key=value ...]

#include "db/connection.h"

#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace bench {

struct Context {
    QString dir;    // a scratch folder for this run
    int rows = 0;   // the goods rows the shared file holds (--rows)
    QString server; // --database: a PostgreSQL database the cases run on instead of files
    // A copy of the shared database with `rows` goods units (made once per run):
    // a file, or with --database a database of its own on that server.
    QString goodsFile() const;
    // A copy of the shared database file, whatever the engine of the run.
    QString goodsSqliteFile() const;
    QString freshFile(const QString& name) const; // a new, empty database file
};

// What a case measures: it starts and stops the clock itself (setup outside).
class Timer {
public:
    void start() { t0_ = std::chrono::steady_clock::now(); }
    void stop() { ms_ += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0_).count(); }
    void add(double ms) { ms_ += ms; } // a time measured elsewhere (another process)
    double ms() const { return ms_; }

private:
    std::chrono::steady_clock::time_point t0_;
    double ms_ = 0;
};

// Resident memory now, in MB (the harness reports the peak above the start).
double residentMb();

using Case = std::function<std::string(Context&, Timer&)>;
std::map<std::string, Case>& registry();

// velmora-bench --startup-child FILE: the program started on FILE (see startup.cpp).
int startupChild(int argc, char** argv, const char* file);

struct Registrar {
    Registrar(const char* name, Case c) { registry()[name] = std::move(c); }
};

} // namespace bench

#define BENCH_CONCAT2(a, b) a##b
#define BENCH_CONCAT(a, b) BENCH_CONCAT2(a, b)
// BENCH_CASE("name") { ... return "key=value"; }  (ctx and timer are in scope)
#define BENCH_CASE(name)                                                                                               \
    static std::string BENCH_CONCAT(benchFn_, __LINE__)(bench::Context & ctx, bench::Timer & timer);                   \
    static bench::Registrar BENCH_CONCAT(benchReg_, __LINE__)(name, &BENCH_CONCAT(benchFn_, __LINE__));                \
    static std::string BENCH_CONCAT(benchFn_, __LINE__)(bench::Context & ctx, bench::Timer & timer)
