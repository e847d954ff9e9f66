// The stock-in rule without widgets: quantity parsing, refusals, and the N rows
// written through the unit list in one transaction.
#include "stockin/registration.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <gtest/gtest.h>

using testing_support::TestDb;

namespace {

struct Units {
    TestDb db;
    data::DataSet list{db.conn()};
    QDate today = QDate::currentDate();

    Units() {
        db.conn().exec("insert into jhdw (dwmc) values ('华东电子'), ('深圳恒信')");
        // One unit already listed, so the new rows must come after it.
        db.conn().exec("insert into hwgl (hwmc, jhid, rkrq, if_in) values ('XH-100', 1, ?, '入')", {db::Value(today)});
        list.setSql("select * from hwgl order by hwid");
        list.setTable("hwgl", "hwid");
        list.open();
    }
    stockin::Entry entry(const QString& quantity) const { return {"XH-200", 2, quantity, today.addDays(-3), "第一批"}; }
    qint64 rows() { return db.conn().scalar("select count(*) from hwgl").toInt(); }
};

} // namespace

TEST(ParseQuantity, AcceptsSignedDecimalWithLeadingBlanksOnly) {
    const std::pair<QString, qint64> good[] = {{"3", 3},   {" 3", 3}, {"  \t12", 12}, {"+7", 7},
                                               {"-2", -2}, {"0", 0},  {"007", 7},     {" -0", 0}};
    for (const auto& [typed, n] : good)
        EXPECT_EQ(stockin::parseQuantity(typed), n) << typed.toStdString();

    const QString bad[] = {"3x", "3 ", "x3", "", " ", "+", "- 3", "3.0", "1e3", "0x10", "３", "99999999999999999999"};
    for (const QString& typed : bad)
        EXPECT_THROW(stockin::parseQuantity(typed), db::ConversionError) << typed.toStdString();

    try {
        stockin::parseQuantity("3x");
        FAIL();
    } catch (const db::ConversionError& e) {
        EXPECT_EQ(e.text(), "数量: '3x' 不是有效的整数值");
    }
}

VELMORA_ON_EACH_ENGINE(RegisterUnits);

TEST_P(RegisterUnits, ThreeUnitsGetOwnKeysSameValuesAndEndTheList) {
    Units u;
    const stockin::Outcome o = stockin::registerUnits(u.list, u.entry("3"));
    EXPECT_TRUE(o.refusal.isEmpty());
    EXPECT_EQ(o.stored, 3);

    ASSERT_EQ(u.list.count(), 4);
    EXPECT_EQ(u.list.currentRow(), 3);
    EXPECT_EQ(u.list.state(), data::State::Browse);
    auto st =
        u.db.conn().prepare("select hwid, hwmc, jhid, rkrq, remark, if_in, txm from hwgl where hwid > 1 order by hwid");
    int row = 1;
    while (st->step()) {
        // The list holds exactly what the file holds, key included.
        EXPECT_EQ(u.list.value(row, u.list.fieldIndex("hwid")), st->value(0));
        EXPECT_EQ(st->value(1), db::Value("XH-200"));
        EXPECT_EQ(st->value(2), db::Value(2));
        EXPECT_EQ(st->value(3).toDateTime(), QDateTime(u.today.addDays(-3), QTime(0, 0)));
        EXPECT_EQ(st->value(4), db::Value("第一批"));
        EXPECT_EQ(st->value(5), db::Value("入"));
        EXPECT_TRUE(st->value(6).isNull());
        ++row;
    }
    EXPECT_EQ(row, 4);
    EXPECT_EQ(u.db.conn().scalar("select count(distinct hwid) from hwgl").toInt(), 4);

    // The boxes keep their contents: the same entry again adds three more.
    stockin::registerUnits(u.list, u.entry("3"));
    EXPECT_EQ(u.rows(), 7);
    EXPECT_EQ(u.list.count(), 7);
}

TEST_P(RegisterUnits, RefusalsStoreNothingAndSayWhy) {
    struct Case {
        const char* what;
        QString model, quantity;
        std::optional<qint64> supplier;
        QString message; // empty: refused silently
    };
    const Case cases[] = {
        {"empty model", "", "3", 1, "请填写货物型号!"},
        {"blank model", " \t ", "3", 1, "请填写货物型号!"},
        {"empty quantity", "XH-1", "", 1, "请填写数量!"},
        {"blank quantity", "XH-1", "   ", 1, "请填写数量!"},
        {"zero", "XH-1", "0", 1, ""},
        {"negative", "XH-1", "-4", 1, ""},
        {"over the bound", "XH-1", "100001", 1, "数量不能超过100000!"},
        {"no supplier", "XH-1", "2", std::nullopt, "请选择进货单位!"},
        // Nothing is stored for nothing to store, supplier or not.
        {"zero without supplier", "XH-1", "0", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        Units u;
        const stockin::Outcome o = stockin::registerUnits(u.list, {c.model, c.supplier, c.quantity, u.today, {}});
        EXPECT_EQ(o.refusal, c.message) << c.what;
        EXPECT_EQ(o.stored, 0) << c.what;
        EXPECT_EQ(u.rows(), 1) << c.what;
        EXPECT_EQ(u.list.count(), 1) << c.what;
    }
}

TEST_P(RegisterUnits, BadQuantityThrowsBeforeAnythingIsWritten) {
    Units u;
    EXPECT_THROW(stockin::registerUnits(u.list, u.entry("3x")), db::ConversionError);
    EXPECT_EQ(u.rows(), 1);
    EXPECT_EQ(u.list.count(), 1);
}

TEST_P(RegisterUnits, RefusedRowLeavesNothingStoredAndTheListAsItWas) {
    const std::pair<const char*, stockin::Entry> cases[] = {
        {"备注", {"XH-200", 1, "5", QDate::currentDate(), QString(251, QChar(u'长'))}},
        {"货物型号", {QString(31, QChar('M')), 1, "5", QDate::currentDate(), {}}},
    };
    for (const auto& [field, entry] : cases) {
        Units u;
        try {
            stockin::registerUnits(u.list, entry);
            ADD_FAILURE() << field << ": stored";
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(field))) << e.text().toStdString();
        }
        EXPECT_EQ(u.rows(), 1) << field;
        EXPECT_EQ(u.list.count(), 1) << field;
        EXPECT_EQ(u.list.currentRow(), 0) << field;
        EXPECT_EQ(u.list.state(), data::State::Browse) << field;
        // The list and the file still work together afterwards.
        EXPECT_EQ(stockin::registerUnits(u.list, u.entry("2")).stored, 2);
        EXPECT_EQ(u.rows(), 3);
        EXPECT_EQ(u.list.count(), 3);
    }
}

TEST_P(RegisterUnits, FailureHalfwayRollsBackTheUnitsAlreadyWritten) {
    Units u;
    // The file refuses the third new unit, after two have gone in.
    u.db.refuse("full_disk", "insert", "hwgl", "(select count(*) from hwgl) >= 3");
    EXPECT_THROW(stockin::registerUnits(u.list, u.entry("5")), db::DbError);
    EXPECT_EQ(u.rows(), 1);
    EXPECT_EQ(u.list.count(), 1);
    EXPECT_EQ(u.list.value(0, u.list.fieldIndex("hwmc")), db::Value("XH-100"));
    // Nothing of the failed attempt is left pending in the list.
    u.list.last();
    EXPECT_EQ(u.list.state(), data::State::Browse);
}

TEST_P(RegisterUnits, ModelIsStoredAsTyped) {
    Units u;
    stockin::registerUnits(u.list, {" 未登记型号 ", 1, "1", u.today, {}});
    EXPECT_EQ(u.db.conn().scalar("select hwmc from hwgl where hwid = 2"), db::Value(" 未登记型号 "));
}
