#include "support/scripted.h"
#include "support/testdb.h"
#include "ui/countbox.h"
#include "ui/datagrid.h"
#include "ui/fieldlink.h"
#include "ui/guard.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

struct Categories {
    TestDb db;
    data::DataSet list{db.conn()};
    ScriptedPrompter prompts;
    explicit Categories(QStringList names) {
        for (const QString& n : names)
            db.conn().exec("insert into cktype (type_name) values (?)", {n});
        list.setSql("select * from cktype");
        list.setTable("cktype", "type_id");
        list.open();
    }
    std::vector<ui::Column> columns() const { return {{"序号", "type_id", true}, {"型号名称", "type_name"}}; }
};

} // namespace

VELMORA_ON_EACH_ENGINE(GridModel);
VELMORA_ON_EACH_ENGINE(DataGrid);

TEST_P(GridModel, PassesTheModelTesterThroughEditsInsertsAndDeletes) {
    Categories c({"笔记本", "台式机"});
    ui::GridModel model(c.list, c.columns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "型号名称");
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    EXPECT_TRUE(model.setData(model.index(1, 1), "服务器"));
    c.list.append();
    EXPECT_EQ(model.rowCount(), 3);
    c.list.first(); // drops the untouched new row, stores nothing else
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 1).data().toString(), "服务器");
    EXPECT_EQ(c.db.conn().scalar("select type_name from cktype where type_id = 2").toString(), "服务器");
    c.list.remove();
    EXPECT_EQ(model.rowCount(), 1);
    c.list.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_P(DataGrid, FollowsTheListAndAppendsWhenMovingPastTheLastLine) {
    Categories c({"笔记本", "台式机"});
    ui::DataGrid grid(c.list, c.columns());
    grid.show();
    grid.setCurrentIndex(grid.model()->index(1, 1));
    EXPECT_EQ(c.list.currentRow(), 1);
    c.list.first();
    EXPECT_EQ(grid.currentIndex().row(), 0);

    c.list.last();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(c.list.state(), data::State::Insert);
    EXPECT_EQ(c.list.count(), 3);
    QTest::keyClick(&grid, Qt::Key_Down); // still one new row only
    EXPECT_EQ(c.list.count(), 3);

    grid.setReadOnly(true);
    c.list.first();
    c.list.last();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(c.list.count(), 2);
}

TEST_P(DataGrid, ARowTheDatabaseRefusesIsReportedAndStaysCurrent) {
    Categories c({"笔记本", "台式机"});
    ui::DataGrid grid(c.list, c.columns());
    grid.show();
    c.list.setValue("type_name", QString(51, 'x'));
    grid.setCurrentIndex(grid.model()->index(1, 1));
    QCoreApplication::processEvents();
    ASSERT_EQ(c.prompts.shown.size(), 1u);
    EXPECT_EQ(c.prompts.shown[0].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_TRUE(c.prompts.last().contains("型号名称最多50个字符"));
    EXPECT_EQ(c.list.currentRow(), 0);
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST(FieldLink, ShowsTheCurrentRowAndTypingEditsIt) {
    Categories c({"笔记本", "台式机"});
    QLineEdit edit;
    ui::FieldLink::bind(&edit, c.list, "type_name");
    EXPECT_EQ(edit.text(), "笔记本");
    c.list.setCurrentRow(1);
    EXPECT_EQ(edit.text(), "台式机");
    QTest::keyClicks(&edit, "X");
    EXPECT_EQ(c.list.state(), data::State::Edit);
    EXPECT_EQ(c.list.value("type_name").toString(), "台式机X");
    c.list.cancel();
    EXPECT_EQ(edit.text(), "台式机");
}

TEST(CountBox, CountsAtTheClickOnly) {
    Categories c({"a", "b", "c"});
    QCheckBox box("显示台数");
    ui::CountBox count(
        &box, [&] { return c.list.count(); }, "统计台数");
    box.click();
    EXPECT_EQ(box.text(), "共3台");
    c.list.remove();
    EXPECT_EQ(box.text(), "共3台");
    box.click();
    EXPECT_EQ(box.text(), "统计台数");
}

TEST(Guard, ShowsErrorsWithTheirOwnTextAndAbortSilently) {
    ScriptedPrompter prompts;
    EXPECT_FALSE(ui::guard([] { throw db::DbError("CHECK constraint failed: 备注 最多 250 个字符", "insert ..."); }));
    EXPECT_FALSE(ui::guard([] { throw db::ConversionError("'3x' 不是有效的整数值"); }));
    EXPECT_FALSE(ui::guard([] { throw data::Abort(); }));
    EXPECT_TRUE(ui::guard([] {}));
    EXPECT_EQ(prompts.texts(), (QStringList{"CHECK constraint failed: 备注 最多 250 个字符", "'3x' 不是有效的整数值"}));
    // Another desk's change is news, not a failure: a plain message.
    EXPECT_EQ(prompts.shown[0].kind, ScriptedPrompter::Kind::Stop);
    prompts.shown.clear();
    EXPECT_FALSE(ui::guard([] { throw data::StaleRow(); }));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, ScriptedPrompter::Kind::Message);
}
