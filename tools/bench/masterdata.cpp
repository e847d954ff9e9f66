// Master data on a large catalogue: opening the model window on a category of
// 20,000 models, and adding models one by one (each new code is checked over
// all categories before it is stored).
#include "app/schema.h"
#include "bench/bench.h"
#include "bench/support.h"
#include "masterdata/hwxh.h"
#include "ui/datagrid.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QPushButton>

#include <string>

namespace {

constexpr int kModels = 20000;
constexpr int kAdded = 200;

std::unique_ptr<db::Connection> catalogue(bench::Context& ctx) {
    const QString file = ctx.freshFile(QStringLiteral("catalogue.mdb"));
    auto c = app::schema::openDatabase(file);
    c->exec(QStringLiteral("insert into cktype (type_name) values (?), (?)"),
            {QStringLiteral("笔记本"), QStringLiteral("台式机")});
    db::Transaction tx(*c);
    auto st = c->prepare(QStringLiteral("insert into hwxh (xh, type_name, mc) values (?, ?, ?)"));
    for (int i = 0; i < kModels; ++i) {
        st->reset();
        st->bind(1, QStringLiteral("M-%1").arg(i, 6, 10, QLatin1Char('0')));
        st->bind(2, i % 10 == 0 ? QStringLiteral("台式机") : QStringLiteral("笔记本"));
        st->bind(3, QStringLiteral("型号 %1").arg(i));
        st->step();
    }
    tx.commit();
    return c;
}

} // namespace

BENCH_CASE("models-open-20k") {
    auto c = catalogue(ctx);
    bench::QuietPrompter quiet;
    timer.start();
    ThwxhFrm w(*c);
    w.show();
    QApplication::processEvents();
    timer.stop();
    return "models_listed=" + std::to_string(w.list().count());
}

BENCH_CASE("models-add-200") {
    auto c = catalogue(ctx);
    bench::QuietPrompter quiet;
    ThwxhFrm w(*c);
    w.show();
    QApplication::processEvents();
    auto* grid = w.findChild<ui::DataGrid*>(QStringLiteral("dbgXh"));
    auto* add = w.findChild<QPushButton*>(QStringLiteral("btnAdd"));
    auto* save = w.findChild<QPushButton*>(QStringLiteral("btnSave"));
    timer.start();
    for (int i = 0; i < kAdded; ++i) {
        add->click();
        const int row = w.list().currentRow();
        grid->model()->setData(grid->model()->index(row, 0), QStringLiteral("N-%1").arg(i));
        save->click();
    }
    timer.stop();
    const qint64 stored = c->scalar(QStringLiteral("select count(*) from hwxh")).toInt() - kModels;
    return "stored=" + std::to_string(stored) + " messages=" + std::to_string(quiet.messages) +
           " ms_per_model=" + std::to_string(timer.ms() / kAdded);
}
