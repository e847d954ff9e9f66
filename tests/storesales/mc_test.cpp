#include "export/xlsxsheet.h"
#include "outbound/issuer.h"
#include "sales.h"
#include "storesales/mc.h"
#include "support/desktop.h"
#include "support/goods.h"
#include "support/screen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>

using namespace testing_support;

namespace {

struct Entry {
    TestDb db;
    ScriptedPrompter prompter;
    std::unique_ptr<Screen<TmcFrm>> s;

    Entry() {
        auto& c = db.conn();
        c.exec("insert into hwxh (xh, type_name) values ('XH-1', '笔记本')");
        addJxs(c, "A店", "杭州", "mc");
    }
    Screen<TmcFrm>& open() {
        s = std::make_unique<Screen<TmcFrm>>(db.conn());
        return *s;
    }
    QString issue(const QString& model) {
        s->get<QComboBox>("cmbXh")->setEditText(model);
        prompter.clear();
        s->press("BitBtn2");
        return prompter.last();
    }
    void type(const char* box, const QString& text) {
        auto* e = s->get<QLineEdit>(box);
        e->setFocus();
        e->selectAll();
        keys(e, text);
    }
    QStringList units(const QString& cols = "txm, pjh, ckrq, khmc, if_in, mcid, khtel, khaddress") {
        return rows(db.conn(), "select " + cols + " from hwgl order by hwid");
    }
};

QString today() { return db::Value(QDate::currentDate()).toString(); }

} // namespace

// The five checks of "出库", in order, with a sale added but not saved.
VELMORA_ON_EACH_ENGINE(StoreSaleWindow);

TEST_P(StoreSaleWindow, IssueChecksInTheirOrder) {
    Entry t;
    addUnit(t.db.conn(), "XH-1");
    auto& s = t.open();
    EXPECT_EQ(t.issue(""), "请选择一种货物型号!");
    EXPECT_EQ(t.issue("XH-1"), "请先增加或保存卖场销售记录!!");
    s.press("btnAdd");
    EXPECT_EQ(t.issue("XH-1"), "请先增加或保存卖场销售记录!!"); // the only row is not written

    addSale(t.db.conn(), "老王");
    t.open().press("btnAdd");
    EXPECT_EQ(t.issue("XH-1"), "请填写客户姓名！");
    t.type("edtKhxm", "  ");
    EXPECT_EQ(t.issue("XH-1"), "请填写客户姓名！");
    t.type("edtKhxm", "张三");
    EXPECT_EQ(t.issue("XH-1"), "请先保存销售主纪录，在录入货物型号等详细信息！");
    t.s->press("btnSave");
    EXPECT_EQ(t.issue("XH-2"), "仓库入库记录里没有此型号物品！");
    EXPECT_EQ(t.issue("XH-1"), "");
    EXPECT_EQ(issuedCount(t.db.conn()), 1);
}

// The unit takes the sale's boxes as they stand, saved or not; a joined
// store:customer too long for the unit's customer column is refused.
TEST_P(StoreSaleWindow, IssueWritesTheSaleDetailsOrRefusesWhatDoesNotFit) {
    Entry t;
    const qint64 sale = addSale(t.db.conn(), "老王");
    addUnit(t.db.conn(), "XH-1");
    auto& s = t.open();
    t.type("edtKhxm", "张三");
    t.type("edtTel", "0571-888");
    t.type("edtKhaddress", "西湖路1号");
    s.get<QComboBox>("cmbXsdd")->setEditText(QString(48, QChar(0x5E97)));
    EXPECT_EQ(t.issue("XH-1"), "客户名称最多50个字符！");
    EXPECT_EQ(issuedCount(t.db.conn()), 0);

    s.get<QComboBox>("cmbXsdd")->setEditText("A店");
    EXPECT_EQ(t.issue("XH-1"), "");
    EXPECT_EQ(t.units(), QStringList{"<null>|<null>|" + today() + "|A店:张三|出|" + QString::number(sale) +
                                     "|0571-888|西湖路1号"});
    // The sale itself was not written by the issue.
    EXPECT_EQ(rows(t.db.conn(), "select khxm from mcxs"), QStringList{"老王"});
    EXPECT_EQ(lines(s.grid("DBGrid2")).size(), 1);
}

// Whole model, letter case ignored, lowest hwid first; stock runs out.
TEST_P(StoreSaleWindow, IssuesByWholeModelUntilStockRunsOut) {
    Entry t;
    auto& c = t.db.conn();
    addSale(c, "张三");
    const qint64 first = addUnit(c, "ABC");
    const qint64 second = addUnit(c, "ABC");
    addUnit(c, "ABCD");
    auto& s = t.open();
    EXPECT_EQ(t.issue("ab"), "仓库入库记录里没有此型号物品！");
    EXPECT_EQ(t.issue("abc"), "");
    EXPECT_EQ(state(c, first), "出");
    EXPECT_EQ(t.issue("abc"), "");
    EXPECT_EQ(state(c, second), "出");
    EXPECT_EQ(t.issue("abc"), "仓库入库记录里没有此型号物品！");
    EXPECT_EQ(lines(s.grid("DBGrid2")).size(), 2);
}

// Enter in "票据号" sets the current unit's bill number; Save writes it.
TEST_P(StoreSaleWindow, EnterInBillNumberSetsTheCurrentUnit) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 sale = addSale(c, "张三");
    auto& s = t.open();
    auto* bill = s.get<QLineEdit>("edtPjh");
    bill->setText("FP-1");
    QTest::keyClick(bill, Qt::Key_Return);
    EXPECT_FALSE(s.w.units().isEditing()); // no units: nothing happens

    const qint64 unit = addUnit(c, "XH-1", {}, "出", {}, sale);
    t.open();
    bill = t.s->get<QLineEdit>("edtPjh");
    bill->setText("  ");
    QTest::keyClick(bill, Qt::Key_Enter);
    EXPECT_FALSE(t.s->w.units().isEditing());
    bill->setText(" FP-1 ");
    QTest::keyClick(bill, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(t.s->w.units().value("pjh").toString(), "FP-1");
    EXPECT_EQ(bill->text(), " FP-1 ");
    EXPECT_TRUE(column(c, unit, "pjh").isNull()); // not written yet
    t.s->press("btnSave");
    EXPECT_EQ(column(c, unit, "pjh").toString(), "FP-1");
}

// Cancel issue empties the issue columns, keeps the sale's number and the
// customer's contact, and the unit can be sold again at once.
TEST_P(StoreSaleWindow, CancelIssueResetsTheUnit) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 sale = addSale(c, "张三");
    addUnit(c, "XH-1");
    auto& s = t.open();
    t.type("edtTel", "0571-1");
    t.issue("XH-1");
    ui::DataGrid* g = s.grid("DBGrid2");
    type(g, 0, 1, "TX-1");
    type(g, 0, 2, "PJ-1");
    s.press("btnSave");
    t.prompter.answers = {false};
    s.get<QAction>("nn1")->trigger();
    EXPECT_EQ(t.units("if_in").join(','), "出");
    s.get<QAction>("nn1")->trigger();
    EXPECT_EQ(t.units(), QStringList{"<null>|<null>|<null>|<null>|入|" + QString::number(sale) + "|0571-1|<null>"});
    EXPECT_TRUE(lines(g).isEmpty());
    EXPECT_EQ(t.prompter.texts().filter("取消出库").size(), 2);
    EXPECT_EQ(t.issue("XH-1"), "");
}

// Delete returns only the units still issued under the sale, together with the
// removal of the sale: all or nothing. A new sale never written is discarded.
TEST_P(StoreSaleWindow, DeleteReturnsTheSalesUnitsInOneTransaction) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 other = addSale(c, "李四");
    const qint64 sale = addSale(c, "张三");
    const qint64 kept = addUnit(c, "XH-1", {}, "出", "T-1", sale);
    const qint64 left = addUnit(c, "XH-1", {}, "入", {}, sale); // cancelled from the sale earlier
    const qint64 elsewhere = addUnit(c, "XH-1", {}, "出", {}, other);
    outbound::Issuer dealer(c);
    ASSERT_EQ(dealer.issue({"XH-1", "D-1", {}, "杭州华联", {}, QDate(2024, 4, 2)}).hwid, left);

    auto& s = t.open();
    s.press("btnAdd");
    t.prompter.clear();
    s.press("btnDel"); // the new row only
    EXPECT_TRUE(t.prompter.shown.empty());
    EXPECT_EQ(s.w.sales().count(), 2);

    t.db.refuse("no_delete", "delete", "mcxs");
    s.press("btnDel");
    EXPECT_EQ(state(c, kept), "出"); // the failed removal took the return back
    t.db.lift("no_delete", "mcxs");

    s.press("btnDel");
    EXPECT_EQ(rows(c, "select mcid from mcxs"), QStringList{QString::number(other)});
    EXPECT_EQ(t.units("hwid, if_in, txm"), (QStringList{QString("%1|入|T-1").arg(kept), QString("%1|出|D-1").arg(left),
                                                        QString("%1|出|<null>").arg(elsewhere)}));
    EXPECT_EQ(t.issue("XH-1"), ""); // back in stock, sold again at once
    EXPECT_EQ(state(c, kept), "出");
}

// Writing a unit whose bar code another issued unit holds warns, naming that
// unit, and writes all the same; the row itself does not count.
TEST_P(StoreSaleWindow, BarCodeWarningNamesTheOtherUnit) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 sale = addSale(c, "张三");
    const qint64 holder = addUnit(c, "XH-1", {}, "出", "TX-9");
    const qint64 unit = addUnit(c, "XH-1", {}, "出", {}, sale);
    auto& s = t.open();
    type(s.grid("DBGrid2"), 0, 1, "tx-9 ");
    s.press("btnSave");
    EXPECT_EQ(t.prompter.texts(),
              QStringList{QString("货物序号为%1条形码为TX-9的物品已经出库，不能重复出库，请查询检查！").arg(holder)});
    EXPECT_EQ(column(c, unit, "txm").toString(), "tx-9 ");
    c.exec("update hwgl set txm = 'TX-8' where hwid = ?", {holder});
    t.open();
    t.prompter.clear();
    t.s->press("btnSave");
    EXPECT_TRUE(t.prompter.shown.empty()) << t.prompter.last().toStdString();
}

TEST_P(StoreSaleWindow, CountsWrittenSales) {
    Entry t;
    addSale(t.db.conn(), "张三");
    addSale(t.db.conn(), "李四");
    addSale(t.db.conn(), "王五", "A店", "完工");
    auto& s = t.open();
    auto* box = s.get<QCheckBox>("cbxTotal");
    EXPECT_EQ(box->text(), "统计记录");
    s.press("btnAdd");
    box->click();
    EXPECT_EQ(box->text(), "共有2条未完成");
    box->click();
    EXPECT_EQ(box->text(), "统计未完成记录数");
}

// Opening: the newest unfinished sale current with its units; the grids offer
// no row of their own; picker cancelled empties the model box.
TEST_P(StoreSaleWindow, OpensOnTheNewestSaleAndKeepsToItsOwnRows) {
    Entry t;
    auto& c = t.db.conn();
    addSale(c, "张三");
    const qint64 newest = addSale(c, "李四");
    addSale(c, "王五", "A店", "完工");
    addUnit(c, "XH-1", {}, "出", "TX-1", newest);
    auto& s = t.open();
    EXPECT_EQ(s.w.sales().count(), 2);
    EXPECT_EQ(s.get<QLineEdit>("edtKhxm")->text(), "李四");
    ui::DataGrid* g = s.grid("DBGrid2");
    EXPECT_EQ(headers(g),
              (QStringList{"序号", "条形码", "票据号", "货物型号", "客户名称", "出库日期", "入库日期", "出入"}));
    g->setFocus();
    select(g, 0);
    QTest::keyClick(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Insert);
    QTest::keyClick(g, Qt::Key_Delete);
    EXPECT_EQ(s.w.units().count(), 1);
    EXPECT_EQ(c.scalar("select count(*) from hwgl").toInt(), 1);
    const auto texts = [](QMenu* m) {
        QStringList l;
        for (QAction* a : m->actions())
            l << a->text();
        return l;
    };
    EXPECT_EQ(texts(s.get<QMenu>("PopupMenu1")), (QStringList{"增加", "删除", "保存", "退出"}));
    EXPECT_EQ(texts(s.get<QMenu>("PopupMenu2")), (QStringList{"取消出库", "保存"}));

    ScriptedModals modals; // the picker is closed without a choice
    s.get<QComboBox>("cmbXh")->setEditText("XH-1");
    QTest::mouseDClick(s.get<QComboBox>("cmbXh")->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(modals.count, 1);
    EXPECT_EQ(s.get<QComboBox>("cmbXh")->currentText(), "");
}

// Closing (button or Esc) while a sale and a unit are being edited discards both;
// an over-long detail is refused by Save with its field named.
TEST_P(StoreSaleWindow, CloseDiscardsAndSaveRefusesWhatDoesNotFit) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 sale = addSale(c, "张三");
    addUnit(c, "XH-1", {}, "出", {}, sale);
    for (const char* how : {"button", "esc"}) {
        auto& s = t.open();
        t.type("edtXhms", "改过");
        type(s.grid("DBGrid2"), 0, 1, "TX-5");
        if (QString(how) == "esc")
            QTest::keyClick(&s.w, Qt::Key_Escape);
        else
            s.press("btnClose");
        EXPECT_FALSE(s.w.isVisible()) << how;
    }
    t.s.reset();
    EXPECT_EQ(rows(c, "select xhms from mcxs"), QStringList{"<null>"});
    EXPECT_EQ(t.units("txm"), QStringList{"<null>"});

    t.open();
    t.type("edtKhxm", "一二三四五六七八九");
    t.s->press("btnSave");
    EXPECT_EQ(t.prompter.last(), "客户姓名最多8个字符！");
    EXPECT_EQ(rows(c, "select khxm from mcxs"), QStringList{"张三"});
}

// Export walks every sale with the store-sales layout; afterwards the first
// sale is current with its units shown.
TEST_P(StoreSaleWindow, ExportEndsOnTheFirstSale) {
    Entry t;
    auto& c = t.db.conn();
    const qint64 first = addSale(c, "张三");
    addSale(c, "李四");
    const qint64 unit = addUnit(c, "XH-1", {}, "出", "TX-1", first);
    FakeDesktop desk;
    auto& s = t.open();
    s.press("BitBtn3");
    EXPECT_TRUE(QFile::exists(desk.last())) << desk.last().toStdString();
    EXPECT_EQ(s.w.sales().currentRow(), 0);
    EXPECT_EQ(s.get<QLineEdit>("edtKhxm")->text(), "张三");
    EXPECT_EQ(s.w.units().value("hwid").toInt(), unit);
    EXPECT_TRUE(t.prompter.shown.empty()) << t.prompter.last().toStdString();
}
