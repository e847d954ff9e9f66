#include "pickers/jxsSelect.h"
#include "support/goods.h"
#include "support/scripted.h"
#include "support/testdb.h"
#include "ui/datagrid.h"

#include <QPushButton>

#include <gtest/gtest.h>

using namespace testing_support;
using testing_support::TestDb;

namespace {

QStringList names(data::DataSet& l) {
    QStringList r;
    for (int i = 0; i < l.count(); ++i)
        r << l.displayText(i, l.fieldIndex("mc"));
    return r;
}

void click(QDialog& d, const char* button) { d.findChild<QPushButton*>(button)->click(); }

} // namespace

TEST(TjxsSelectFrm, ListsDealersAndStoresOfTheCurrentAreaAndFollowsTheAreaCursor) {
    TestDb db;
    auto& c = db.conn();
    c.exec("delete from area");
    for (const char* a : {"杭州", "绍兴", "O'Hare"})
        c.exec("insert into area (area_name) values (?)", {a});
    addJxs(c, "杭州华联", "杭州");
    addJxs(c, "绍兴国美", "绍兴");
    addJxs(c, "银泰卖场", "杭州", "mc");
    addJxs(c, "机场店", "O'Hare");

    TjxsSelectFrm d(c);
    d.show();
    EXPECT_EQ(d.windowTitle(), "选择经销商");
    EXPECT_EQ(names(d.dealers()), (QStringList{"杭州华联", "银泰卖场"}));
    d.areas().setCurrentRow(1);
    EXPECT_EQ(names(d.dealers()), QStringList{"绍兴国美"});
    d.areas().setCurrentRow(2); // a quote in the area name is just a character
    EXPECT_EQ(names(d.dealers()), QStringList{"机场店"});
    d.areas().setCurrentRow(0);
    d.dealers().setCurrentRow(1);
    d.DBGrid2DblClick();
    EXPECT_EQ(d.selectedMc, "银泰卖场");
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(TjxsSelectFrm, EmptyListsGiveAnEmptyNameAndADoubleClickDoesNothing) {
    TestDb db;
    auto& c = db.conn();
    addJxs(c, "无地区经销商", "");
    {
        c.exec("delete from area");
        TjxsSelectFrm d(c);
        d.show();
        EXPECT_EQ(d.areas().count(), 0);
        EXPECT_EQ(d.dealers().count(), 0);
        click(d, "BitBtn1");
        EXPECT_EQ(d.selectedMc, "");
        EXPECT_FALSE(d.isVisible());
    }
    c.exec("insert into area (area_name) values ('衢州')"); // an area without dealers
    TjxsSelectFrm d(c);
    d.show();
    EXPECT_EQ(d.dealers().count(), 0);
    d.DBGrid2DblClick();
    EXPECT_TRUE(d.isVisible());
    click(d, "BitBtn1");
    EXPECT_EQ(d.selectedMc, "");
    EXPECT_FALSE(d.isVisible());
}

TEST(TjxsSelectFrm, ConfirmTakesTheCurrentNameAndExitLeavesItEmpty) {
    TestDb db;
    auto& c = db.conn();
    addJxs(c, "杭州华联", "杭州");
    addJxs(c, "", "杭州"); // a dealer without a name cannot be chosen
    TjxsSelectFrm ok(c);
    ok.show();
    click(ok, "BitBtn1");
    EXPECT_EQ(ok.selectedMc, "杭州华联");

    TjxsSelectFrm unnamed(c);
    unnamed.show();
    unnamed.dealers().setCurrentRow(1);
    unnamed.DBGrid2DblClick();
    EXPECT_TRUE(unnamed.isVisible());
    click(unnamed, "BitBtn1");
    EXPECT_EQ(unnamed.selectedMc, "");

    TjxsSelectFrm leave(c);
    leave.show();
    click(leave, "BitBtn2");
    EXPECT_EQ(leave.selectedMc, "");
    EXPECT_EQ(leave.result(), QDialog::Rejected);
}
