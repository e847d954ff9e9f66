#include "app/OpLogin.h"
#include "app/dmCk.h"
#include "app/mainFrm.h"
#include "app/passwords.h"
#include "core/commands.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using testing_support::ScriptedModals;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

const QStringList kRightItems = {"nIN",   "nJxck",  "nMcxs", "nJxscx", "nMccx",
                                 "nJhdw", "nJxszl", "nCplb", "nCpxh",  "nCzy"};

// Logs in through the real login dialog with the given entries.
ScriptedModals::Step loginAs(const QString& code, const QString& password) {
    return [code, password](QDialog& d) {
        d.findChild<QLineEdit*>("edtName")->setText(code);
        d.findChild<QLineEdit*>("edtPass")->setText(password);
        d.findChild<QPushButton*>("btnOk")->click();
    };
}

struct MainWindow {
    TestDb db;
    ScriptedPrompter prompts;
    ScriptedModals modals;
    QStringList opened;
    std::unique_ptr<TmainFrm> frm;

    void start(ScriptedModals::Step login) {
        app::Openers openers;
        for (const QString& item : kRightItems)
            openers.insert(item, [this, item](QWidget*) { opened << item; });
        frm = std::make_unique<TmainFrm>(db.conn(), openers);
        modals.steps.push_back(std::move(login));
        frm->show();
        frm->FormShow();
    }
    QStringList enabledItems() const {
        QStringList r;
        for (const QString& item : kRightItems)
            if (frm->action(item)->isEnabled())
                r << item;
        return r;
    }
    void addOperator(const QString& code, const QString& password, const QString& right) {
        QStringList cols = {"op_code", "password"};
        db::Params vals = {code, app::passwords::hash(password)};
        for (const auto& r : core::commands()) {
            cols << r.field();
            vals.push_back(right.isNull() ? db::Value() : db::Value(right));
        }
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << "?";
        db.conn().exec("insert into operator (" + cols.join(",") + ") values (" + marks.join(",") + ")", vals);
    }
};

} // namespace

TEST(MainWindow, DefaultOperatorMayOnlyMaintainOperators) {
    MainWindow m;
    m.start(loginAs("admin", "qezmu"));
    ASSERT_TRUE(m.frm->isVisible());
    EXPECT_EQ(m.enabledItems(), QStringList{"nCzy"});
    for (const char* always : {"N5", "N1"})
        EXPECT_TRUE(m.frm->action(always)->isEnabled()) << always;
    for (const char* menu : {"N2", "N3", "N4"})
        EXPECT_TRUE(m.frm->findChild<QMenu*>(menu)->isEnabled()) << menu;
}

TEST(MainWindow, OnlyExactlyYouGrantsARight) {
    struct Case {
        QString value;
        bool enabled;
    } cases[] = {{"有", true}, {"无", false}, {"", false}, {QString(), false}, {"有 ", false}, {"Y", false}};
    for (const Case& c : cases) {
        MainWindow m;
        m.addOperator("op1", "pw", c.value);
        m.start(loginAs("OP1", "PW"));
        ASSERT_TRUE(m.frm->isVisible()) << c.value.toStdString();
        EXPECT_EQ(m.enabledItems(), c.enabled ? kRightItems : QStringList()) << c.value.toStdString();
    }
}

TEST(MainWindow, CancelledLoginClosesTheWindow) {
    MainWindow m;
    m.start([](QDialog& d) { d.findChild<QPushButton*>("btnCancel")->click(); });
    EXPECT_FALSE(m.frm->isVisible());
}

TEST(MainWindow, EachChoiceOpensAFreshWindowAndUnbuiltItemsOpenNothing) {
    MainWindow m;
    m.addOperator("op1", "", "有");
    m.start(loginAs("op1", ""));
    m.frm->action("nIN")->trigger();
    m.frm->action("nIN")->trigger();
    m.frm->action("nJxscx")->trigger();
    m.frm->action("nJxscx")->trigger();
    EXPECT_EQ(m.opened, (QStringList{"nIN", "nIN", "nJxscx", "nJxscx"}));
}

TEST(MainWindow, ExitButtonAndMenuEntryClose) {
    for (const char* how : {"SpeedButton3", "N5"}) {
        MainWindow m;
        m.start(loginAs("admin", "qezmu"));
        ASSERT_TRUE(m.frm->isVisible());
        if (QString(how) == "N5")
            m.frm->action("N5")->trigger();
        else
            m.frm->findChild<QAbstractButton*>(how)->click();
        EXPECT_FALSE(m.frm->isVisible()) << how;
    }
}

TEST(StartUp, FailuresAreReportedAndEveryStatementThenFailsWithTheSameText) {
    TestDb t;
    QFile junk(t.dir() + "/junk.mdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x5a'));
    junk.close();
    db::openSqlite(t.dir() + "/other.mdb", true)->exec("create table t (a)");

    for (const QString& file : {t.dir() + "/missing.mdb", t.dir() + "/junk.mdb", t.dir() + "/other.mdb"}) {
        ScriptedPrompter prompts;
        TdmCk data(file);
        ASSERT_EQ(prompts.shown.size(), 1u) << file.toStdString();
        EXPECT_EQ(prompts.shown[0].kind, ScriptedPrompter::Kind::Stop);
        EXPECT_FALSE(data.isOpen());
        EXPECT_FALSE(QFile::exists(t.dir() + "/missing.mdb")); // never created
        try {
            data.adocnCk().exec("select * from operator");
            ADD_FAILURE() << "a closed connection ran a statement";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.text(), prompts.shown[0].text);
        }
    }
    ScriptedPrompter prompts;
    TdmCk good(t.path());
    EXPECT_TRUE(good.isOpen());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(StartUp, AFileThatCannotBeWrittenIsSaidOnceAndStillOpens) {
    TestDb t;
    ScriptedPrompter prompts;
    TdmCk data("file:" + t.path() + "?mode=ro");
    EXPECT_TRUE(data.isOpen());
    EXPECT_EQ(prompts.texts(), QStringList{"数据库文件只读，只能查看，不能保存修改"});
    EXPECT_EQ(data.adocnCk().scalar("select count(*) from area").toInt(), 10);
}

TEST(StartUp, LoginStillShowsWithoutADatabaseAndCanBeLeft) {
    TestDb t;
    ScriptedPrompter prompts;
    TdmCk data(t.dir() + "/missing.mdb");
    ScriptedModals modals;
    bool shown = false;
    modals.steps.push_back([&](QDialog& d) {
        shown = d.isVisible();
        d.findChild<QPushButton*>("btnCancel")->click();
    });
    TmainFrm frm(data.adocnCk(), {});
    frm.show();
    frm.FormShow();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(frm.isVisible());
    EXPECT_GE(prompts.shown.size(), 2u); // the open failure, then the login's own failure to read operators
}
