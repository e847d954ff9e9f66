// The category window: edited in place, no checks, no deleting; and the
// editing behaviour the grid windows share (Enter for the default button,
// moving past the last line, dropping an untouched new row).
#include "masterdata/cktype.h"
#include "support/screen.h"

#include <QLineEdit>

using namespace testing_support;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

struct Categories {
    TestDb db;
    ScriptedPrompter prompts;
    QStringList stored() { return rows(db.conn(), "select type_id, type_name from cktype order by type_id"); }
};

using Window = Screen<TcktypeFrm>;

} // namespace

TEST(CategoryWindow, OpensWithTheCategoriesAndOnlyTheNameEditable) {
    Categories t;
    t.db.conn().exec("insert into cktype (type_name) values ('笔记本'), ('台式机')");
    Window s(t.db.conn());
    auto* g = s.grid("dbgType");
    EXPECT_EQ(s.w.windowTitle(), "货物类别");
    EXPECT_EQ(headers(g), QStringList({"序号", "型号名称"}));
    EXPECT_EQ(lines(g), QStringList({"1|笔记本", "2|台式机"}));
    EXPECT_EQ(s.w.list().currentRow(), 0);
    EXPECT_FALSE(g->model()->flags(g->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(g->model()->flags(g->model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(s.button("btnDel")->isEnabled());
    EXPECT_TRUE(s.button("btnSave")->isDefault());
}

TEST(CategoryWindow, SaveStoresEmptyAndDuplicateNamesAsTyped) {
    Categories t;
    Window s(t.db.conn());
    s.press("btnSave"); // an empty list: a new category without a name
    s.press("btnAdd");
    type(s.grid("dbgType"), 1, 1, "显示器");
    s.press("btnSave");
    s.press("btnAdd");
    type(s.grid("dbgType"), 2, 1, "显示器");
    s.press("btnSave");
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored(), QStringList({"1|<null>", "2|显示器", "3|显示器"}));
    // The number the database gave is shown at once.
    EXPECT_EQ(lines(s.grid("dbgType")), QStringList({"1|", "2|显示器", "3|显示器"}));
}

TEST(CategoryWindow, EnterAndTheAcceleratorsReachTheButtonsWithWhatWasTyped) {
    Categories t;
    t.db.conn().exec("insert into cktype (type_name) values ('笔记本')");
    Window s(t.db.conn());
    s.w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.w));
    auto* g = s.grid("dbgType");
    const auto typeInEditor = [&](int row, const QString& text) {
        const QModelIndex at = g->model()->index(row, 1);
        g->setCurrentIndex(at);
        g->edit(at);
        auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(at));
        EXPECT_NE(editor, nullptr);
        editor->selectAll();
        keys(editor, text);
        return editor;
    };

    // Enter in the cell ends the cell; Enter again is the default button, Save.
    QLineEdit* editor = typeInEditor(0, "商务本");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(t.stored(), QStringList({"1|笔记本"}));
    EXPECT_TRUE(s.w.list().isEditing());
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(t.stored(), QStringList({"1|商务本"}));
    EXPECT_FALSE(s.w.list().isEditing());

    // Alt+A and Alt+S while a cell is still being typed into.
    QTest::keyClick(g, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(250); // an accelerator clicks the button after its press animation
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    editor = typeInEditor(1, "台式机");
    QTest::keyClick(editor, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_EQ(t.stored(), QStringList({"1|商务本", "2|台式机"}));
    EXPECT_TRUE(t.prompts.shown.empty());
}

TEST(CategoryWindow, MovingBetweenRowsStoresChangesAndDropsAnUntouchedNewRow) {
    Categories t;
    t.db.conn().exec("insert into cktype (type_name) values ('笔记本'), ('台式机')");
    Window s(t.db.conn());
    auto* g = s.grid("dbgType");

    type(g, 0, 1, "O'Brien 笔记本");
    select(g, 1, 1);
    EXPECT_EQ(t.stored(), QStringList({"1|O'Brien 笔记本", "2|台式机"}));

    // Down on the last line starts a new row; leaving it untouched drops it.
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_EQ(s.w.list().count(), 3);
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    QTest::keyClick(g, Qt::Key_Down); // still the one new row
    EXPECT_EQ(s.w.list().count(), 3);
    select(g, 0, 1);
    EXPECT_EQ(s.w.list().count(), 2);
    EXPECT_EQ(t.stored().size(), 2);

    // Add and leave untouched, then Add again: still one new row.
    s.press("btnAdd");
    s.press("btnAdd");
    EXPECT_EQ(s.w.list().count(), 3);
    type(g, 2, 1, "平板");
    s.press("btnAdd"); // stores the typed row first
    EXPECT_EQ(t.stored().last(), "3|平板");
    EXPECT_EQ(s.w.list().count(), 4);

    s.press("btnClose");
    EXPECT_EQ(t.stored().size(), 3);
}

TEST(CategoryWindow, AValueTooLongIsRefusedNamingTheFieldAndTheRowStaysOpen) {
    Categories t;
    Window s(t.db.conn());
    s.press("btnAdd");
    type(s.grid("dbgType"), 0, 1, QString(51, QChar(u'类')));
    s.press("btnSave");
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_TRUE(t.prompts.last().contains("型号名称"));
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    EXPECT_TRUE(t.stored().isEmpty());

    type(s.grid("dbgType"), 0, 1, "类");
    s.press("btnSave");
    EXPECT_EQ(t.stored(), QStringList({"1|类"}));
}
