// The supplier window: a read-only list with the fields beside it, the name
// check of Save, no deleting.
#include "masterdata/jhdw.h"
#include "support/screen.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace testing_support;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;
using Kind = ScriptedPrompter::Kind;

namespace {

const char* kNameMissing = "请填写进货单位名称！！";

struct Suppliers {
    TestDb db;
    ScriptedPrompter prompts;
    void add(const QString& name, const QString& tel) {
        db.conn().exec("insert into jhdw (dwmc, tel, address) values (?, ?, ?)", {name, tel, "杭州市文三路"});
    }
    QStringList stored() { return rows(db.conn(), "select jhid, dwmc, tel, address, bz from jhdw order by jhid"); }
};

struct Window : Screen<TjhdwFrm> {
    using Screen::Screen;
    QLineEdit* name() { return get<QLineEdit>("edtDwmc"); }
    QLineEdit* tel() { return get<QLineEdit>("edtTel"); }
    QPlainTextEdit* remark() { return get<QPlainTextEdit>("memBz"); }
    void retype(QLineEdit* e, const QString& text) {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        keys(e, text);
    }
};

} // namespace

VELMORA_ON_EACH_ENGINE(SupplierWindow);

TEST_P(SupplierWindow, ListsSuppliersInNumberOrderWithTheFirstInTheFields) {
    Suppliers t;
    t.add("华东电子", "0571-88001234");
    t.add("深圳恒信", "0755-26661111");
    t.db.conn().exec("delete from jhdw where jhid = 1");
    t.add("北京联创", "");
    Window s(t.db.conn());

    EXPECT_EQ(s.w.windowTitle(), "进货单位");
    EXPECT_EQ(headers(s.grid("dbgJhdw")), QStringList({"单位名称", "联系电话"}));
    EXPECT_EQ(lines(s.grid("dbgJhdw")), QStringList({"深圳恒信|0755-26661111", "北京联创|"}));
    EXPECT_TRUE(s.grid("dbgJhdw")->isReadOnly());
    EXPECT_EQ(s.name()->text(), "深圳恒信");
    EXPECT_EQ(s.get<QLineEdit>("edtAddress")->text(), "杭州市文三路");
    EXPECT_FALSE(s.button("btnDel")->isEnabled());

    select(s.grid("dbgJhdw"), 1);
    EXPECT_EQ(s.name()->text(), "北京联创");
    EXPECT_EQ(s.tel()->text(), "");
}

TEST_P(SupplierWindow, SaveRefusesAMissingNameAndKeepsTheRowOpen) {
    for (const QString name : {QString(""), QString("   "), QString(" \u3000 ")}) {
        SCOPED_TRACE(name.toStdString());
        Suppliers t;
        Window s(t.db.conn());
        s.press("btnAdd");
        keys(s.tel(), "13900001111");
        keys(s.name(), name);
        s.press("btnSave");

        EXPECT_EQ(t.prompts.texts(), QStringList({kNameMissing}));
        EXPECT_EQ(t.prompts.shown.back().kind, Kind::Message);
        EXPECT_TRUE(t.stored().isEmpty());
        EXPECT_EQ(s.w.list().state(), data::State::Insert);
        EXPECT_EQ(s.tel()->text(), "13900001111");

        // Filling the name in stores the row the user was working on.
        keys(s.name(), "华东电子");
        s.press("btnSave");
        EXPECT_EQ(t.stored(), QStringList({"1|" + name + "华东电子|13900001111|<null>|<null>"}));
    }
}

TEST_P(SupplierWindow, TheNameIsStoredAsTypedAndAQuoteIsJustACharacter) {
    Suppliers t;
    Window s(t.db.conn());
    s.press("btnAdd");
    keys(s.name(), "  O'Neil's 电子  ");
    s.press("btnSave");
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored(), QStringList({"1|  O'Neil's 电子  |<null>|<null>|<null>"}));
    EXPECT_EQ(lines(s.grid("dbgJhdw")), QStringList({"  O'Neil's 电子  |"}));
    EXPECT_FALSE(s.w.list().isEditing());
}

TEST_P(SupplierWindow, MovingAwayStoresAChangeWithoutTheNameCheckAndDropsAnUntouchedNewRow) {
    Suppliers t;
    t.add("华东电子", "1");
    t.add("深圳恒信", "2");
    Window s(t.db.conn());

    s.retype(s.name(), "");
    keys(s.remark(), "月结");
    select(s.grid("dbgJhdw"), 1);
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.stored().first(), "1||1|杭州市文三路|月结");

    s.press("btnAdd");
    EXPECT_EQ(s.w.list().count(), 3);
    EXPECT_EQ(s.name()->text(), "");
    select(s.grid("dbgJhdw"), 0);
    EXPECT_EQ(s.w.list().count(), 2);
    EXPECT_EQ(t.stored().size(), 2);
    EXPECT_EQ(s.name()->text(), "");
    EXPECT_EQ(s.get<QLineEdit>("edtAddress")->text(), "杭州市文三路");
}

TEST_P(SupplierWindow, TypingOnAnEmptyListStartsANewSupplier) {
    Suppliers t;
    Window s(t.db.conn());
    s.press("btnSave");
    EXPECT_EQ(t.prompts.texts(), QStringList({kNameMissing}));
    EXPECT_TRUE(t.stored().isEmpty());

    keys(s.name(), "宁波三友");
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    s.press("btnSave");
    EXPECT_EQ(t.stored(), QStringList({"1|宁波三友|<null>|<null>|<null>"}));
}

TEST_P(SupplierWindow, AValueTooLongIsRefusedNamingTheFieldAndTheRowStaysOpen) {
    Suppliers t;
    Window s(t.db.conn());
    s.press("btnAdd");
    keys(s.name(), QString(61, QChar(u'华')));
    s.press("btnSave");
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Stop);
    EXPECT_TRUE(t.prompts.last().contains("单位名称")) << t.prompts.last().toStdString();
    EXPECT_TRUE(t.stored().isEmpty());
    EXPECT_EQ(s.w.list().state(), data::State::Insert);
    EXPECT_EQ(s.name()->text().size(), 61);
}

TEST_P(SupplierWindow, CloseAndEscDiscardWhatWasNotStored) {
    for (const bool esc : {false, true}) {
        Suppliers t;
        t.add("华东电子", "1");
        Window s(t.db.conn());
        s.retype(s.name(), "改名");
        if (esc)
            QTest::keyClick(&s.w, Qt::Key_Escape);
        else
            s.press("btnClose");
        EXPECT_FALSE(s.w.isVisible());
        EXPECT_EQ(t.stored(), QStringList({"1|华东电子|1|杭州市文三路|<null>"}));
    }
}
