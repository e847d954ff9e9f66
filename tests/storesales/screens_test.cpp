// Pictures of the three store sales windows with everyday data, for looking at
// (shots/ is not kept). Runs only when VELMORA_SHOTS names the folder to write into.
#include "export/xlsxsheet.h"
#include "storesales/mc.h"
#include "storesales/mccx.h"
#include "storesales/querymc.h"
#include "support/desktop.h"
#include "support/goods.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

TEST(StoreSalesScreens, GrabTheThreeWindows) {
    const QString dir = qEnvironmentVariable("VELMORA_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VELMORA_SHOTS to a folder to write the pictures";
    TestDb db;
    ScriptedPrompter prompts;
    auto& c = db.conn();
    for (const char* xh : {"ThinkPad-X1", "启天M430", "P27h-20"})
        c.exec("insert into hwxh (xh, type_name) values (?, '笔记本电脑')", {xh});
    addJxs(c, "银泰百货卖场", "杭州", "mc");
    addJxs(c, "西湖数码港", "杭州", "mc");
    for (int i = 0; i < 8; ++i)
        addUnit(c, i % 2 ? "ThinkPad-X1" : "启天M430", "三月批次");
    const char* names[] = {"张伟", "王芳", "李娜", "刘洋"};
    for (int i = 0; i < 4; ++i)
        c.exec("insert into mcxs (gjrq, xsdd, khxm, tel, khaddress, cxrj, cxp, shrq, cxy, czxt, gcs, finish, ts, "
               "xhms, bz) values (?, ?, ?, ?, ?, '金山毒霸', '鼠标垫', ?, '陈静', 'WINXP', '赵工', ?, 1, "
               "'14寸商务本', '')",
               {QDate(2024, 5, 6 + i), i % 2 ? "西湖数码港" : "银泰百货卖场", names[i],
                QString("1390571%1").arg(1200 + i), QString("杭州市文三路%1号").arg(100 + i), QDate(2024, 5, 8 + i),
                i == 3 ? "完工" : "否"});

    {
        TmcFrm w(c);
        w.show();
        auto* model = w.findChild<QComboBox*>("cmbXh");
        for (const char* xh : {"ThinkPad-X1", "启天M430"}) {
            model->setEditText(xh);
            w.findChild<QPushButton*>("BitBtn2")->click();
        }
        auto* bill = w.findChild<QLineEdit*>("edtPjh");
        bill->setText("FP20240509-03");
        QTest::keyClick(bill, Qt::Key_Return);
        w.findChild<QPushButton*>("btnSave")->click();
        w.findChild<QCheckBox*>("cbxTotal")->click();
        QApplication::processEvents();
        EXPECT_TRUE(w.grab().save(dir + "/mc.png"));

        FakeDesktop desk(dir);
        w.findChild<QPushButton*>("BitBtn3")->click();
        QFile::remove(dir + "/mcxs.xlsx");
        QFile::copy(desk.last(), dir + "/mcxs.xlsx");
    }
    {
        TquerymcFrm q(c);
        q.show();
        q.findChild<QComboBox*>("cmbXsmc")->setEditText("银泰百货卖场");
        q.findChild<QCheckBox*>("cbxGJ")->click();
        q.findChild<QDateEdit*>("dtpGstart")->setDate(QDate(2024, 5, 1));
        QApplication::processEvents();
        EXPECT_TRUE(q.grab().save(dir + "/querymc.png"));

        ScriptedModals modals;
        modals.steps.push_back([&](QDialog& d) {
            QApplication::processEvents();
            EXPECT_TRUE(d.grab().save(dir + "/mccx.png"));
        });
        q.findChild<QPushButton*>("btnSave")->click();
    }
    EXPECT_TRUE(prompts.shown.empty()) << prompts.last().toStdString();
}
