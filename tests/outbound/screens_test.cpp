// Pictures of both windows with everyday data, for looking at (shots/ is not
// kept). Runs only when VELMORA_SHOTS names the folder to write into.
#include "outbound/ck.h"
#include "pickers/jxsSelect.h"
#include "support/goods.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace testing_support;

TEST(OutboundScreens, GrabBothWindows) {
    const QString dir = qEnvironmentVariable("VELMORA_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VELMORA_SHOTS to a folder to write the pictures";
    testing_support::TestDb db;
    testing_support::ScriptedPrompter prompts;
    auto& c = db.conn();
    for (const char* xh : {"ThinkPad-X1", "ThinkPad-T14", "启天M430", "P27h-20"})
        c.exec("insert into hwxh (xh, type_name) values (?, '笔记本电脑')", {xh});
    addJxs(c, "杭州华联电脑", "杭州");
    addJxs(c, "杭州西湖数码", "杭州");
    addJxs(c, "银泰百货卖场", "杭州", "mc");
    addJxs(c, "绍兴国美", "绍兴");
    for (int i = 0; i < 6; ++i)
        addUnit(c, i % 2 ? "ThinkPad-X1" : "启天M430", "三月批次");

    TckFrm w(c);
    w.show();
    auto* model = w.findChild<QComboBox*>("cmbXh");
    auto* barcode = w.findChild<QLineEdit*>("edtTxm");
    auto* customer = w.findChild<QComboBox*>("cmbKhmc");
    w.findChild<QLineEdit*>("edtPjh")->setText("FP20240506-17");
    w.findChild<QPlainTextEdit*>("memRemark")->setPlainText("客户自提");
    customer->setEditText("杭州华联电脑");
    const char* codes[] = {"6901234567801", "6901234567802", "6901234567803"};
    for (int i = 0; i < 3; ++i) {
        model->setEditText(i == 2 ? "ThinkPad-X1" : "启天M430");
        barcode->setText(codes[i]);
        w.findChild<QPushButton*>("btnCk")->click();
    }
    w.findChild<QCheckBox*>("cbxTotal")->click();
    QApplication::processEvents();
    EXPECT_TRUE(prompts.shown.empty()) << prompts.last().toStdString();
    EXPECT_TRUE(w.grab().save(dir + "/ck.png"));

    TjxsSelectFrm p(c, &w);
    p.show();
    p.dealers().setCurrentRow(1);
    QApplication::processEvents();
    EXPECT_TRUE(p.grab().save(dir + "/jxsSelect.png"));
}
