#include "outbound/issuer.h"
#include "support/goods.h"
#include "support/testdb.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace outbound;
using namespace testing_support;
using testing_support::TestDb;

namespace {

IssueRequest request(const QString& model, const QString& barcode = {}, const QString& customer = "杭州华联") {
    return {model, barcode, "PJ-001", customer, "", QDate(2024, 5, 6)};
}

} // namespace

VELMORA_ON_EACH_ENGINE(Issuing);

TEST_P(Issuing, ChecksRunInTheirOrderAndARefusalWritesNothing) {
    TestDb db;
    auto& c = db.conn();
    addUnit(c, "XH-001");
    addUnit(c, "XH-002", {}, "出", "TX-1");
    struct Case {
        const char* what;
        IssueRequest r;
        IssueResult expected;
    } cases[] = {
        {"no model beats a taken bar code", request("", "TX-1", ""), IssueResult::MissingModel},
        {"blanks are a model", request("  ", "TX-1", ""), IssueResult::DuplicateBarcode},
        {"taken bar code beats no customer", request("XH-001", " TX-1 ", ""), IssueResult::DuplicateBarcode},
        {"bar code matched ignoring case", request("XH-001", "tx-1"), IssueResult::DuplicateBarcode},
        {"blank customer is none", request("XH-001", "TX-2", " \t"), IssueResult::MissingCustomer},
        {"no customer beats no stock", request("XH-999", "", ""), IssueResult::MissingCustomer},
        {"unknown model", request("XH-999"), IssueResult::NoStock},
        {"extra blank before the model", request(" XH-001"), IssueResult::NoStock},
        {"extra blank after the model", request("XH-001 "), IssueResult::NoStock},
        {"only issued units of the model", request("XH-002"), IssueResult::NoStock},
    };
    Issuer issuer(c);
    for (const Case& k : cases) {
        EXPECT_EQ(issuer.issue(k.r).result, k.expected) << k.what;
        EXPECT_EQ(issuedCount(c), 1) << k.what;
    }
    EXPECT_EQ(messageFor(IssueResult::MissingModel), "请选择一种货物型号!");
    EXPECT_EQ(messageFor(IssueResult::DuplicateBarcode), "此条形码的物品已经出库，请查询检查！");
    EXPECT_EQ(messageFor(IssueResult::MissingCustomer), "请填写客户名称！");
    EXPECT_EQ(messageFor(IssueResult::NoStock), "仓库库存里没有此型号物品！");
}

TEST_P(Issuing, IssuesTheLowestInStockUnitOfTheModelWithTrimmedFields) {
    TestDb db;
    auto& c = db.conn();
    addUnit(c, "XH-100"); // another model, lower hwid
    const qint64 issuedBefore = addUnit(c, "XH-001", {}, "出", "OLD");
    const qint64 first = addUnit(c, "XH-001", "入库备注", "入", {}, 7); // a stale store sale number
    const qint64 second = addUnit(c, "XH-001");

    Issuer issuer(c);
    const IssueRequest r{"xh-001", "  A'1\t", " PJ 9 ", "\n绍兴国美 ", " 已付款 ", QDate(2024, 5, 6)};
    const IssueOutcome out = issuer.issue(r);
    ASSERT_EQ(out.result, IssueResult::Issued);
    EXPECT_EQ(out.hwid, first);
    EXPECT_EQ(state(c, first), "出");
    EXPECT_EQ(column(c, first, "txm").toString(), "A'1");
    EXPECT_EQ(column(c, first, "pjh").toString(), "PJ 9");
    EXPECT_EQ(column(c, first, "khmc").toString(), "绍兴国美");
    EXPECT_EQ(column(c, first, "remark").toString(), "已付款");
    EXPECT_EQ(column(c, first, "ckrq").toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(0, 0)));
    EXPECT_TRUE(column(c, first, "mcid").isNull());
    EXPECT_EQ(column(c, first, "hwmc").toString(), "XH-001"); // the stored model is not rewritten
    EXPECT_EQ(state(c, second), "入");
    EXPECT_EQ(column(c, issuedBefore, "txm").toString(), "OLD");

    // The bar code with its quote is now taken.
    EXPECT_EQ(issuer.issue({"XH-001", "A'1", "", "x", "", QDate(2024, 5, 6)}).result, IssueResult::DuplicateBarcode);
}

TEST_P(Issuing, EveryIssuedUnitCountsForTheBarCodeButAnEmptyOneIsNeverChecked) {
    TestDb db;
    auto& c = db.conn();
    addUnit(c, "XH-002", {}, "出", "STORE-1", 3); // sold through a store
    addUnit(c, "XH-002", {}, "入", "IN-1");       // a bar code on a unit in stock does not count
    for (int i = 0; i < 5; ++i)
        addUnit(c, "XH-001");

    Issuer issuer(c);
    EXPECT_EQ(issuer.issue(request("XH-001", "STORE-1")).result, IssueResult::DuplicateBarcode);
    EXPECT_EQ(issuer.issue(request("XH-001", "IN-1")).result, IssueResult::Issued);
    for (const char* empty : {"", "", "   "})
        EXPECT_EQ(issuer.issue(request("XH-001", empty)).result, IssueResult::Issued) << '"' << empty << '"';
    EXPECT_EQ(c.scalar("select count(*) from hwgl where if_in = '出' and txm is null").toInt(), 3);
}

TEST_P(Issuing, CancelFreesTheBarCodeKeepsTheRemarkAndTheUnitComesNextAgain) {
    TestDb db;
    auto& c = db.conn();
    const qint64 a = addUnit(c, "XH-001");
    const qint64 b = addUnit(c, "XH-001");
    Issuer issuer(c);
    IssueRequest r = request("XH-001", "TX-9");
    r.remark = "先发";
    ASSERT_EQ(issuer.issue(r).hwid, a);
    ASSERT_EQ(issuer.issue(request("XH-001", "TX-10")).hwid, b);
    EXPECT_EQ(issuer.issue(request("XH-001")).result, IssueResult::NoStock);

    EXPECT_TRUE(issuer.cancel({a, {}}));
    EXPECT_FALSE(issuer.cancel({a, {}})); // already back in stock
    EXPECT_EQ(state(c, a), "入");
    for (const char* col : {"txm", "pjh", "ckrq", "khmc"})
        EXPECT_TRUE(column(c, a, col).isNull()) << col;
    EXPECT_EQ(column(c, a, "remark").toString(), "先发");

    // Its bar code is free, and it is the lowest unit of the model in stock again.
    const IssueOutcome again = issuer.issue(request("XH-001", "TX-9"));
    EXPECT_EQ(again.result, IssueResult::Issued);
    EXPECT_EQ(again.hwid, a);
}

TEST_P(Issuing, TwoInstancesSeeEachOthersIssuesAtOnce) {
    TestDb db;
    auto other = db.openAnother();
    const qint64 last = addUnit(db.conn(), "XH-001");
    addUnit(db.conn(), "XH-002");
    Issuer here(db.conn()), there(*other);

    EXPECT_EQ(there.issue(request("XH-001", "TX-1")).hwid, last);
    EXPECT_EQ(here.issue(request("XH-001")).result, IssueResult::NoStock);
    EXPECT_EQ(here.issue(request("XH-002", "tx-1")).result, IssueResult::DuplicateBarcode);
    EXPECT_TRUE(here.cancel({last, {}}));
    EXPECT_EQ(there.issue(request("XH-002", "TX-1")).result, IssueResult::Issued);
}

// Two instances, each on its own connection and thread, racing: for the last
// unit of a model, and for one bar code on units of different models.
TEST_P(Issuing, RacingInstancesNeverShareAUnitOrABarCode) {
    TestDb db;
    for (int round = 0; round < 20; ++round) {
        db.conn().exec("delete from hwgl");
        const qint64 lastUnit = addUnit(db.conn(), "XH-LAST");
        addUnit(db.conn(), "XH-A");
        addUnit(db.conn(), "XH-B");

        std::atomic<int> ready{0};
        std::array<IssueResult, 2> forUnit{}, forCode{};
        std::array<qint64, 2> won{};
        auto run = [&](int i) {
            auto conn = db.openAnother();
            Issuer issuer(*conn);
            ++ready;
            while (ready < 2) {
            }
            const IssueOutcome o = issuer.issue(request("XH-LAST"));
            forUnit[i] = o.result;
            won[i] = o.hwid;
            forCode[i] = issuer.issue(request(i == 0 ? "XH-A" : "XH-B", "SAME-CODE")).result;
        };
        std::thread t0(run, 0), t1(run, 1);
        t0.join();
        t1.join();

        const std::multiset<IssueResult> units(forUnit.begin(), forUnit.end());
        EXPECT_EQ(units.count(IssueResult::Issued), 1u) << "round " << round;
        EXPECT_EQ(units.count(IssueResult::NoStock), 1u) << "round " << round;
        EXPECT_EQ(std::max(won[0], won[1]), lastUnit);
        const std::multiset<IssueResult> codes(forCode.begin(), forCode.end());
        EXPECT_EQ(codes.count(IssueResult::Issued), 1u) << "round " << round;
        EXPECT_EQ(codes.count(IssueResult::DuplicateBarcode), 1u) << "round " << round;
        EXPECT_EQ(db.conn().scalar("select count(*) from hwgl where txm = 'SAME-CODE'").toInt(), 1);
    }
}
