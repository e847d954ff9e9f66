// Opening a large list: a bare engine loop against the same rows read as a DataSet.
#include "app/schema.h"
#include "bench/bench.h"
#include "data/dataset.h"
#include "ui/datagrid.h"

#include <QApplication>
#include <QPixmap>

#include <string>

BENCH_CASE("raw-step") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    timer.start();
    auto st = c->prepare(QStringLiteral("select * from hwgl order by hwid"));
    qint64 rows = 0, sum = 0;
    while (st->step()) {
        ++rows;
        for (int i = 0; i < st->columnCount(); ++i) {
            switch (st->kind(i)) {
            case db::CellKind::Integer: sum += st->int64(i); break;
            case db::CellKind::Real: sum += static_cast<qint64>(st->real(i)); break;
            case db::CellKind::Text: sum += static_cast<qint64>(st->utf8(i).size()); break;
            case db::CellKind::Null: break;
            }
        }
    }
    timer.stop();
    return "rows=" + std::to_string(rows) + " check=" + std::to_string(sum % 1000);
}

BENCH_CASE("dataset-open") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    data::DataSet list(*c);
    list.setSql(QStringLiteral("select * from hwgl order by hwid"));
    list.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    timer.start();
    list.open();
    list.last();
    const QString lastModel = list.value(QStringLiteral("hwmc")).toString();
    timer.stop();
    return "rows=" + std::to_string(list.count()) + " last=" + lastModel.toStdString();
}

// The same list in a grid: shown, then scrolled to the end and back, painting each time.
BENCH_CASE("grid-1M-scroll") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    data::DataSet list(*c);
    list.setSql(QStringLiteral("select * from hwgl order by hwid"));
    list.setTable(QStringLiteral("hwgl"), QStringLiteral("hwid"));
    list.open();
    timer.start();
    ui::DataGrid grid(list, {{QStringLiteral("序号"), QStringLiteral("hwid")},
                             {QStringLiteral("货物型号"), QStringLiteral("hwmc")},
                             {QStringLiteral("入库日期"), QStringLiteral("rkrq")},
                             {QStringLiteral("备注"), QStringLiteral("remark")}});
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();
    const QPixmap first = grid.grab();
    list.last();
    QApplication::processEvents();
    const QPixmap end = grid.grab();
    list.first();
    QApplication::processEvents();
    timer.stop();
    return "rows=" + std::to_string(grid.model()->rowCount()) + " shown=" + std::to_string(!end.isNull());
}
