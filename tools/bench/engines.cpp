// In a run on a server, the file's bare read of every unit, which the
// server's lists are measured against.
#include "app/schema.h"
#include "bench/bench.h"

#include <string>

BENCH_CASE("raw-step-file") {
    auto c = app::schema::openDatabase(ctx.goodsSqliteFile());
    timer.start();
    auto st = c->prepare(QStringLiteral("select * from hwgl order by hwid"));
    qint64 rows = 0, sum = 0;
    while (st->step()) {
        ++rows;
        for (int i = 0; i < st->columnCount(); ++i)
            if (st->kind(i) == db::CellKind::Text)
                sum += static_cast<qint64>(st->utf8(i).size());
    }
    timer.stop();
    return "rows=" + std::to_string(rows) + " check=" + std::to_string(sum % 1000);
}
