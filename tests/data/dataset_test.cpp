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

TEST(DataSet, OpensWithFirstRowCurrentAndColumnsOfAnEmptyResult) {
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

TEST(DataSet, TypingEditsAndMovingAwayStoresThePendingChange) {
    Suppliers s({"甲", "乙"});
    s.list.setValue("dwmc", "甲'改");
    EXPECT_EQ(s.list.state(), State::Edit);
    EXPECT_EQ(s.stored(), (QStringList{"甲", "乙"})); // not stored yet
    s.list.setCurrentRow(1);
    EXPECT_EQ(s.list.state(), State::Browse);
    EXPECT_EQ(s.stored(), (QStringList{"甲'改", "乙"}));
    EXPECT_EQ(s.list.value(0, s.list.fieldIndex("dwmc")).toString(), "甲'改"); // the row keeps its new value
}

TEST(DataSet, UntouchedNewRowIsDroppedButAPresetCountsAsAValue) {
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

TEST(DataSet, AppendStoresThePendingRowFirstAndEditOnAnEmptyListStartsARow) {
    Suppliers s;
    s.list.edit(); // "Save on an empty list": a new row holding only its presets
    EXPECT_EQ(s.list.state(), State::Insert);
    s.list.setValue("dwmc", "新");
    s.list.append();
    EXPECT_EQ(s.stored(), QStringList{"新"});
    EXPECT_EQ(s.list.currentRow(), 1);
}

TEST(DataSet, CloseDiscardsPendingEditAndNewRow) {
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

TEST(DataSet, DeleteRemovesTheCurrentRowAndIsRefusedOnAnEmptyList) {
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

TEST(DataSet, RefusedRowStaysOpenWithItsValues) {
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

TEST(DataSet, BeforePostAbortKeepsTheRowOpenAndTheMoveUndone) {
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

TEST(DataSet, FilterSwitchesTheViewAndStoredRowsLeaveItWhenTheyNoLongerMatch) {
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

TEST(DataSet, LookupFieldShowsTheSourceTextAndFollowsItsChanges) {
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

TEST(DataSet, TypedTextIsConvertedToTheFieldType) {
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

TEST(DataSet, WalkVisitsEveryRowThenSetsEof) {
    Suppliers s({"甲", "乙", "丙"});
    QStringList seen;
    for (s.list.first(); !s.list.eof(); s.list.next())
        seen << s.list.value("dwmc").toString();
    EXPECT_EQ(seen, (QStringList{"甲", "乙", "丙"}));
    EXPECT_EQ(s.list.currentRow(), 2);
}

TEST(DataSet, DisabledControlsHearOneResetAfterABatch) {
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
