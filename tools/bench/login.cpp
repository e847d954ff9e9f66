// What a login costs: the password hash is slow on purpose, and a login checks
// each row of the typed code until one matches.
#include "app/passwords.h"
#include "bench/bench.h"

#include <string>

BENCH_CASE("password_hash") {
    const int n = 5;
    QString h;
    timer.start();
    for (int i = 0; i < n; ++i)
        h = app::passwords::hash(QStringLiteral("qezmu"));
    timer.stop();
    bool ok = true;
    timer.start();
    for (int i = 0; i < n; ++i)
        ok = ok && app::passwords::matches(QStringLiteral("QEZMU"), h);
    timer.stop();
    return "hashes=" + std::to_string(n) + " verifies=" + std::to_string(n) + " ok=" + (ok ? "1" : "0");
}
