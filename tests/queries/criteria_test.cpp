// Goods query criteria against a small fixture: which units each criterion,
// alone and combined, finds.
#include "queries/goodscriteria.h"
#include "support/testdb.h"

#include <QDateTime>

#include <gtest/gtest.h>

using queries::DayRange;
using queries::GoodsQuery;

namespace {

struct Unit {
    int hwid;
    const char *hwmc, *state, *txm, *pjh, *khmc;
    int jhid;
    QDateTime rkrq, ckrq;
};

QDateTime at(int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(2024, m, d), QTime(h, min)); }

db::Value textOrNull(const char* s) { return s ? db::Value(s) : db::Value(); }
db::Value dateOrNull(const QDateTime& d) { return d.isValid() ? db::Value(d) : db::Value(); }

// Two suppliers share a name; one category has no models.
struct Goods {
    testing_support::TestDb db;
    Goods() {
        auto& c = db.conn();
        for (const char* s : {"华联电脑", "西湖数码", "华联电脑"})
            c.exec("insert into jhdw (dwmc) values (?)", {s});
        for (const char* t : {"笔记本", "显示器", "空类"})
            c.exec("insert into cktype (type_name) values (?)", {t});
        for (const auto& [xh, type] : {std::pair{"X1", "笔记本"}, {"T14", "笔记本"}, {"P27", "显示器"}})
            c.exec("insert into hwxh (xh, type_name) values (?, ?)", {xh, type});
        const Unit units[] = {
            {1, "X1", "入", nullptr, nullptr, nullptr, 1, at(3, 1), {}},
            {2, "X1", "出", "TX-1", "PJ-1", "杭州华联", 2, at(3, 1), at(3, 5, 14, 30)},
            {3, "T14", "出", "O'Brien%_1", "P'J%", "王_小%明", 3, at(3, 10), at(3, 6)},
            {4, "P27", "入", nullptr, nullptr, nullptr, 2, at(3, 31, 18), {}},
            {5, "50%_OFF", "入", nullptr, nullptr, nullptr, 1, at(4, 1), {}},
            {6, "T14", "坏", nullptr, nullptr, nullptr, 2, at(2, 28), {}},
        };
        for (const Unit& u : units)
            c.exec("insert into hwgl (hwid, hwmc, if_in, txm, pjh, khmc, jhid, rkrq, ckrq) values (?,?,?,?,?,?,?,?,?)",
                   {u.hwid, u.hwmc, u.state, textOrNull(u.txm), textOrNull(u.pjh), textOrNull(u.khmc), u.jhid,
                    dateOrNull(u.rkrq), dateOrNull(u.ckrq)});
    }
    std::vector<int> found(const GoodsQuery& q) {
        const data::Criteria criteria = queries::goodsCriteria(q);
        auto st = db.conn().prepare(queries::goodsListSql(criteria));
        st->bindAll(criteria.params());
        std::vector<int> ids;
        while (st->step())
            ids.push_back(static_cast<int>(st->value(0).toInt()));
        return ids;
    }
};

struct Case {
    const char* name;
    GoodsQuery query;
    std::vector<int> expected;
};

GoodsQuery with(QString GoodsQuery::*field, const QString& v) {
    GoodsQuery q;
    q.*field = v;
    return q;
}
GoodsQuery model(const QString& v) { return with(&GoodsQuery::model, v); }
GoodsQuery barcode(const QString& v) { return with(&GoodsQuery::barcode, v); }
GoodsQuery category(const QString& v) { return with(&GoodsQuery::category, v); }
GoodsQuery state(const QString& v) { return with(&GoodsQuery::state, v); }
GoodsQuery customer(const QString& v) { return with(&GoodsQuery::customer, v); }
GoodsQuery supplier(const QString& v) { return with(&GoodsQuery::supplier, v); }
GoodsQuery bill(const QString& v) { return with(&GoodsQuery::bill, v); }
GoodsQuery stockIn(QDate from, QDate to) {
    GoodsQuery q;
    q.stockIn = DayRange{from, to};
    return q;
}
GoodsQuery issue(QDate from, QDate to) {
    GoodsQuery q;
    q.issue = DayRange{from, to};
    return q;
}
QDate day(int m, int d) { return QDate(2024, m, d); }

} // namespace

VELMORA_ON_EACH_ENGINE(GoodsCriteria);

TEST_P(GoodsCriteria, FindTheUnitsOfEachCriterionAndOfCombinations) {
    Goods g;
    GoodsQuery combined = category("笔记本");
    combined.state = "出";
    combined.supplier = " 西湖数码 ";
    GoodsQuery bothRanges = stockIn(day(3, 1), day(3, 31));
    bothRanges.issue = DayRange{day(3, 6), day(3, 6)};
    GoodsQuery blanksOnly = model(" \t ");
    blanksOnly.barcode = "\u3000";

    const Case cases[] = {
        {"no criterion lists nothing", {}, {}},
        {"only blanks are no criterion", blanksOnly, {}},
        {"model is contained", model("X1"), {1, 2}},
        {"model with blanks, any letter case", model("  x1 "), {1, 2}},
        {"model %", model("%"), {5}},
        {"model _", model("_"), {5}},
        {"bar code exactly", barcode(" TX-1 "), {2}},
        {"bar code is no partial match", barcode("TX"), {}},
        {"bar code with quote, % and _", barcode("O'Brien%_1"), {3}},
        {"bill exactly", bill("PJ-1"), {2}},
        {"bill with quote and %", bill("P'J%"), {3}},
        {"state issued", state("出"), {2, 3}},
        {"state in stock", state(" 入 "), {1, 4, 5}},
        {"another stored state", state("坏"), {6}},
        {"state never stored", state("在途"), {}},
        {"customer is contained", customer("华联"), {2}},
        {"customer _ is a character", customer("_"), {3}},
        {"customer quote", customer("'"), {}},
        {"category: the units of its models", category("笔记本"), {1, 2, 3, 6}},
        {"category without models", category("空类"), {}},
        {"unknown category", category("无此类"), {}},
        {"two suppliers of one name", supplier("华联电脑"), {1, 3, 5}},
        {"unknown supplier", supplier("无此单位"), {}},
        {"stock-in days, time of day on the end day", stockIn(day(3, 1), day(3, 31)), {1, 2, 3, 4}},
        {"issue day with a time of day", issue(day(3, 5), day(3, 5)), {2}},
        {"start after end", stockIn(day(3, 31), day(3, 1)), {}},
        {"category, state and supplier", combined, {2}},
        {"both date ranges", bothRanges, {3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(g.found(c.query), c.expected) << c.name;
}
