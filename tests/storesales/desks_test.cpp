// Two desks as two processes on one database, issuing to dealers, taking
// units back and selling through a store from one pool of units at once.
#include "app/schema.h"
#include "outbound/issuer.h"
#include "sales.h"
#include "storesales/seller.h"
#include "support/goods.h"
#include "support/testdb.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;

namespace {

constexpr int kUnits = 60;
constexpr int kSteps = 120;
constexpr int kCodes = 8; // few bar codes, so that the desks ask for the same ones

struct Tally {
    int issued = 0, sold = 0, cancelled = 0, duplicates = 0;
};

// One desk's work: a fixed sequence of issues (bar codes from a small shared
// set), sales and take-backs of its own issued units. Returns what it did.
Tally work(const QString& database, int desk, qint64 sale) {
    auto conn = app::schema::openDatabase(database);
    outbound::Issuer issuer(*conn);
    storesales::Seller seller(*conn);
    Tally t;
    std::vector<qint64> mine;
    for (int step = 0; step < kSteps; ++step) {
        const int what = (step * 7 + desk * 3) % 5;
        if (what < 2) {
            const QString code = QStringLiteral("CODE-%1").arg((step + desk) % kCodes);
            const auto o = issuer.issue({"XH-1", code, {}, "杭州华联", {}, QDate(2024, 4, 2)});
            if (o.result == outbound::IssueResult::Issued) {
                ++t.issued;
                mine.push_back(o.hwid);
            } else if (o.result == outbound::IssueResult::DuplicateBarcode) {
                ++t.duplicates;
            }
        } else if (what < 4) {
            const auto o = seller.sell({"XH-1", sale, "A店", "张三", {}, {}, QDate(2024, 4, 2)});
            if (o.result == storesales::SaleResult::Sold)
                ++t.sold;
        } else if (!mine.empty()) {
            if (issuer.cancel({mine.back(), {}}))
                ++t.cancelled;
            mine.pop_back();
        }
    }
    return t;
}

} // namespace

VELMORA_ON_EACH_ENGINE(Desks);

TEST_P(Desks, TwoProcessesNeverTakeOneUnitOrOneBarCodeTwice) {
    TestDb db;
    const qint64 sale = addSale(db.conn(), "张三");
    {
        db::Transaction tx(db.conn());
        for (int i = 0; i < kUnits; ++i)
            addUnit(db.conn(), "XH-1");
        tx.commit();
    }
    const QString report = db.dir() + "/desk%1.txt";
    pid_t pids[2];
    for (int desk = 0; desk < 2; ++desk) {
        pids[desk] = fork();
        ASSERT_GE(pids[desk], 0);
        if (pids[desk] == 0) {
            int code = 0;
            try {
                const Tally t = work(db.path(), desk, sale);
                QFile f(report.arg(desk));
                f.open(QIODevice::WriteOnly);
                f.write(QStringLiteral("%1 %2 %3 %4")
                            .arg(t.issued)
                            .arg(t.sold)
                            .arg(t.cancelled)
                            .arg(t.duplicates)
                            .toUtf8());
            } catch (...) {
                code = 1;
            }
            _exit(code);
        }
    }
    Tally sum;
    for (int desk = 0; desk < 2; ++desk) {
        int status = 0;
        waitpid(pids[desk], &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "desk " << desk;
        QFile f(report.arg(desk));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QStringList n = QString::fromUtf8(f.readAll()).split(' ');
        sum.issued += n[0].toInt();
        sum.sold += n[1].toInt();
        sum.cancelled += n[2].toInt();
        sum.duplicates += n[3].toInt();
    }
    auto& c = db.conn();
    // Each unit a desk reports taken is a unit of its own: the issued units
    // the database holds are exactly those taken and not given back.
    EXPECT_EQ(issuedCount(c), sum.issued + sum.sold - sum.cancelled);
    EXPECT_EQ(c.scalar("select count(*) from hwgl where if_in = '出' and mcid = ?", {sale}).toInt(), sum.sold);
    // No bar code is on two issued units, and the desks did ask for taken ones.
    EXPECT_EQ(c.scalar("select count(*) from (select txm from hwgl where if_in = '出' and txm is not null "
                       "group by txm having count(*) > 1) as twice")
                  .toInt(),
              0);
    EXPECT_GT(sum.duplicates, 0);
    EXPECT_GT(sum.sold, 0);
    EXPECT_GT(sum.cancelled, 0);
}
