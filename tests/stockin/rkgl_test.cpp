// The stock-in window driven by its controls: what it lists when opened, what
// "入库 &a" stores and lists, delete, save, the count box and the model picker.
#include "db/dates.h"
#include "pickers/xhSelect.h"
#include "stockin/rkgl.h"
#include "support/screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using testing_support::ScriptedModals;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;
using Kind = testing_support::ScriptedPrompter::Kind;

namespace {

const QDate kToday = QDate::currentDate();

struct Stockin {
    TestDb db;
    ScriptedPrompter prompts;
    ScriptedModals modals;

    Stockin() {
        db.conn().exec("insert into jhdw (dwmc) values ('华东电子'), ('深圳恒信'), ('北京联创')");
        db.conn().exec("insert into cktype (type_name) values ('笔记本')");
        db.conn().exec("insert into hwxh (xh, type_name) values ('TP-X1', '笔记本'), ('TP-T14', '笔记本')");
    }
    void unit(const QString& model, int jhid, const QDate& day, const QString& state) {
        db.conn().exec("insert into hwgl (hwmc, jhid, rkrq, if_in) values (?, ?, ?, ?)",
                       {model, jhid, db::Value(day), state});
    }
    qint64 rows() { return db.conn().scalar("select count(*) from hwgl").toInt(); }
};

// The stock-in window as a user has it in front of them.
struct Screen : testing_support::Screen<TrkglFrm> {
    using testing_support::Screen<TrkglFrm>::Screen;
    QComboBox* model() { return get<QComboBox>("cmbXh"); }
    QComboBox* supplier() { return get<QComboBox>("dlkDwmcPL"); }
    QLineEdit* quantity() { return get<QLineEdit>("edtNum"); }
    QDateEdit* date() { return get<QDateEdit>("dtpRkrq"); }
    QPlainTextEdit* remark() { return get<QPlainTextEdit>("memRemark"); }
    QCheckBox* count() { return get<QCheckBox>("cbxTotal"); }
    ui::DataGrid* grid() { return testing_support::Screen<TrkglFrm>::grid("DBGrid1"); }

    void fill(const QString& xh, const QString& supplierName, const QString& n, const QDate& day = kToday) {
        model()->setEditText(xh);
        supplier()->setCurrentIndex(supplier()->findText(supplierName));
        quantity()->setText(n);
        date()->setDate(day);
    }
    QStringList lines() { return testing_support::lines(grid()); }
};

QString shown(const QDate& d) { return db::Value(d).toString(); }

} // namespace

VELMORA_ON_EACH_ENGINE(StockinWindow);

TEST_P(StockinWindow, OpensWithTodaysInStockUnitsAndEmptyBoxes) {
    Stockin t;
    t.unit("TP-X1", 1, kToday, "入");
    t.unit("TP-X1", 2, kToday, "出"); // issued since: not listed
    t.unit("TP-T14", 3, kToday.addDays(-1), "入");
    t.unit("TP-T14", 9, kToday, "入"); // a supplier that no longer exists
    Screen s(t.db.conn());

    EXPECT_EQ(s.w.windowTitle(), "入库管理");
    EXPECT_EQ(s.lines(), QStringList({"1|TP-X1|华东电子|" + shown(kToday) + "|", "4|TP-T14||" + shown(kToday) + "|"}));
    EXPECT_EQ(s.w.units().currentRow(), 1);
    EXPECT_EQ(s.grid()->currentIndex().row(), 1);
    QStringList headers;
    for (int c = 0; c < s.grid()->model()->columnCount(); ++c)
        headers << s.grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"序号", "货物型号", "进货单位", "入库日期", "备注"}));

    EXPECT_EQ(s.model()->currentText(), "");
    QStringList codes;
    for (int i = 0; i < s.model()->count(); ++i)
        codes << s.model()->itemText(i);
    // In the order the database gives them.
    QStringList stored;
    for (auto st = t.db.conn().prepare("select xh from hwxh"); st->step();)
        stored << st->value(0).toString();
    EXPECT_EQ(codes, stored);
    EXPECT_EQ(codes.size(), 2);
    EXPECT_EQ(s.supplier()->count(), 3);
    EXPECT_EQ(s.supplier()->currentIndex(), -1);
    EXPECT_EQ(s.quantity()->text(), "");
    EXPECT_EQ(s.date()->date(), kToday);
    EXPECT_EQ(s.date()->displayFormat(), db::dates::shortDateFormat());
    EXPECT_EQ(s.count()->text(), "显示台数");
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
}

TEST_P(StockinWindow, RegisteringListsTheNewUnitsAtTheEndWhateverTheirDate) {
    Stockin t;
    t.unit("TP-X1", 1, kToday, "入");
    const QDate lastWeek = kToday.addDays(-7);
    {
        Screen s(t.db.conn());
        s.fill("TP-T14", "深圳恒信", " 3", lastWeek);
        s.remark()->setPlainText("样机");
        s.press("btnAdd");
        EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
        const QString line = "|TP-T14|深圳恒信|" + shown(lastWeek) + "|样机";
        EXPECT_EQ(s.lines(),
                  QStringList({"1|TP-X1|华东电子|" + shown(kToday) + "|", "2" + line, "3" + line, "4" + line}));
        EXPECT_EQ(s.grid()->currentIndex().row(), 3);
        // The boxes keep their contents.
        EXPECT_EQ(s.quantity()->text(), " 3");
        EXPECT_EQ(s.supplier()->currentText(), "深圳恒信");
    }
    EXPECT_EQ(t.rows(), 4);
    // Next time only today's units are listed.
    Screen again(t.db.conn());
    EXPECT_EQ(again.lines().size(), 1);
}

TEST_P(StockinWindow, InputErrorsStoreNothing) {
    struct Case {
        const char* what;
        QString model, supplier, quantity;
        Kind kind;
        QString text; // empty: nothing shown
    };
    const Case cases[] = {
        {"no model", "  ", "华东电子", "3", Kind::Message, "请填写货物型号!"},
        {"no quantity", "TP-X1", "华东电子", " ", Kind::Message, "请填写数量!"},
        {"no number", "TP-X1", "华东电子", "3x", Kind::Stop, "数量: '3x' 不是有效的整数值"},
        {"blank after the digits", "TP-X1", "华东电子", "3 ", Kind::Stop, "数量: '3 ' 不是有效的整数值"},
        {"zero", "TP-X1", "华东电子", "0", Kind::Message, ""},
        {"negative", "TP-X1", "华东电子", "-3", Kind::Message, ""},
        {"too many", "TP-X1", "华东电子", "250000", Kind::Message, "数量不能超过100000!"},
        {"no supplier", "TP-X1", "", "3", Kind::Message, "请选择进货单位!"},
    };
    for (const Case& c : cases) {
        Stockin t;
        Screen s(t.db.conn());
        s.fill(c.model, c.supplier, c.quantity);
        s.press("btnAdd");
        if (c.text.isEmpty()) {
            EXPECT_TRUE(t.prompts.shown.empty()) << c.what;
        } else {
            ASSERT_EQ(t.prompts.shown.size(), 1u) << c.what;
            EXPECT_EQ(t.prompts.shown[0].kind, c.kind) << c.what;
            EXPECT_EQ(t.prompts.shown[0].text, c.text) << c.what;
        }
        EXPECT_EQ(t.rows(), 0) << c.what;
        EXPECT_EQ(s.lines().size(), 0) << c.what;
    }
}

TEST_P(StockinWindow, RefusedRowIsReportedWithItsFieldAndNothingIsStored) {
    Stockin t;
    Screen s(t.db.conn());
    s.fill("TP-X1", "华东电子", "4");
    s.remark()->setPlainText(QString(251, QChar(u'注')));
    s.press("btnAdd");
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Stop);
    EXPECT_TRUE(t.prompts.last().contains("备注")) << t.prompts.last().toStdString();
    EXPECT_EQ(t.rows(), 0);
    EXPECT_EQ(s.lines().size(), 0);
}

TEST_P(StockinWindow, DeleteAsksFirstAndSaveStoresTheRowUnchanged) {
    Stockin t;
    {
        Screen s(t.db.conn());
        // An empty list: neither asks nor fails.
        s.press("btnDel");
        s.press("btnSave");
        EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
    }
    t.unit("TP-X1", 1, kToday, "入");
    t.unit("TP-T14", 2, kToday, "入");
    Screen s(t.db.conn());
    t.prompts.answers = {false, true};
    s.press("btnDel");
    EXPECT_EQ(t.prompts.texts(), QStringList({"确认要删除此条记录吗?"}));
    EXPECT_EQ(t.prompts.shown[0].kind, Kind::Confirm);
    EXPECT_EQ(t.rows(), 2);

    s.press("btnSave");
    EXPECT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.db.conn().scalar("select hwmc from hwgl where hwid = 2"), db::Value("TP-T14"));

    s.press("btnDel"); // the current (last) row
    EXPECT_EQ(t.rows(), 1);
    EXPECT_EQ(t.db.conn().scalar("select hwid from hwgl"), db::Value(1));
    EXPECT_EQ(s.lines().size(), 1);
}

TEST_P(StockinWindow, CountBoxCountsAtTheClickOnly) {
    Stockin t;
    t.unit("TP-X1", 1, kToday, "入");
    t.unit("TP-X1", 1, kToday, "入");
    Screen s(t.db.conn());
    EXPECT_EQ(s.count()->text(), "显示台数");
    QTest::mouseClick(s.count(), Qt::LeftButton);
    EXPECT_EQ(s.count()->text(), "共2台");
    s.fill("TP-X1", "华东电子", "5");
    s.press("btnAdd");
    EXPECT_EQ(s.count()->text(), "共2台");
    QTest::mouseClick(s.count(), Qt::LeftButton);
    EXPECT_EQ(s.count()->text(), "统计台数");
    QTest::mouseClick(s.count(), Qt::LeftButton);
    EXPECT_EQ(s.count()->text(), "共7台");
}

TEST_P(StockinWindow, DoubleClickOnTheModelBoxPutsThePickersChoiceInIt) {
    Stockin t;
    Screen s(t.db.conn());
    s.model()->setEditText("旧型号");
    auto choose = [](int modelRow) {
        return [modelRow](QDialog& d) {
            auto& p = dynamic_cast<TxhSelectFrm&>(d);
            if (modelRow >= 0)
                p.models().setCurrentRow(modelRow);
            QTest::mouseClick(d.findChild<QPushButton*>(modelRow >= 0 ? "BitBtn1" : "BitBtn2"), Qt::LeftButton);
        };
    };
    t.modals.steps.push_back(choose(1));
    QTest::mouseDClick(s.model()->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(t.modals.count, 1);
    EXPECT_EQ(s.model()->currentText(), "TP-T14");

    // Each double-click is a new picker: a cancel empties the box.
    t.modals.steps.push_back(choose(-1));
    QTest::mouseDClick(s.model()->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(t.modals.count, 2);
    EXPECT_EQ(s.model()->currentText(), "");
}

TEST_P(StockinWindow, DeleteOfAUnitIssuedAtAnotherDeskIsRefusedAndTheLineShowsItAnew) {
    Stockin t;
    t.unit("TP-X1", 1, kToday, "入");
    Screen s(t.db.conn());
    auto other = t.db.openAnother();
    other->exec("update hwgl set if_in = '出', txm = 'SN-1', khmc = '杭州华联' where hwid = 1");
    t.prompts.answers = {true};
    s.press("btnDel");
    EXPECT_EQ(t.prompts.last(), "此记录已被其他操作员修改或删除，请重新打开窗口查看！");
    EXPECT_EQ(t.prompts.shown.back().kind, Kind::Message);
    EXPECT_EQ(t.db.conn().scalar("select txm from hwgl where hwid = 1"), db::Value("SN-1"));
    EXPECT_EQ(s.grid()->list().value("if_in"), db::Value("出")); // the list holds what the file holds
}

// A long stock-in shows how far it got in a modal dialog, which is gone afterwards.
TEST_P(StockinWindow, ALongStockInShowsItsProgress) {
    Stockin t;
    Screen s(t.db.conn());
    s.w.progressAfterMs = 0; // as if it had already taken a while
    s.fill("TP-X1", "华东电子", "2500");
    QString seen;
    // Runs inside the dialog's event processing.
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible())
                seen = QStringLiteral("%1 %2 %3").arg(d->objectName(), d->labelText()).arg(d->maximum());
    });
    s.press("btnAdd");
    EXPECT_EQ(seen, "dlgStockinProgress 正在入库，请稍候…… 2500");
    EXPECT_EQ(t.rows(), 2500);
    EXPECT_EQ(s.lines().size(), 2500);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QProgressDialog*>(w)) << "still there";
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
}
