#include "sales.h"
#include "storesales/salesquery.h"
#include "storesales/seller.h"
#include "support/goods.h"
#include "support/testdb.h"

#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace testing_support;
using storesales::SaleResult;
using storesales::Seller;

namespace {

storesales::SaleRequest request(qint64 mcid, const QString& model = "XH-1") {
    return {model, mcid, "A店", "张三", "0571-1", "西湖路1号", QDate(2024, 4, 1)};
}

QList<qint64> found(db::Connection& c, const storesales::SalesQuery& q) {
    const data::Criteria cr = storesales::salesCriteria(q);
    QList<qint64> ids;
    auto st = c.prepare("select mcid from mcxs" + cr.where() + " order by mcid");
    st->bindAll(cr.params());
    while (st->step())
        ids << st->value(0).toInt();
    return ids;
}

} // namespace

// Two desks selling from one model at once never take one unit.
VELMORA_ON_EACH_ENGINE(Selling);
VELMORA_ON_EACH_ENGINE(SalesCriteria);

TEST_P(Selling, TwoConnectionsNeverTakeOneUnit) {
    TestDb db;
    const qint64 sale = addSale(db.conn(), "张三");
    constexpr int kUnits = 30;
    for (int i = 0; i < kUnits; ++i)
        addUnit(db.conn(), "XH-1");

    std::atomic<int> ready{0};
    std::array<std::vector<qint64>, 2> taken;
    auto run = [&](int i) {
        auto conn = db.openAnother();
        Seller seller(*conn);
        ++ready;
        while (ready < 2) {
        }
        for (;;) {
            const auto o = seller.sell(request(sale));
            if (o.result != SaleResult::Sold)
                break;
            taken[i].push_back(o.hwid);
        }
    };
    std::thread t0(run, 0), t1(run, 1);
    t0.join();
    t1.join();

    std::set<qint64> all(taken[0].begin(), taken[0].end());
    all.insert(taken[1].begin(), taken[1].end());
    EXPECT_EQ(all.size(), taken[0].size() + taken[1].size());
    EXPECT_EQ(static_cast<int>(all.size()), kUnits);
    EXPECT_EQ(issuedCount(db.conn()), kUnits);
}

// Rows found for the query window's criteria, one condition at a time and together.
TEST_P(SalesCriteria, FindTheSales) {
    TestDb db;
    auto& c = db.conn();
    const qint64 s1 = addSale(c, "张三丰", "A店", "否", QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    const qint64 s2 = addSale(c, "O'Brien", "B店", "完工", QDateTime(QDate(2024, 3, 5), QTime(15, 30)));
    const qint64 s3 = addSale(c, "李四", "a店", "否", QDateTime(QDate(2024, 3, 6), QTime(0, 0)));
    c.exec("update mcxs set gcs = '王工', tel = '100%_ok', khaddress = '西湖路1号', "
           "shrq = '2024-03-10 09:00:00' where mcid = ?",
           {s2});
    c.exec("update mcxs set tel = '12345' where mcid = ?", {s1});
    // Two units of one sale with one bill number; a dealer's unit with a bar code.
    for (int i = 0; i < 2; ++i)
        c.exec("insert into hwgl (hwmc, if_in, pjh, txm, mcid) values ('XH', '出', 'PJ-7', ?, ?)",
               {QString("T%1").arg(i), s2});
    addUnit(c, "XH", {}, "出", "DEALER-1");

    using Q = storesales::SalesQuery;
    const QDate d5(2024, 3, 5), d6(2024, 3, 6), d10(2024, 3, 10);
    struct Case {
        const char* name;
        Q q;
        QList<qint64> rows;
    };
    auto with = [](auto set) {
        Q q;
        set(q);
        return q;
    };
    const Case cases[] = {
        {"bill held by two units", with([](Q& q) { q.pjh = " PJ-7 "; }), {s2}},
        {"bar code of a unit", with([](Q& q) { q.txm = "t1"; }), {s2}},
        {"bar code of a dealer's unit", with([](Q& q) { q.txm = "DEALER-1"; }), {}},
        {"name contains two characters", with([](Q& q) { q.khxm = "三丰"; }), {s1}},
        {"apostrophe", with([](Q& q) { q.khxm = "O'B"; }), {s2}},
        {"% and _ are plain", with([](Q& q) { q.tel = "%_"; }), {s2}},
        {"store whole value, letter case as stored", with([](Q& q) { q.xsdd = "A店"; }), {s1, s3}},
        {"engineer", with([](Q& q) { q.gcs = "王工"; }), {s2}},
        {"address contains", with([](Q& q) { q.khaddress = "湖路"; }), {s2}},
        {"finished", with([](Q& q) { q.finish = "完工"; }), {s2}},
        {"blank criteria", with([](Q& q) { q.khxm = "   "; }), {s1, s2, s3}},
        {"purchase day, time of day on the end day",
         with([&](Q& q) {
             q.purchase = {{d5, d5}};
         }),
         {s1, s2}},
        {"purchase two days",
         with([&](Q& q) {
             q.purchase = {{d5, d6}};
         }),
         {s1, s2, s3}},
        {"start after end",
         with([&](Q& q) {
             q.purchase = {{d6, d5}};
         }),
         {}},
        {"both date groups",
         with([&](Q& q) {
             q.purchase = {{d5, d6}};
             q.delivery = {{d10, d10}};
         }),
         {s2}},
        {"name and store together",
         with([](Q& q) {
             q.khxm = "李";
             q.xsdd = "A店";
         }),
         {s3}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(found(c, k.q), k.rows) << k.name;
    EXPECT_TRUE(storesales::salesCriteria(Q{}).isEmpty());
}
