#include "sales.h"
#include "storesales/mccx.h"
#include "storesales/querymc.h"
#include "support/goods.h"
#include "support/screen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>

using namespace testing_support;

namespace {

struct Result {
    TestDb db;
    ScriptedPrompter prompter;
    qint64 s1 = 0, s2 = 0, s3 = 0;
    Result() {
        auto& c = db.conn();
        addJxs(c, "A店", "杭州", "mc");
        addJxs(c, "B店", "杭州", "mc");
        s1 = addSale(c, "张三", "A店", "完工");
        s2 = addSale(c, "李四", "A店", "否");
        s3 = addSale(c, "王五", "B店", "完工");
    }
    // A query window with what `fill` typed confirmed; the result window it
    // opened is handed to `look` while open.
    void confirm(const std::function<void(Screen<TquerymcFrm>&)>& fill, const std::function<void(TmccxFrm&)>& look) {
        Screen<TquerymcFrm> q(db.conn());
        fill(q);
        ScriptedModals modals;
        modals.steps.push_back([&](QDialog& d) { look(static_cast<TmccxFrm&>(d)); });
        q.press("btnSave");
        EXPECT_EQ(modals.count, 1);
    }
};

template <class T>
T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

} // namespace

// No criteria: no sale listed; "出库" asks for a sale, "删除 &d." does nothing.
VELMORA_ON_EACH_ENGINE(SalesListWindow);

TEST_P(SalesListWindow, EmptyCriteriaListNoSale) {
    Result t;
    t.confirm([](auto&) {},
              [&](TmccxFrm& w) {
                  EXPECT_TRUE(w.sqlWhere.isEmpty());
                  EXPECT_EQ(w.sales().count(), 0);
                  child<QComboBox>(w, "cmbXh")->setEditText("XH-1");
                  child<QPushButton>(w, "BitBtn2")->click();
                  child<QPushButton>(w, "btnDel")->click();
              });
    EXPECT_EQ(t.prompter.texts(), QStringList{"请先增加或保存卖场销售记录!!"});
    EXPECT_EQ(t.db.conn().scalar("select count(*) from mcxs").toInt(), 3);
}

// The twin's differences: caption, no Add, units columns, first sale current,
// the fixed bar-code warning; finished sales are worked on like the others.
TEST_P(SalesListWindow, ListsTheCriteriaSalesFirstCurrent) {
    Result t;
    auto& c = t.db.conn();
    addUnit(c, "XH-1", {}, "出", "TX-1", t.s1);
    const qint64 unit3 = addUnit(c, "XH-1", {}, "出", {}, t.s3);
    addUnit(c, "XH-1");
    t.confirm([](auto& q) { q.template get<QComboBox>("cmbFinish")->setEditText(" 完工 "); },
              [&](TmccxFrm& w) {
                  EXPECT_EQ(w.windowTitle(), "卖场销售查询");
                  EXPECT_EQ(w.sales().count(), 2);
                  EXPECT_EQ(w.sales().currentRow(), 0);
                  EXPECT_EQ(child<QLineEdit>(w, "edtKhxm")->text(), "张三");
                  EXPECT_EQ(w.findChild<QPushButton*>("btnAdd"), nullptr);
                  QStringList menu;
                  for (QAction* a : child<QMenu>(w, "PopupMenu1")->actions())
                      menu << a->text();
                  EXPECT_EQ(menu, (QStringList{"删除", "保存", "退出"}));
                  auto* g = child<ui::DataGrid>(w, "DBGrid2");
                  EXPECT_EQ(headers(g),
                            (QStringList{"条形码", "票据号", "客户名称", "货物型号", "出库日期", "入库日期", "出入"}));
                  EXPECT_EQ(w.units().count(), 1);

                  auto* box = child<QCheckBox>(w, "cbxTotal");
                  box->click();
                  EXPECT_EQ(box->text(), "共有2条未完成");

                  select(child<ui::DataGrid>(w, "dbgMcxs"), 1);
                  EXPECT_EQ(w.units().value("hwid").toInt(), unit3);
                  type(g, 0, 0, "tx-1");
                  child<QPushButton>(w, "btnSave")->click();
                  child<QComboBox>(w, "cmbXh")->setEditText("XH-1");
                  child<QPushButton>(w, "BitBtn2")->click();
                  EXPECT_EQ(w.units().count(), 2);
              });
    EXPECT_EQ(t.prompter.texts(), QStringList{"此条形码的物品已经出库，请查询检查！"});
    EXPECT_EQ(column(c, unit3, "txm").toString(), "tx-1");
}

// A database that cannot run the statement: reported, the window opens empty.
TEST_P(SalesListWindow, RefusedStatementOpensEmpty) {
    Result t;
    TmccxFrm w(t.db.conn());
    w.sqlWhere.add("no_such_column = ?", {1});
    w.show();
    EXPECT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_FALSE(w.sales().isOpen());
    EXPECT_EQ(child<QComboBox>(w, "cmbXsdd")->count(), 0);
}

// The query window: its boxes, the date groups only while ticked, Enter and
// Esc, a new result window for every Confirm, several windows open at once.
TEST(TquerymcFrm, HandsItsCriteriaToANewResultWindow) {
    Result t;
    auto& c = t.db.conn();
    c.exec("update mcxs set gjrq = '2024-03-05 18:00:00', shrq = '2024-03-09 00:00:00' where mcid = ?", {t.s2});
    Screen<TquerymcFrm> q(c);
    auto* start = q.get<QDateEdit>("dtpGstart");
    EXPECT_EQ(start->date(), QDate::currentDate());
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(start->calendarPopup());
    EXPECT_FALSE(q.get<QLineEdit>("edttxm")->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(q.button("btnSave")->isDefault());
    EXPECT_EQ(q.get<QComboBox>("cmbXsmc")->count(), 2);
    EXPECT_EQ(q.get<QComboBox>("cmbFinish")->count(), 0);

    q.get<QCheckBox>("cbxGJ")->click();
    EXPECT_TRUE(start->isEnabled());
    start->setDate(QDate(2024, 3, 5));
    q.get<QDateEdit>("dtpGend")->setDate(QDate(2024, 3, 5));
    q.get<QComboBox>("cmbXsmc")->setEditText("A店");

    QList<int> listed;
    ScriptedModals modals;
    auto look = [&](QDialog& d) { listed << static_cast<TmccxFrm&>(d).sales().count(); };
    modals.steps = {look, look, look};
    QTest::keyClick(q.get<QLineEdit>("edtKhxm"), Qt::Key_Return); // Enter confirms
    q.get<QCheckBox>("cbxGJ")->click();                           // dates chosen, then unticked: not used
    q.press("btnSave");
    q.get<QCheckBox>("cbxSh")->click();
    q.get<QDateEdit>("dtpSstart")->setDate(QDate(2024, 3, 10));
    q.get<QDateEdit>("dtpSend")->setDate(QDate(2024, 3, 9)); // start after end
    q.press("btnSave");
    EXPECT_EQ(listed, (QList<int>{2, 2, 0}));
    EXPECT_EQ(q.get<QComboBox>("cmbXsmc")->currentText(), "A店"); // kept as the user left it
    EXPECT_FALSE(q.w.sqlWhere.isEmpty());

    // Modeless and several at once; Esc closes one and empties its criteria.
    QWidget main;
    TquerymcFrm* a = TquerymcFrm::openModeless(c, &main);
    TquerymcFrm* b = TquerymcFrm::openModeless(c, &main);
    EXPECT_FALSE(a->isModal());
    EXPECT_TRUE(a->isVisible() && b->isVisible());
    QPointer<TquerymcFrm> gone(a);
    QTest::keyClick(a, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    EXPECT_TRUE(b->isVisible());
}
