// The goods query window: its choices and date ranges, and a new goods list for
// every run with the criteria of that moment.
#include "fixture.h"
#include "queries/ckmx.h"
#include "queries/query.h"
#include "support/screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

using namespace testing_support;

namespace {

QStringList choices(QComboBox* box) {
    QStringList l;
    for (int i = 0; i < box->count(); ++i)
        l << box->itemText(i);
    return l;
}

struct Query {
    TestDb db;
    ScriptedPrompter prompts;
    ScriptedModals modals;
    QList<QStringList> listed; // the grid lines of each goods list opened
    Query() {
        queries_test::addGoods(db.conn());
        modals.steps.push_back([this](QDialog& d) { record(d); });
        modals.steps.push_back([this](QDialog& d) { record(d); });
    }
    void record(QDialog& d) {
        auto* list = dynamic_cast<TckmxFrm*>(&d);
        ASSERT_NE(list, nullptr);
        QStringList hwids;
        for (const QString& line : lines(list->findChild<ui::DataGrid*>("DBGrid1")))
            hwids << line.section('|', 0, 0);
        listed << hwids;
    }
};

} // namespace

TEST(TqueryFrm, OffersTheChoicesWithTodayInDisabledRanges) {
    Query t;
    Screen<TqueryFrm> s(t.db.conn());
    EXPECT_EQ(s.w.windowTitle(), "仓库物品查询");
    EXPECT_EQ(choices(s.get<QComboBox>("cmbType")), QStringList({"笔记本", "显示器"}));
    EXPECT_EQ(choices(s.get<QComboBox>("cmbJhname")), QStringList({"华联电脑", "西湖数码"}));
    EXPECT_EQ(choices(s.get<QComboBox>("cmbXh")), QStringList({" X1", "P27"}));
    EXPECT_EQ(choices(s.get<QComboBox>("cmbKhmc")), QStringList({" 杭州华联"}));
    EXPECT_EQ(choices(s.get<QComboBox>("cmbIfIn")), QStringList({"出", "入"}));
    for (const char* box : {"cmbType", "cmbJhname", "cmbXh", "cmbKhmc", "cmbIfIn"})
        EXPECT_EQ(s.get<QComboBox>(box)->currentText(), "") << box;
    EXPECT_FALSE(s.get<QLineEdit>("edttxm")->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(s.button("btnSave")->isDefault());

    for (const char* d : {"dtpRstart", "dtpRend", "dtpCstart", "dtpCend"}) {
        EXPECT_EQ(s.get<QDateEdit>(d)->date(), QDate::currentDate()) << d;
        EXPECT_FALSE(s.get<QDateEdit>(d)->isEnabled()) << d;
    }
    s.get<QCheckBox>("cbxRk")->click();
    EXPECT_TRUE(s.get<QDateEdit>("dtpRstart")->isEnabled());
    EXPECT_TRUE(s.get<QDateEdit>("dtpRend")->isEnabled());
    EXPECT_FALSE(s.get<QDateEdit>("dtpCstart")->isEnabled());
    s.get<QCheckBox>("cbxRk")->click();
    EXPECT_FALSE(s.get<QDateEdit>("dtpRend")->isEnabled());
}

TEST(TqueryFrm, EachRunOpensANewGoodsListAndKeepsTheCriteria) {
    Query t;
    Screen<TqueryFrm> s(t.db.conn());
    s.press("btnSave"); // nothing typed: nothing listed
    s.get<QComboBox>("cmbXh")->setEditText(" x1 ");
    s.get<QComboBox>("cmbIfIn")->setEditText("入");
    s.get<QCheckBox>("cbxRk")->click();
    s.get<QDateEdit>("dtpRstart")->setDate(QDate(2024, 3, 1));
    s.get<QDateEdit>("dtpRend")->setDate(QDate(2024, 3, 1));
    QTest::keyClick(s.get<QLineEdit>("edttxm"), Qt::Key_Return); // Enter runs the query
    QApplication::processEvents();

    EXPECT_EQ(t.modals.count, 2);
    EXPECT_EQ(t.listed, QList<QStringList>({{}, {"5"}}));
    EXPECT_EQ(s.get<QComboBox>("cmbXh")->currentText(), " x1 ");
    EXPECT_TRUE(s.get<QCheckBox>("cbxRk")->isChecked());
    EXPECT_FALSE(s.w.sqlWhere.isEmpty());
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();

    s.press("btnClose");
    EXPECT_TRUE(s.w.sqlWhere.isEmpty());
    EXPECT_FALSE(s.w.isVisible());
}
