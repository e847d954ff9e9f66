// The dealer and store window: two independent lists on two pages, the type
// preset of each page however a new row starts, the area pick list, Excel.
#include "export/xlsxsheet.h"
#include "masterdata/jxs.h"
#include "support/desktop.h"
#include "support/screen.h"

#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace testing_support;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

struct Partners {
    TestDb db;
    ScriptedPrompter prompts;
    void add(const QString& mc, const db::Value& type, const QString& dq = "杭州") {
        db.conn().exec("insert into jxs (mc, dq, type) values (?, ?, ?)", {mc, dq, type});
    }
    QStringList stored() { return rows(db.conn(), "select id, mc, dq, type from jxs order by id"); }
};

struct Window : Screen<TjxsFrm> {
    using Screen::Screen;
    QTabWidget* pages() { return get<QTabWidget>("pcJxs"); }
    void page(int i) {
        pages()->setCurrentIndex(i);
        QApplication::processEvents();
    }
};

} // namespace

TEST(DealerWindow, ListsDealersAndStoresOnTheirPages) {
    Partners t;
    t.add("杭州数码港", "jx");
    t.add("银泰百货", "mc");
    t.add("宁波老客户", "xx"); // any type but a store's is a dealer here
    t.add("无类型", db::Value());
    Window s(t.db.conn());

    EXPECT_EQ(s.w.windowTitle(), "经销商及卖场管理");
    EXPECT_EQ(s.pages()->tabText(0), "经销商");
    EXPECT_EQ(s.pages()->tabText(1), "卖场");
    EXPECT_EQ(s.pages()->currentIndex(), 0);
    const QStringList cols = {"名称", "联系人", "手机", "电话", "地址", "地区", "备注"};
    EXPECT_EQ(headers(s.grid("dbgJx")), cols);
    EXPECT_EQ(headers(s.grid("dbgMc")), cols);
    EXPECT_EQ(lines(s.grid("dbgJx")), QStringList({"杭州数码港|||||杭州|", "宁波老客户|||||杭州|"}));
    EXPECT_EQ(lines(s.grid("dbgMc")), QStringList({"银泰百货|||||杭州|"}));
    EXPECT_EQ(s.grid("dbgJx")->gridModel()->column(5).pickList,
              QStringList({"杭州", "绍兴", "宁波", "嘉兴", "台州", "湖州", "衢州", "丽水", "金华", "温州"}));
}

// Add, moving past the last line, and Save on an empty list all give the page's type.
TEST(DealerWindow, ANewRowGetsItsPagesTypeHoweverItStarts) {
    struct Case {
        const char* what;
        std::function<void(Window&, bool stores)> start;
    };
    const std::vector<Case> cases = {
        {"Add", [](Window& s, bool stores) { s.press(stores ? "btnAddMc" : "btnAddJx"); }},
        {"moving past the last line",
         [](Window& s, bool stores) {
             auto* g = s.grid(stores ? "dbgMc" : "dbgJx");
             g->setFocus();
             QTest::keyClick(g, Qt::Key_Down);
         }},
    };
    for (const Case& c : cases) {
        for (const bool stores : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (stores ? ", stores" : ", dealers"));
            Partners t;
            t.add("杭州数码港", "jx");
            t.add("银泰百货", "mc");
            Window s(t.db.conn());
            s.page(stores ? 1 : 0);
            c.start(s, stores);
            data::DataSet& mine = stores ? s.w.stores() : s.w.dealers();
            data::DataSet& other = stores ? s.w.dealers() : s.w.stores();
            EXPECT_EQ(mine.count(), 2);
            EXPECT_EQ(mine.state(), data::State::Insert);
            EXPECT_EQ(other.count(), 1);
            EXPECT_FALSE(other.isEditing());

            // Nothing typed: leaving the row stores it with only its type.
            select(s.grid(stores ? "dbgMc" : "dbgJx"), 0);
            EXPECT_EQ(t.stored().last(), stores ? "3|<null>|<null>|mc" : "3|<null>|<null>|jx");
            EXPECT_TRUE(t.prompts.shown.empty());
        }
    }
}

TEST(DealerWindow, OnAnEmptyListDeleteDoesNothingAndSaveStoresTheTypeOnly) {
    Partners t;
    Window s(t.db.conn());
    s.press("btnDelJx");
    EXPECT_TRUE(t.prompts.shown.empty());
    s.press("btnSaveJx");
    s.page(1);
    s.press("btnDelMc");
    EXPECT_TRUE(t.prompts.shown.empty());
    s.press("btnSaveMc");
    EXPECT_EQ(t.stored(), QStringList({"1|<null>|<null>|jx", "2|<null>|<null>|mc"}));
    EXPECT_EQ(s.w.dealers().count(), 1);
    EXPECT_EQ(s.w.stores().count(), 1);
}

TEST(DealerWindow, TypedValuesAreStoredAsTyped) {
    Partners t;
    Window s(t.db.conn());
    s.press("btnAddJx");
    auto* g = s.grid("dbgJx");
    type(g, 0, 0, "O'Hara 电脑城");
    type(g, 0, 1, "王经理");
    type(g, 0, 5, "上海"); // not in the pick list
    s.press("btnSaveJx");
    EXPECT_EQ(rows(t.db.conn(), "select mc, linker, dq, type from jxs"), QStringList({"O'Hara 电脑城|王经理|上海|jx"}));

    // A contact person longer than the column holds is refused, naming the field.
    type(g, 0, 1, "一二三四五六七八九");
    s.press("btnSaveJx");
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_TRUE(t.prompts.last().contains("联系人"));
    EXPECT_EQ(s.w.dealers().state(), data::State::Edit);
    EXPECT_EQ(rows(t.db.conn(), "select linker from jxs"), QStringList({"王经理"}));
}

TEST(DealerWindow, DeleteAsksAndActsOnItsOwnPageOnly) {
    Partners t;
    t.add("杭州数码港", "jx");
    t.add("银泰百货", "mc");
    t.add("国美电器", "mc");
    Window s(t.db.conn());
    s.page(1);
    select(s.grid("dbgMc"), 1);
    t.prompts.answers = {false, true};
    s.press("btnDelMc");
    EXPECT_EQ(t.stored().size(), 3);
    s.press("btnDelMc");
    EXPECT_EQ(t.prompts.texts(), QStringList({"确认要删除此条记录吗?", "确认要删除此条记录吗?"}));
    EXPECT_EQ(t.stored(), QStringList({"1|杭州数码港|杭州|jx", "2|银泰百货|杭州|mc"}));
    EXPECT_EQ(s.w.dealers().count(), 1);
}

TEST(DealerWindow, ExcelExportsEachPageWithItsLayoutAndEndsOnTheFirstRow) {
    Partners t;
    FakeDesktop desk;
    t.add("杭州数码港", "jx");
    t.add("绍兴电脑城", "jx");
    Window s(t.db.conn());
    select(s.grid("dbgJx"), 1);
    type(s.grid("dbgJx"), 1, 1, "李四"); // a pending change is stored on the way
    s.press("btnExcelJx");
    s.page(1);
    s.press("btnExcelMc"); // no stores: a sheet with the title and headers only
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
    ASSERT_EQ(desk.opened.size(), 2);
    EXPECT_TRUE(QFileInfo(desk.opened[0]).fileName().contains("经销商信息")) << desk.opened[0].toStdString();
    EXPECT_TRUE(QFileInfo(desk.opened[1]).fileName().contains("卖场信息")) << desk.opened[1].toStdString();
    EXPECT_EQ(s.w.dealers().currentRow(), 0);
    EXPECT_EQ(rows(t.db.conn(), "select linker from jxs where id = 2"), QStringList({"李四"}));
}

TEST(DealerWindow, CloseOnEitherPageDiscardsWhatWasNotStored) {
    Partners t;
    t.add("杭州数码港", "jx");
    Window s(t.db.conn());
    type(s.grid("dbgJx"), 0, 0, "改名");
    s.page(1);
    s.press("btnAddMc");
    s.press("btnCloseMc");
    EXPECT_FALSE(s.w.isVisible());
    EXPECT_EQ(t.stored(), QStringList({"1|杭州数码港|杭州|jx"}));
}
