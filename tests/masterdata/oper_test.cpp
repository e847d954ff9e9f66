// The operator window: the twelve columns, the presets of a new operator, a
// password that this window never shows nor changes, Delete without a guard.
#include "core/codes.h"
#include "core/commands.h"
#include "masterdata/oper.h"
#include "support/screen.h"

using namespace testing_support;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;
using Kind = ScriptedPrompter::Kind;

namespace {

const char* kColumns = "op_name, op_code, password, rk, jxsck, mcxs, jxcx, mccx, jhdw, jxszl, cplb, cpxh, czy";
const QString kNewOperator = "||||无|无|无|无|无|无|无|无|无";

struct Operators {
    TestDb db;
    ScriptedPrompter prompts;
    void add(const QString& name, const QString& code, const QString& password, const QString& right) {
        db.conn().exec("insert into operator (op_name, op_code, password, rk, jxsck, mcxs, jxcx, mccx, jhdw, jxszl, "
                       "cplb, cpxh, czy) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {name, code, password, right, right, right, right, right, right, right, right, right, right});
    }
    QStringList stored() {
        return rows(db.conn(), QStringLiteral("select %1 from operator order by op_id").arg(kColumns));
    }
};

using Window = Screen<TOperFrm>;

} // namespace

TEST(OperatorWindow, ShowsTheTwelveColumnsWithYesNoPickLists) {
    Operators t;
    t.add("张三", "001", "$argon2id$hash", "有");
    Window s(t.db.conn());
    auto* g = s.grid("dbgOper");
    EXPECT_EQ(s.w.windowTitle(), "操作员资料");
    EXPECT_EQ(headers(g), QStringList({"姓名", "操作代码", "入库", "经销销售", "卖场销售", "经销查询", "卖场查询",
                                       "进货单位", "经销卖场", "产品类别", "产品型号", "操作员"}));
    EXPECT_EQ(lines(g), QStringList({"张三|001|有|有|有|有|有|有|有|有|有|有"}));
    EXPECT_TRUE(g->gridModel()->column(1).pickList.isEmpty());
    for (int c = 2; c < 12; ++c)
        EXPECT_EQ(g->gridModel()->column(c).pickList, QStringList({"有", "无"})) << c;
}

// Add, moving past the last line, and Save on an empty list give the same presets,
// and a preset-only operator is stored when the user moves on.
TEST(OperatorWindow, ANewOperatorGetsNoRightsAndAnEmptyPassword) {
    struct Case {
        const char* what;
        bool emptyList;
        std::function<void(Window&)> run;
    };
    const std::vector<Case> cases = {
        {"Save on an empty list", true, [](Window& s) { s.press("btnSave"); }},
        {"Add, Save", false,
         [](Window& s) {
             s.press("btnAdd");
             s.press("btnSave");
         }},
        {"Add, select another", false,
         [](Window& s) {
             s.press("btnAdd");
             select(s.grid("dbgOper"), 0);
         }},
        {"past the last line, select another", false,
         [](Window& s) {
             s.grid("dbgOper")->setFocus();
             QTest::keyClick(s.grid("dbgOper"), Qt::Key_Down);
             select(s.grid("dbgOper"), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Operators t;
        if (!c.emptyList)
            t.add("张三", "001", "$argon2id$hash", "有");
        Window s(t.db.conn());
        c.run(s);
        EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
        ASSERT_EQ(t.stored().size(), c.emptyList ? 1 : 2);
        EXPECT_EQ(t.stored().last(), kNewOperator);
        EXPECT_EQ(t.db.conn().scalar("select count(*) from operator where password = '' and rk = ''").toInt(), 1);
        // Such an operator is refused every rights-gated command.
        for (const core::Command& r : core::commands()) {
            const auto v =
                t.db.conn().scalar(QStringLiteral("select %1 from operator order by op_id desc limit 1").arg(r.column));
            EXPECT_FALSE(core::codes::grants(v.toString())) << r.item;
        }
    }
}

TEST(OperatorWindow, ChangingRightsLeavesThePasswordAlone) {
    Operators t;
    t.add("张三", "001", "$argon2id$v=19$hash", "无");
    t.add("张三", "001", "$argon2id$v=19$other", "无"); // the same code twice is allowed
    Window s(t.db.conn());
    auto* g = s.grid("dbgOper");
    type(g, 1, 0, "李四");
    type(g, 1, 11, "有");
    type(g, 1, 2, "x"); // any text but "有" refuses
    s.press("btnSave");
    EXPECT_EQ(t.stored(), QStringList({"张三|001|$argon2id$v=19$hash|无|无|无|无|无|无|无|无|无|无",
                                       "李四|001|$argon2id$v=19$other|x|无|无|无|无|无|无|无|无|有"}));
}

TEST(OperatorWindow, DeleteAsksEvenOnAnEmptyListAndThenReportsTheListsError) {
    Operators t;
    Window s(t.db.conn());
    s.press("btnDel");
    ASSERT_EQ(t.prompts.shown.size(), 2u);
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Confirm);
    EXPECT_EQ(t.prompts.shown[0].text, "确认要删除此条记录吗?");
    EXPECT_EQ(t.prompts.shown[1].kind, Kind::Stop);
    EXPECT_EQ(t.prompts.shown[1].text, "列表中没有记录，无法删除");
    EXPECT_TRUE(t.stored().isEmpty());
}

TEST(OperatorWindow, DeleteRemovesTheCurrentOperatorOnOk) {
    Operators t;
    t.add("张三", "001", "h1", "有");
    t.add("李四", "002", "h2", "无");
    Window s(t.db.conn());
    select(s.grid("dbgOper"), 1);
    t.prompts.answers = {false};
    s.press("btnDel");
    EXPECT_EQ(t.stored().size(), 2);
    s.press("btnDel");
    EXPECT_EQ(rows(t.db.conn(), "select op_name from operator"), QStringList({"张三"}));
    EXPECT_EQ(lines(s.grid("dbgOper")).size(), 1);
}

TEST(OperatorWindow, AValueTooLongIsRefusedNamingTheFieldAndTheRowStaysOpen) {
    Operators t;
    Window s(t.db.conn());
    s.press("btnAdd");
    type(s.grid("dbgOper"), 0, 1, "1234567");
    s.press("btnSave");
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Stop);
    EXPECT_TRUE(t.prompts.last().contains("操作代码"));
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    EXPECT_TRUE(t.stored().isEmpty());
    type(s.grid("dbgOper"), 0, 1, "O'1");
    s.press("btnSave");
    EXPECT_EQ(t.stored(), QStringList({"|O'1|||无|无|无|无|无|无|无|无|无"}));
}
