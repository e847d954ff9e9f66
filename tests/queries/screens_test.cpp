// Pictures of both windows with everyday data, for looking at (shots/ is not
// kept). Runs only when VELMORA_SHOTS names the folder to write into.
#include "export/xlsxsheet.h"
#include "queries/ckmx.h"
#include "queries/query.h"
#include "support/desktop.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(QueriesScreens, GrabBothWindows) {
    const QString dir = qEnvironmentVariable("VELMORA_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VELMORA_SHOTS to a folder to write the pictures";
    testing_support::TestDb db;
    testing_support::ScriptedPrompter prompts;
    auto& c = db.conn();
    for (const char* s : {"联想杭州分公司", "华硕浙江代理", "戴尔华东仓"})
        c.exec("insert into jhdw (dwmc) values (?)", {s});
    for (const char* t : {"笔记本电脑", "台式机", "显示器"})
        c.exec("insert into cktype (type_name) values (?)", {t});
    c.exec("insert into hwxh (xh, type_name) values ('ThinkPad-X1', '笔记本电脑'), ('启天M430', '台式机'), "
           "('P27h-20', '显示器')");
    c.exec("insert into jxs (mc, type) values ('杭州华联电脑', 'jx'), ('绍兴国美', 'jx')");
    const char* models[] = {"ThinkPad-X1", "启天M430", "P27h-20"};
    for (int i = 0; i < 12; ++i) {
        const bool out = i % 3 == 0;
        c.exec("insert into hwgl (hwmc, if_in, jhid, type_id, rkrq, ckrq, txm, pjh, khmc, khtel, khaddress, remark) "
               "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {models[i % 3], out ? "出" : "入", 1 + i % 3, 1 + i % 3, QDate(2024, 3, 1 + i),
                out ? db::Value(QDate(2024, 4, 2 + i)) : db::Value(),
                out ? db::Value(QStringLiteral("69012345678%1").arg(i, 2, 10, QLatin1Char('0'))) : db::Value(),
                out ? db::Value(QStringLiteral("FP2024-%1").arg(100 + i)) : db::Value(),
                out ? db::Value("杭州华联电脑") : db::Value(), out ? db::Value("0571-88012345") : db::Value(),
                out ? db::Value("杭州市西湖区文三路 90 号") : db::Value(), db::Value("三月批次")});
    }

    TqueryFrm q(c);
    q.show();
    q.findChild<QComboBox*>("cmbType")->setEditText("笔记本电脑");
    q.findChild<QComboBox*>("cmbJhname")->setEditText("联想杭州分公司");
    q.findChild<QCheckBox*>("cbxRk")->click();
    q.findChild<QDateEdit*>("dtpRstart")->setDate(QDate(2024, 3, 1));
    QApplication::processEvents();
    EXPECT_TRUE(q.grab().save(dir + "/query.png"));

    TckmxFrm list(c);
    queries::GoodsQuery all;
    all.stockIn = queries::DayRange{QDate(2024, 1, 1), QDate(2024, 12, 31)};
    list.sqlWhere = queries::goodsCriteria(all);
    list.show();
    list.findChild<QCheckBox*>("cbxTotal")->click();
    QApplication::processEvents();
    EXPECT_TRUE(prompts.shown.empty()) << prompts.last().toStdString();
    EXPECT_TRUE(list.grab().save(dir + "/ckmx.png"));

    // The workbook of the list, left beside the pictures.
    {
        testing_support::FakeDesktop desk(dir);
        list.findChild<QPushButton*>("BitBtn2")->click();
    }
    EXPECT_TRUE(prompts.shown.empty()) << prompts.last().toStdString();
}
