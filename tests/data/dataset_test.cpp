#include "data/dataset.h"
#include "support/testdb.h"

#include <gtest/gtest.h>

using data::DataSet;
using data::State;
using testing_support::TestDb;

namespace {

// A supplier list over a fresh file, written to jhdw with its autoincrement key.
struct Suppliers {
    TestDb db;
    DataSet list{db.conn()};
    explicit Suppliers(QStringList names = {}) {
        for (const QString& n : names)
            db.conn().exec("insert into jhdw (dwmc) values (?)", {n});
        list.setSql("select * from jhdw order by jhid");
        list.setTable("jhdw", "jhid");
        list.open();
    }
    QStringList stored() {
        QStringList r;
        auto st = db.conn().prepare("select dwmc from jhdw order by jhid");
        while (st->step())
            r << st->value(0).toString();
        return r;
    }
};

} // namespace

VELMORA_ON_EACH_ENGINE(DataSets);

TEST_P(DataSets, OpensWithFirstRowCurrentAndColumnsOfAnEmptyResult) {
    Suppliers s({"甲", "乙"});
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.list.currentRow(), 0);
    EXPECT_EQ(s.list.value("dwmc").toString(), "甲");

    DataSet empty(s.db.conn());
    empty.setSql("select * from hwgl where 1=2");
    empty.open();
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.currentRow(), -1);
    EXPECT_GE(empty.fieldIndex("TXM"), 0); // letter case ignored
    EXPECT_TRUE(empty.value("txm").isNull());
}

TEST_P(DataSets, TypingEditsAndMovingAwayStoresThePendingChange) {
    Suppliers s({"甲", "乙"});
    s.list.setValue("dwmc", "甲'改");
    EXPECT_EQ(s.list.state(), State::Edit);
    EXPECT_EQ(s.stored(), (QStringList{"甲", "乙"})); // not stored yet
    s.list.setCurrentRow(1);
    EXPECT_EQ(s.list.state(), State::Browse);
    EXPECT_EQ(s.stored(), (QStringList{"甲'改", "乙"}));
    EXPECT_EQ(s.list.value(0, s.list.fieldIndex("dwmc")).toString(), "甲'改"); // the row keeps its new value
}

TEST_P(DataSets, UntouchedNewRowIsDroppedButAPresetCountsAsAValue) {
    Suppliers s({"甲"});
    s.list.append();
    EXPECT_EQ(s.list.count(), 2);
    s.list.setCurrentRow(0);
    EXPECT_EQ(s.list.count(), 1);
    EXPECT_EQ(s.stored(), QStringList{"甲"});

    s.list.afterInsert = [](DataSet& d) { d.setValue("tel", "0571"); };
    s.list.append();
    s.list.first();
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.db.conn().scalar("select count(*) from jhdw where dwmc is null and tel = '0571'").toInt(), 1);
    // The new row took over the key the database gave it.
    EXPECT_EQ(s.list.value(1, s.list.fieldIndex("jhid")).toInt(),
              s.db.conn().scalar("select max(jhid) from jhdw").toInt());
}

TEST_P(DataSets, AppendStoresThePendingRowFirstAndEditOnAnEmptyListStartsARow) {
    Suppliers s;
    s.list.edit(); // "Save on an empty list": a new row holding only its presets
    EXPECT_EQ(s.list.state(), State::Insert);
    s.list.setValue("dwmc", "新");
    s.list.append();
    EXPECT_EQ(s.stored(), QStringList{"新"});
    EXPECT_EQ(s.list.currentRow(), 1);
}

TEST_P(DataSets, CloseDiscardsPendingEditAndNewRow) {
    Suppliers s({"甲"});
    s.list.setValue("dwmc", "改");
    s.list.close();
    EXPECT_EQ(s.stored(), QStringList{"甲"});
    s.list.open();
    s.list.append();
    s.list.setValue("dwmc", "新");
    s.list.close();
    EXPECT_EQ(s.stored(), QStringList{"甲"});
}

TEST_P(DataSets, DeleteRemovesTheCurrentRowAndIsRefusedOnAnEmptyList) {
    Suppliers s({"甲", "乙", "丙"});
    s.list.setCurrentRow(1);
    s.list.remove();
    EXPECT_EQ(s.stored(), (QStringList{"甲", "丙"}));
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.list.value("dwmc").toString(), "丙");
    s.list.remove();
    s.list.remove();
    EXPECT_TRUE(s.list.isEmpty());
    EXPECT_THROW(s.list.remove(), data::DataError);
}

TEST_P(DataSets, RefusedRowStaysOpenWithItsValues) {
    Suppliers s({"甲", "乙"});
    s.list.setValue("dwmc", QString(61, 'x'));
    EXPECT_THROW(s.list.setCurrentRow(1), db::DbError);
    EXPECT_EQ(s.list.currentRow(), 0);
    EXPECT_EQ(s.list.state(), State::Edit);
    EXPECT_EQ(s.list.value("dwmc").toString().size(), 61);
    s.list.setValue("dwmc", "短");
    s.list.post();
    EXPECT_EQ(s.stored(), (QStringList{"短", "乙"}));
}

TEST_P(DataSets, BeforePostAbortKeepsTheRowOpenAndTheMoveUndone) {
    Suppliers s({"甲", "乙"});
    s.list.beforePost = [](DataSet& d) {
        if (d.value("dwmc").toString().trimmed().isEmpty())
            throw data::Abort();
    };
    s.list.append();
    s.list.setValue("tel", "1");
    EXPECT_THROW(s.list.first(), data::Abort);
    EXPECT_EQ(s.list.currentRow(), 2);
    EXPECT_EQ(s.list.state(), State::Insert);
}

TEST_P(DataSets, FilterSwitchesTheViewAndStoredRowsLeaveItWhenTheyNoLongerMatch) {
    TestDb t;
    for (const char* st : {"入", "出", "入", "入"})
        t.conn().exec("insert into hwgl (hwmc, if_in) values ('A', ?)", {st});
    DataSet list(t.conn());
    list.setSql("select * from hwgl order by hwid");
    list.setTable("hwgl", "hwid");
    list.open();
    list.setFilter("if_in", "出");
    ASSERT_EQ(list.count(), 1);
    list.setFilter("if_in", "入");
    ASSERT_EQ(list.count(), 3);
    list.setCurrentRow(1);
    const qint64 id = list.value("hwid").toInt();
    list.setValue("if_in", "出");
    list.post();
    EXPECT_EQ(list.count(), 2);
    list.setFilter("if_in", "出");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.value(1, list.fieldIndex("hwid")).toInt(), id);
    list.clearFilter();
    EXPECT_EQ(list.count(), 4);
}

TEST_P(DataSets, LookupFieldShowsTheSourceTextAndFollowsItsChanges) {
    TestDb t;
    t.conn().exec("insert into jhdw (dwmc) values ('华东电子')");
    t.conn().exec("insert into hwgl (hwmc, jhid) values ('A', 1), ('B', 99), ('C', null)");
    DataSet suppliers(t.conn());
    suppliers.setSql("select * from jhdw order by jhid");
    suppliers.setTable("jhdw", "jhid");
    suppliers.open();
    DataSet units(t.conn());
    units.setSql("select * from hwgl order by hwid");
    units.addLookupField("jhdw", "jhid", &suppliers, "jhid", "dwmc");
    units.open();
    const int f = units.fieldIndex("jhdw");
    EXPECT_EQ(units.displayText(0, f), "华东电子");
    EXPECT_EQ(units.displayText(1, f), ""); // names no supplier
    EXPECT_EQ(units.displayText(2, f), "");
    suppliers.setValue("dwmc", "华东电子二");
    suppliers.post();
    EXPECT_EQ(units.displayText(0, f), "华东电子二");
}

TEST_P(DataSets, TypedTextIsConvertedToTheFieldType) {
    TestDb t;
    t.conn().exec("insert into hwgl (hwmc) values ('A')");
    DataSet list(t.conn());
    list.setSql("select * from hwgl");
    list.setTable("hwgl", "hwid");
    list.open();
    list.setText(list.fieldIndex("jhid"), "12");
    list.setText(list.fieldIndex("rkrq"), "2026-12-09");
    EXPECT_THROW(list.setText(list.fieldIndex("jhid"), "12a"), db::ConversionError);
    EXPECT_THROW(list.setText(list.fieldIndex("ckrq"), "no date"), db::ConversionError);
    list.post();
    EXPECT_EQ(t.conn().scalar("select jhid from hwgl").toInt(), 12);
    EXPECT_EQ(t.conn().scalar("select rkrq || '' from hwgl").toString(), "2026-12-09 00:00:00"); // stored form
}

TEST_P(DataSets, WalkVisitsEveryRowThenSetsEof) {
    Suppliers s({"甲", "乙", "丙"});
    QStringList seen;
    for (s.list.first(); !s.list.eof(); s.list.next())
        seen << s.list.value("dwmc").toString();
    EXPECT_EQ(seen, (QStringList{"甲", "乙", "丙"}));
    EXPECT_EQ(s.list.currentRow(), 2);
}

TEST_P(DataSets, DisabledControlsHearOneResetAfterABatch) {
    Suppliers s({"甲"});
    int resets = 0, moves = 0;
    QObject::connect(&s.list, &DataSet::resetDone, [&] { ++resets; });
    QObject::connect(&s.list, &DataSet::currentRowChanged, [&] { ++moves; });
    {
        data::ControlsDisabled quiet(s.list);
        for (int i = 0; i < 3; ++i) {
            s.list.append();
            s.list.setValue("dwmc", QString::number(i));
            s.list.post();
        }
    }
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(s.list.count(), 4);
    EXPECT_EQ(s.list.currentRow(), 3);
}

TEST_P(DataSets, AWriteFromAStaleListIsRefusedAndTheRowReadAgain) {
    Suppliers s({"甲", "乙", "丙"});
    auto other = s.db.openAnother();
    other->exec("update jhdw set tel = '0571' where dwmc = '甲'");
    other->exec("update jhdw set dwmc = 'b' where dwmc = '乙'");
    other->exec("delete from jhdw where dwmc = '丙'");

    // Changed elsewhere: nothing written, the list shows the file's values.
    s.list.setValue("dwmc", "甲改");
    EXPECT_THROW(s.list.post(), data::StaleRow);
    EXPECT_EQ(s.list.state(), State::Browse);
    EXPECT_EQ(s.list.value("tel").toString(), "0571");
    EXPECT_EQ(s.stored(), (QStringList{"甲", "b"}));

    // Deleted elsewhere: the row leaves the list and nothing else is touched.
    s.list.setCurrentRow(2);
    EXPECT_THROW(s.list.remove(), data::StaleRow);
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.stored(), (QStringList{"甲", "b"}));

    // A change of letter case alone is a change: "B" read is not "b" stored.
    s.list.setCurrentRow(1);
    s.list.setValue("tel", "1");
    EXPECT_THROW(s.list.post(), data::StaleRow); // renamed elsewhere
    EXPECT_EQ(s.list.value("dwmc").toString(), "b");
    s.list.setValue("tel", "1");
    s.list.post();
    other->exec("update jhdw set dwmc = 'B' where dwmc = 'b'");
    s.list.setValue("tel", "2");
    EXPECT_THROW(s.list.post(), data::StaleRow);
    EXPECT_EQ(s.list.value("dwmc").toString(), "B");
    // Re-read, the row can be written again.
    s.list.setValue("tel", "3");
    s.list.post();
    EXPECT_EQ(other->scalar("select tel from jhdw where dwmc = 'B'").toString(), "3");
}

TEST_P(DataSets, ATextThatDoesNotFitOrHoldsANullCharacterIsRefusedBeforeAnythingIsWritten) {
    Suppliers s({"甲"});
    const struct {
        QString typed;
        const char* message;
    } cases[] = {
        {QString(61, QChar(u'名')), "单位名称最多60个字符！"},
        {QString("abc") + QChar(0) + QString(300, 'x'), "单位名称不能包含空字符！"},
    };
    for (const auto& c : cases) {
        s.list.setValue("dwmc", c.typed);
        try {
            s.list.post();
            ADD_FAILURE() << c.message;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.text(), QString::fromUtf8(c.message));
        }
        s.list.cancel();
    }
    EXPECT_EQ(s.stored(), QStringList{"甲"});
    // Sixty characters, one of them outside the basic plane, fit.
    s.list.setValue("dwmc", QString(59, QChar(u'名')) + QString::fromUtf8("\xF0\x9F\x98\x80"));
    s.list.post();
    EXPECT_EQ(s.db.conn().scalar("select length(dwmc) from jhdw").toInt(), 60);
}

TEST_P(DataSets, ForgettingRowsAfterAFailedBatchTouchesOnlyMemory) {
    Suppliers s({"甲"});
    {
        db::Transaction tx(s.db.conn());
        for (const char* n : {"乙", "丙"}) {
            s.list.append();
            s.list.setValue("dwmc", QString::fromUtf8(n));
            s.list.post();
        }
        s.list.forgetRowsAfter(1);
    } // rolled back
    EXPECT_EQ(s.list.count(), 1);
    EXPECT_EQ(s.list.currentRow(), 0);
    EXPECT_EQ(s.stored(), QStringList{"甲"});
}

// Cells are packed by size (small and large numbers, short and long texts):
// each reads back as it was read, and the cell after it is still found.
TEST(DataSet, EveryValueSizeReadsBackAsStored) {
    const QString long300(300, QChar(u'货'));
    const std::vector<db::Value> cases = {
        db::Value(),         qint64(0),
        qint64(-128),        qint64(127),
        qint64(128),         qint64(-32769),
        qint64(32768),       qint64(2147483648LL),
        qint64(-1LL << 40),  2.5,
        QString(),           QString(255, 'x'),
        QString(256, 'y'),   long300,
        QString(70000, 'z'),
    };
    TestDb db;
    for (const db::Value& v : cases) {
        DataSet list(db.conn());
        list.setSql("select ? as a, ? as b", {v, qint64(7)});
        list.open();
        EXPECT_EQ(list.value(0, 0), v) << v.toString().left(20).toStdString();
        EXPECT_EQ(list.value(0, 1), db::Value(qint64(7))); // the cell after it is found
    }
}
