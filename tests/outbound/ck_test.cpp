#include "outbound/ck.h"
#include "pickers/jxsSelect.h"
#include "pickers/xhSelect.h"
#include "support/goods.h"
#include "support/screen.h"
#include "ui/datagrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;
using testing_support::ScriptedModals;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

// An outbound window over a file with a few models, dealers and units in stock.
struct Window {
    TestDb db;
    ScriptedPrompter prompter;
    std::unique_ptr<Screen<TckFrm>> screen;
    TckFrm* w = nullptr;

    Window() {
        auto& c = db.conn();
        for (const char* xh : {"XH-001", "XH-002"})
            c.exec("insert into hwxh (xh, type_name) values (?, '笔记本')", {xh});
        addJxs(c, "杭州华联", "杭州");
        addJxs(c, "银泰卖场", "杭州", "mc");
        open();
    }
    void open() {
        screen.reset();
        screen = std::make_unique<Screen<TckFrm>>(db.conn());
        w = &screen->w;
    }
    template <class T>
    T* find(const char* name) {
        return screen->get<T>(name);
    }
    QComboBox* model() { return find<QComboBox>("cmbXh"); }
    QComboBox* customer() { return find<QComboBox>("cmbKhmc"); }
    QLineEdit* barcode() { return find<QLineEdit>("edtTxm"); }
    void fill(const QString& xh, const QString& txm, const QString& khmc) {
        model()->setEditText(xh);
        barcode()->setText(txm);
        customer()->setEditText(khmc);
    }
    QString issue(const QString& xh, const QString& txm, const QString& khmc = "杭州华联") {
        fill(xh, txm, khmc);
        prompter.clear();
        find<QPushButton>("btnCk")->click();
        return prompter.last();
    }
    QStringList listed(const QString& field = "hwid") {
        QStringList r;
        data::DataSet& l = w->issued();
        for (int i = 0; i < l.count(); ++i)
            r << l.displayText(i, l.fieldIndex(field));
        return r;
    }
    void cancelCurrent() { find<QAction>("N1")->trigger(); }
};

} // namespace

VELMORA_ON_EACH_ENGINE(OutboundWindow);

TEST_P(OutboundWindow, OpensWithChoicesTodayAndAnEmptyList) {
    Window t;
    addUnit(t.db.conn(), "XH-001");
    t.open();
    EXPECT_EQ(t.w->windowTitle(), "经销出库");
    EXPECT_EQ(t.w->issued().count(), 0);
    EXPECT_EQ(t.model()->count(), 2);
    EXPECT_EQ(t.model()->itemText(1), "XH-002");
    ASSERT_EQ(t.customer()->count(), 1); // dealers only, no stores
    EXPECT_EQ(t.customer()->itemText(0), "杭州华联");
    EXPECT_EQ(t.find<QDateEdit>("dtpCkrq")->date(), QDate::currentDate());
}

TEST_P(OutboundWindow, ShowsEachMessageAndKeepsTheEntries) {
    Window t;
    addUnit(t.db.conn(), "XH-001", {}, "出", "TX-1");
    struct Case {
        const char *model, *barcode, *customer, *message;
    } cases[] = {
        {"", "TX-1", "", "请选择一种货物型号!"},
        {"XH-002", "TX-1", "", "此条形码的物品已经出库，请查询检查！"},
        {"XH-002", "TX-2", "  ", "请填写客户名称！"},
        {"XH-002", "TX-2", "杭州华联", "仓库库存里没有此型号物品！"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(t.issue(k.model, k.barcode, k.customer), k.message) << k.message;
        EXPECT_EQ(t.prompter.shown.size(), 1u);
        EXPECT_EQ(t.model()->currentText(), k.model);
        EXPECT_EQ(t.barcode()->text(), k.barcode);
        EXPECT_EQ(t.customer()->currentText(), k.customer);
    }
    EXPECT_EQ(issuedCount(t.db.conn()), 1);
    EXPECT_EQ(t.w->issued().count(), 0);
}

TEST_P(OutboundWindow, IssuedUnitsAreListedInHwidOrderAndRefusedTwice) {
    Window t;
    auto& c = t.db.conn();
    const qint64 u1 = addUnit(c, "XH-001");
    const qint64 u2 = addUnit(c, "XH-002");
    const qint64 u3 = addUnit(c, "XH-001");
    t.open();
    t.find<QPlainTextEdit>("memRemark")->setPlainText("发往分店");

    EXPECT_EQ(t.issue("XH-002", "B-1"), "");
    EXPECT_EQ(t.issue("xh-001", "B-2"), "");
    EXPECT_EQ(t.listed(), (QStringList{QString::number(u1), QString::number(u2)}));
    EXPECT_EQ(t.w->issued().value("hwid").toInt(), u1); // the unit just issued is current
    EXPECT_EQ(t.listed("remark"), (QStringList{"发往分店", "发往分店"}));
    EXPECT_EQ(t.issue("XH-001", "b-2"), "此条形码的物品已经出库，请查询检查！");

    // A later opening starts empty but still knows the bar codes issued before.
    t.open();
    EXPECT_EQ(t.w->issued().count(), 0);
    EXPECT_EQ(t.issue("XH-001", "B-1"), "此条形码的物品已经出库，请查询检查！");
    EXPECT_EQ(t.issue("XH-001", "B-3"), "");
    EXPECT_EQ(t.listed(), QStringList{QString::number(u3)});
    EXPECT_EQ(t.issue("XH-001", "B-4"), "仓库库存里没有此型号物品！");
}

TEST_P(OutboundWindow, CancelAsksThenPutsTheCurrentUnitBack) {
    Window t;
    auto& c = t.db.conn();
    const qint64 u1 = addUnit(c, "XH-001");
    const qint64 u2 = addUnit(c, "XH-001");
    t.open();

    t.cancelCurrent(); // empty list: nothing asked, nothing done
    EXPECT_TRUE(t.prompter.shown.empty());

    t.find<QPlainTextEdit>("memRemark")->setPlainText("样机");
    t.issue("XH-001", "B-1");
    t.issue("XH-001", "B-2");
    t.w->issued().setCurrentRow(0);

    t.prompter.clear();
    t.prompter.answers = {false};
    t.cancelCurrent();
    EXPECT_EQ(t.prompter.texts(), QStringList{"此记录确认要取消出库吗?"});
    EXPECT_EQ(t.prompter.shown.front().kind, ScriptedPrompter::Kind::Confirm);
    EXPECT_EQ(state(c, u1), "出");

    t.cancelCurrent(); // OK this time
    EXPECT_EQ(state(c, u1), "入");
    EXPECT_EQ(column(c, u1, "remark").toString(), "样机");
    EXPECT_EQ(t.listed(), QStringList{QString::number(u2)});
    EXPECT_EQ(t.w->issued().currentRow(), 0);

    // The freed bar code goes out again, on the unit back in stock.
    EXPECT_EQ(t.issue("XH-001", "B-1"), "");
    EXPECT_EQ(column(c, u1, "txm").toString(), "B-1");
    EXPECT_EQ(t.listed(), (QStringList{QString::number(u1), QString::number(u2)}));
}

TEST_P(OutboundWindow, CountCaptionIsTakenAtTheClick) {
    Window t;
    for (int i = 0; i < 3; ++i)
        addUnit(t.db.conn(), "XH-001");
    t.open();
    auto* box = t.find<QCheckBox>("cbxTotal");
    t.issue("XH-001", "");
    QStringList captions;
    box->click();
    captions << box->text();
    t.issue("XH-001", ""); // empty bar codes are never refused
    captions << box->text();
    box->click();
    captions << box->text();
    box->click();
    captions << box->text();
    EXPECT_EQ(captions, (QStringList{"共1台", "共1台", "统计台数", "共2台"}));
}

TEST_P(OutboundWindow, PickersReplaceTheBoxTextEvenWithoutAChoice) {
    Window t;
    t.db.conn().exec("insert into cktype (type_name) values ('笔记本')");
    ScriptedModals modals;
    auto click = [](const char* button) {
        return [button](QDialog& d) { d.findChild<QPushButton*>(button)->click(); };
    };
    auto dblClickBox = [&](QComboBox* box) { QTest::mouseDClick(box->lineEdit(), Qt::LeftButton); };

    t.model()->setEditText("typed");
    modals.steps = {click("BitBtn1")};
    dblClickBox(t.model());
    EXPECT_EQ(t.model()->currentText(), "XH-001");
    modals.steps = {click("BitBtn2")};
    dblClickBox(t.model());
    EXPECT_EQ(t.model()->currentText(), "");

    t.customer()->setEditText("typed");
    modals.steps = {[](QDialog& d) {
        auto& picker = dynamic_cast<TjxsSelectFrm&>(d);
        picker.dealers().setCurrentRow(1); // the store of the area
        picker.findChild<QPushButton*>("BitBtn1")->click();
    }};
    dblClickBox(t.customer());
    EXPECT_EQ(t.customer()->currentText(), "银泰卖场");
    modals.steps = {click("BitBtn2")};
    dblClickBox(t.customer());
    EXPECT_EQ(t.customer()->currentText(), "");
    EXPECT_EQ(modals.count, 4);
}

TEST_P(OutboundWindow, AnEntryLongerThanItsColumnIsRefusedByNameAndNothingIsCut) {
    Window t;
    addUnit(t.db.conn(), "XH-001");
    struct Case {
        const char* box;
        int width;
        const char* message;
    } cases[] = {{"edtTxm", 35, "条形码最多35个字符！"},
                 {"edtPjh", 50, "票据号最多50个字符！"},
                 {"cmbKhmc", 50, "客户名称最多50个字符！"},
                 {"memRemark", 250, "备注最多250个字符！"}};
    for (const Case& k : cases) {
        t.fill("XH-001", "TX-1", "杭州华联");
        t.find<QPlainTextEdit>("memRemark")->clear();
        t.find<QLineEdit>("edtPjh")->clear();
        const QString typed(k.width + 1, QChar(u'长'));
        if (auto* e = t.w->findChild<QLineEdit*>(k.box))
            e->setText(typed);
        else if (auto* b = t.w->findChild<QComboBox*>(k.box))
            b->setEditText(typed);
        else
            t.find<QPlainTextEdit>(k.box)->setPlainText(typed);
        t.prompter.clear();
        t.find<QPushButton>("btnCk")->click();
        EXPECT_EQ(t.prompter.last(), QString::fromUtf8(k.message)) << k.box;
        EXPECT_EQ(issuedCount(t.db.conn()), 0) << k.box;
    }
    // What was typed stays in the box, whole.
    EXPECT_EQ(t.find<QPlainTextEdit>("memRemark")->toPlainText().size(), 251);
}

TEST_P(OutboundWindow, TakingBackAUnitChangedAtAnotherDeskIsRefusedAndTheListShowsItAnew) {
    Window t;
    addUnit(t.db.conn(), "XH-001");
    ASSERT_EQ(t.issue("XH-001", "TX-1"), "");
    auto other = t.db.openAnother();
    other->exec("update hwgl set khmc = '银泰卖场' where txm = 'TX-1'");
    t.prompter.clear();
    t.cancelCurrent();
    EXPECT_EQ(t.prompter.last(), QStringLiteral("此记录已被其他操作员修改或删除，请重新打开窗口查看！"));
    EXPECT_EQ(issuedCount(t.db.conn()), 1);
    EXPECT_EQ(t.listed("khmc"), QStringList{"银泰卖场"});
}
