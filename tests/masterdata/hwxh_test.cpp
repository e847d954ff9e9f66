// The model window: one category at a time, the category preset on new
// models, new codes unique over all categories, and a refusal by the
// database reported rather than hidden.
#include "masterdata/hwxh.h"
#include "support/screen.h"

#include <QComboBox>
#include <QLineEdit>

using namespace testing_support;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;
using Kind = ScriptedPrompter::Kind;

namespace {

const char* kDuplicate = "此型号已经设置，型号不能重复,请换个名称或检查以前设置的型号是否正确！";

struct Models {
    TestDb db;
    ScriptedPrompter prompts;
    Models() {
        db.conn().exec("insert into cktype (type_name) values ('笔记本'), ('台式机'), ('   ')");
        model("TP-X1", "笔记本", "ThinkPad X1");
        model("TP-T14", "笔记本", "ThinkPad T14");
        model("HP-800", "台式机", "EliteDesk 800");
        model("OLD-1", "旧笔记本", "改名前的类别"); // its category was renamed
    }
    void model(const QString& xh, const QString& type, const QString& mc) {
        db.conn().exec("insert into hwxh (xh, type_name, mc) values (?, ?, ?)", {xh, type, mc});
    }
    QStringList stored() { return rows(db.conn(), "select xh, type_name, mc, remark from hwxh order by xh_id"); }
};

struct Window : Screen<ThwxhFrm> {
    using Screen::Screen;
    QComboBox* type() { return get<QComboBox>("cmbType"); }
    ui::DataGrid* models() { return grid("dbgXh"); }
    void choose(int index) {
        type()->setCurrentIndex(index);
        emit type()->activated(index);
        QApplication::processEvents();
    }
};

} // namespace

VELMORA_ON_EACH_ENGINE(ModelWindow);

TEST_P(ModelWindow, OpensOnTheFirstCategoryWithItsModels) {
    Models t;
    Window s(t.db.conn());
    EXPECT_EQ(s.w.windowTitle(), "产品型号维护");
    QStringList names;
    for (int i = 0; i < s.type()->count(); ++i)
        names << s.type()->itemText(i);
    EXPECT_EQ(names, QStringList({"笔记本", "台式机", "   "}));
    EXPECT_EQ(s.type()->currentText(), "笔记本");
    EXPECT_EQ(headers(s.models()), QStringList({"型号", "名称", "配置说明"}));
    EXPECT_EQ(lines(s.models()), QStringList({"TP-X1|ThinkPad X1|", "TP-T14|ThinkPad T14|"}));
    EXPECT_EQ(s.w.list().currentRow(), 0);
    EXPECT_TRUE(s.button("btnSave")->isDefault());
    EXPECT_TRUE(t.prompts.shown.empty());

    s.choose(1);
    EXPECT_EQ(lines(s.models()), QStringList({"HP-800|EliteDesk 800|"}));
}

TEST_P(ModelWindow, WithoutCategoriesNothingCanBeChanged) {
    TestDb db;
    ScriptedPrompter prompts;
    db.conn().exec("insert into hwxh (xh, type_name) values ('TP-X1', '笔记本')");
    Window s(db.conn());
    EXPECT_EQ(prompts.texts(), QStringList({"请先增加产品类别记录！"}));
    EXPECT_EQ(prompts.shown[0].kind, Kind::Message);
    EXPECT_TRUE(s.w.isVisible());
    for (const char* b : {"btnAdd", "btnDel", "btnSave"})
        EXPECT_FALSE(s.button(b)->isEnabled()) << b;
    EXPECT_TRUE(s.button("btnClose")->isEnabled());
    EXPECT_TRUE(s.models()->isReadOnly());
    EXPECT_TRUE(lines(s.models()).isEmpty());
}

TEST_P(ModelWindow, ANewModelGetsTheCategoryCurrentAtAdd) {
    Models t;
    Window s(t.db.conn());
    s.choose(1);
    s.press("btnAdd");
    type(s.models(), 1, 0, "HP-600");
    type(s.models(), 1, 2, "i5/8G/512G 'SSD'");
    s.press("btnSave");
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored().last(), "HP-600|台式机|<null>|i5/8G/512G 'SSD'");
    EXPECT_FALSE(s.w.list().isEditing());
}

// However the new row is about to be stored, a code used in any category is refused.
TEST_P(ModelWindow, ANewCodeThatExistsAnywhereIsRefusedAndTheRowStaysOpen) {
    struct Case {
        const char* what;
        const char* code;
        std::function<void(Window&)> store;
    };
    const std::vector<Case> cases = {
        {"Save, same category", "TP-X1", [](Window& s) { s.press("btnSave"); }},
        {"Save, other category", "HP-800", [](Window& s) { s.press("btnSave"); }},
        {"Save, other letter case", "hp-800", [](Window& s) { s.press("btnSave"); }},
        {"selecting another model", "HP-800", [](Window& s) { select(s.models(), 0); }},
        {"Add", "HP-800", [](Window& s) { s.press("btnAdd"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Models t;
        Window s(t.db.conn());
        const QStringList before = t.stored();
        s.press("btnAdd");
        type(s.models(), 2, 0, c.code);
        c.store(s);
        EXPECT_EQ(t.prompts.texts(), QStringList({kDuplicate}));
        EXPECT_EQ(t.stored(), before);
        EXPECT_EQ(s.w.list().state(), data::State::Insert);
        EXPECT_EQ(s.w.list().currentRow(), 2);
        EXPECT_EQ(s.w.list().count(), 3);

        // The user changes the code and the same row is stored.
        type(s.models(), 2, 0, "TP-E14");
        s.press("btnSave");
        EXPECT_EQ(t.stored().last(), "TP-E14|笔记本|<null>|<null>");
    }
}

TEST_P(ModelWindow, AnUntouchedNewModelHoldsItsCategoryAndIsCheckedWithAnEmptyCode) {
    Models t;
    t.model("", "台式机", "无型号");
    Window s(t.db.conn());
    s.press("btnAdd");
    select(s.models(), 0);
    // The preset category counts as a change; the empty code is taken.
    EXPECT_EQ(t.prompts.texts(), QStringList({kDuplicate}));
    EXPECT_EQ(s.w.list().state(), data::State::Insert);

    t.db.conn().exec("delete from hwxh where mc = '无型号'");
    t.prompts.clear();
    select(s.models(), 0);
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored().last(), "<null>|笔记本|<null>|<null>");
    EXPECT_EQ(s.w.list().count(), 3);
}

// Codes are unique in the file: the database refuses an existing model given a
// code that is taken, and the refusal is shown, not hidden.
TEST_P(ModelWindow, AChangedCodeThatIsTakenIsReportedAndTheRowStaysOpen) {
    for (const bool bySave : {true, false}) {
        SCOPED_TRACE(bySave ? "Save" : "selecting another model");
        Models t;
        Window s(t.db.conn());
        const QStringList before = t.stored();
        type(s.models(), 1, 0, "HP-800");
        if (bySave)
            s.press("btnSave");
        else
            select(s.models(), 0);
        ASSERT_EQ(t.prompts.shown.size(), 1u);
        EXPECT_EQ(t.prompts.shown[0].kind, Kind::Stop);
        EXPECT_NE(t.prompts.last(), kDuplicate);
        EXPECT_EQ(t.stored(), before);
        EXPECT_EQ(s.w.list().currentRow(), 1);
        EXPECT_EQ(s.w.list().state(), data::State::Edit);
        EXPECT_EQ(s.w.list().value("xh").toString(), "HP-800");

        // A free code is stored without the new-model check.
        type(s.models(), 1, 0, "TP-T14s");
        s.press("btnSave");
        EXPECT_EQ(t.stored()[1], "TP-T14s|笔记本|ThinkPad T14|<null>");
    }
}

TEST_P(ModelWindow, ChoosingACategoryDropsUnsavedRowsAndABlankNameKeepsTheList) {
    Models t;
    Window s(t.db.conn());
    const QStringList before = t.stored();
    type(s.models(), 0, 1, "改过的名称");
    s.choose(1);
    s.press("btnAdd");
    type(s.models(), 1, 0, "HP-NEW");
    s.choose(1);
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored(), before);
    EXPECT_EQ(lines(s.models()), QStringList({"HP-800|EliteDesk 800|"}));

    s.choose(2); // a name of blanks only
    EXPECT_EQ(lines(s.models()), QStringList({"HP-800|EliteDesk 800|"}));
    EXPECT_EQ(s.w.currentCategory(), "   ");
    s.choose(0);
    EXPECT_EQ(lines(s.models()), QStringList({"TP-X1|ThinkPad X1|", "TP-T14|ThinkPad T14|"}));
}

TEST_P(ModelWindow, DeleteAndSaveOnAnEmptyListDoNothing) {
    Models t;
    t.db.conn().exec("insert into cktype (type_name) values ('显示器')");
    Window s(t.db.conn());
    s.choose(3);
    ASSERT_TRUE(lines(s.models()).isEmpty());
    const QStringList before = t.stored();
    s.press("btnDel");
    s.press("btnSave");
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored(), before);
    EXPECT_EQ(s.w.list().count(), 0);
}

TEST_P(ModelWindow, DeleteAsksAndRemovesOnlyOnOk) {
    Models t;
    Window s(t.db.conn());
    select(s.models(), 1);
    t.prompts.answers = {false};
    s.press("btnDel");
    EXPECT_EQ(t.prompts.texts(), QStringList({"确认要删除此条记录吗?"}));
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Confirm);
    EXPECT_EQ(t.stored().size(), 4);
    s.press("btnDel");
    EXPECT_EQ(rows(t.db.conn(), "select xh from hwxh order by xh_id"), QStringList({"TP-X1", "HP-800", "OLD-1"}));
    EXPECT_EQ(lines(s.models()), QStringList({"TP-X1|ThinkPad X1|"}));
}

TEST_P(ModelWindow, BlankModelsAreChangedAndDeletedOneAtATime) {
    Models t;
    for (int i = 0; i < 3; ++i)
        t.db.conn().exec("insert into hwxh (type_name) values ('台式机')");
    Window s(t.db.conn());
    s.choose(1);
    ASSERT_EQ(lines(s.models()).size(), 4);
    EXPECT_TRUE(type(s.models(), 2, 1, "新名称"));
    s.press("btnSave");
    EXPECT_EQ(rows(t.db.conn(), "select count(*) from hwxh where mc = '新名称'"), QStringList{"1"});
    select(s.models(), 3);
    s.press("btnDel");
    EXPECT_EQ(rows(t.db.conn(), "select count(*) from hwxh where xh is null"), QStringList{"2"});
    EXPECT_TRUE(t.prompts.texts().filter("型号不能重复").isEmpty());
}

TEST_P(ModelWindow, ClosingWithACellEditorOpenStoresNothingHalfAndDoesNotCrash) {
    Models t;
    auto s = std::make_unique<Window>(t.db.conn());
    select(s->models(), 0, 1);
    s->models()->edit(s->models()->currentIndex());
    QApplication::processEvents();
    auto* editor = s->models()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("半截");
    s->w.activateWindow();
    QApplication::setActiveWindow(&s->w);
    editor->setFocus();
    QApplication::processEvents();
    s.reset(); // the window goes while the editor is open
    EXPECT_EQ(t.stored().size(), 4);
}

TEST_P(ModelWindow, DownInAnOpenEditorOnTheLastLineStoresTheRowAndStartsANewOne) {
    Models t;
    Window s(t.db.conn());
    select(s.models(), 1, 1);
    s.models()->edit(s.models()->currentIndex());
    QApplication::processEvents();
    auto* editor = s.models()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("T14 Gen 5");
    QTest::keyClick(editor, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(rows(t.db.conn(), "select mc from hwxh where xh = 'TP-T14'"), QStringList{"T14 Gen 5"});
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    EXPECT_EQ(lines(s.models()).size(), 3);
}
