// Pictures of both windows with everyday data, for looking at (shots/ is not
// kept). Runs only when VELMORA_SHOTS names the folder to write into.
#include "pickers/xhSelect.h"
#include "stockin/rkgl.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(StockinScreens, GrabBothWindows) {
    const QString dir = qEnvironmentVariable("VELMORA_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VELMORA_SHOTS to a folder to write the pictures";
    testing_support::TestDb db;
    testing_support::ScriptedPrompter prompts;
    auto& c = db.conn();
    c.exec("insert into jhdw (dwmc) values ('杭州华东电子有限公司'), ('深圳恒信科技'), ('北京联创数码')");
    c.exec("insert into cktype (type_name) values ('笔记本电脑'), ('台式电脑'), ('显示器'), ('打印机')");
    c.exec("insert into hwxh (xh, type_name) values ('ThinkPad-X1', '笔记本电脑'), ('ThinkPad-T14', '笔记本电脑'), "
           "('IdeaPad-15', '笔记本电脑'), ('启天M430', '台式电脑'), ('P27h-20', '显示器')");
    const QDate today = QDate::currentDate();
    c.exec("insert into hwgl (hwmc, jhid, rkrq, if_in, remark) values ('启天M430', 2, ?, '入', '上午到货'), "
           "('启天M430', 2, ?, '入', '上午到货')",
           {db::Value(today), db::Value(today)});

    TrkglFrm w(c);
    w.show();
    QApplication::processEvents();
    w.findChild<QComboBox*>("cmbXh")->setEditText("ThinkPad-T14");
    w.findChild<QComboBox*>("dlkDwmcPL")->setCurrentIndex(0);
    w.findChild<QLineEdit*>("edtNum")->setText("3");
    w.findChild<QPlainTextEdit*>("memRemark")->setPlainText("第二批，外箱完好");
    w.findChild<QPushButton*>("btnAdd")->click();
    w.findChild<QCheckBox*>("cbxTotal")->click();
    QApplication::processEvents();
    EXPECT_TRUE(prompts.shown.empty()) << prompts.last().toStdString();
    EXPECT_TRUE(w.grab().save(dir + "/rkgl.png"));

    TxhSelectFrm p(c, &w);
    p.show();
    p.models().setCurrentRow(1);
    QApplication::processEvents();
    EXPECT_TRUE(p.grab().save(dir + "/xhSelect.png"));
}
