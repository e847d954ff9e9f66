// Dealer outbound on a large file: opening the window, and issuing units from it.
#include "app/schema.h"
#include "bench/bench.h"
#include "bench/support.h"
#include "outbound/ck.h"
#include "outbound/issuer.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>

BENCH_CASE("outbound-open-1M") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    timer.start();
    TckFrm w(*c);
    w.show(); // loads the choices and the (empty) list of issued units
    QApplication::processEvents();
    timer.stop();
    return "issued_listed=" + std::to_string(w.issued().count());
}

// Issues through the window (checks, choice, update, list re-read), then one
// refused duplicate; reports the mean and the slowest press.
BENCH_CASE("outbound-issue-1M") {
    auto c = app::schema::openDatabase(ctx.goodsFile());
    bench::QuietPrompter prompter;
    TckFrm w(*c);
    w.show();
    QApplication::processEvents();
    w.findChild<QComboBox*>("cmbXh")->setEditText(QStringLiteral("XH-007"));
    w.findChild<QComboBox*>("cmbKhmc")->setEditText(QStringLiteral("杭州经销商1"));
    auto* barcode = w.findChild<QLineEdit*>("edtTxm");
    auto* issue = w.findChild<QPushButton*>("btnCk");

    constexpr int kPresses = 200;
    double slowest = 0;
    for (int i = 0; i < kPresses; ++i) {
        barcode->setText(QStringLiteral("BENCH-%1").arg(i));
        bench::Timer one;
        timer.start();
        one.start();
        issue->click();
        one.stop();
        timer.stop();
        slowest = std::max(slowest, one.ms());
    }
    barcode->setText(QStringLiteral("BENCH-0"));
    bench::Timer dup;
    dup.start();
    issue->click();
    dup.stop();
    return "presses=" + std::to_string(kPresses) + " listed=" + std::to_string(w.issued().count()) +
           " mean_ms=" + std::to_string(timer.ms() / kPresses) + " slowest_ms=" + std::to_string(slowest) +
           " duplicate_ms=" + std::to_string(dup.ms()) + " messages=" + std::to_string(prompter.messages);
}
