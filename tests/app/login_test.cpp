#include "app/OpLogin.h"
#include "app/modiPass.h"
#include "app/passwords.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <QDir>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using testing_support::ScriptedModals;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

const QString kMismatch = QStringLiteral("用户名密码不一致，请重新输入！！");

// Hashing is slow on purpose: make each stored hash once for the whole run.
QString hashOf(const QString& password) {
    static QHash<QString, QString> made;
    auto it = made.find(password);
    if (it == made.end())
        it = made.insert(password, app::passwords::hash(password));
    return *it;
}

struct Logins {
    TestDb db;
    ScriptedPrompter prompts;
    ScriptedModals modals;

    // stored: the password column as it is in the file (null allowed).
    void addOperator(const QString& code, const QString& name, const db::Value& stored) {
        db.conn().exec("insert into operator (op_code, op_name, czy, password) values (?, ?, '有', ?)",
                       {code, name, stored});
    }
    db::Value storedPassword(const QString& code) {
        return db.conn().scalar("select password from operator where op_code = ?", {code});
    }
    int operators() { return static_cast<int>(db.conn().scalar("select count(*) from operator").toInt()); }
};

void typeIn(TOpLoginFrm& w, const QString& code, const QString& password) {
    w.findChild<QLineEdit*>("edtName")->setText(code);
    w.findChild<QLineEdit*>("edtPass")->setText(password);
}

void tryLogin(TOpLoginFrm& w, const QString& code, const QString& password) {
    typeIn(w, code, password);
    QTest::mouseClick(w.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
}

// A step for the change dialog: types both entries and presses "确定".
ScriptedModals::Step changeTo(const QString& one, const QString& two) {
    return [one, two](QDialog& d) {
        auto* f = qobject_cast<TmodiPassFrm*>(&d);
        ASSERT_NE(f, nullptr);
        f->edtOne->setText(one);
        f->edtTwo->setText(two);
        QTest::mouseClick(f->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    };
}

} // namespace

VELMORA_ON_EACH_ENGINE(Login);
VELMORA_ON_EACH_ENGINE(PasswordChange);

TEST(Passwords, HashesFoldedToLowerCaseAndKeepsEmptyEmpty) {
    EXPECT_EQ(app::passwords::hash(""), "");
    const QString h = hashOf("Ab1");
    EXPECT_TRUE(app::passwords::isHash(h));
    EXPECT_FALSE(h.contains("Ab1", Qt::CaseInsensitive));
    EXPECT_NE(h, app::passwords::hash("Ab1")); // salted

    struct Case {
        QString typed, stored;
        bool match;
    };
    const Case cases[] = {
        {"ab1", h, true},         {"AB1", h, true},     {"ab", h, false},         {"", h, false},
        {"", "", true},           {"x", "", false},     {"QeZmU", "qezmu", true}, // plain text of an old file
        {"qezm", "qezmu", false}, {"", "qezmu", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::passwords::matches(c.typed, c.stored), c.match)
            << c.typed.toStdString() << " / " << c.stored.toStdString();
}

TEST_P(Login, EmptyTableGetsTheDefaultOperatorWithAHashedPassword) {
    Logins t;
    TOpLoginFrm w(t.db.conn());
    w.show();
    ASSERT_EQ(t.operators(), 1);
    const QString stored = t.storedPassword("admin").toString();
    EXPECT_TRUE(app::passwords::isHash(stored));
    EXPECT_EQ(t.db.conn()
                  .scalar("select count(*) from operator where op_code = 'admin' and op_name = '管理员' "
                          "and czy = '有' and rk is null and jxsck is null and jxcx is null and mcxs is null "
                          "and mccx is null and jhdw is null and jxszl is null and cplb is null "
                          "and cpxh is null")
                  .toInt(),
              1);

    tryLogin(w, " ADMIN ", "QEZMU\t");
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    ASSERT_TRUE(w.isLoggedIn());
    EXPECT_EQ(w.operatorField("op_name"), "管理员");
    EXPECT_EQ(w.operatorField("czy"), "有");
    EXPECT_EQ(w.operatorField("rk"), "");
    EXPECT_EQ(w.operatorField("no_such_column"), "");
}

TEST_P(Login, OperatorsButNoAdminGetNoDefaultOperator) {
    Logins t;
    t.addOperator("wang", "王明", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    EXPECT_EQ(t.operators(), 1);
    tryLogin(w, "admin", "qezmu");
    EXPECT_EQ(t.prompts.texts(), QStringList{kMismatch});
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isLoggedIn());
}

TEST_P(Login, MatchesCodeAndPasswordAsTheTableSays) {
    Logins t;
    t.addOperator("li", "李空", "");
    t.addOperator("zhao", "赵无", nullptr);
    t.addOperator("chen", "陈引号", hashOf("ab'c1"));
    t.addOperator("old", "旧明文", "Pass1");
    t.addOperator("dup", "甲", hashOf("1"));
    t.addOperator("dup", "乙", hashOf("2"));
    t.addOperator("o'k", "带引号", "");

    struct Case {
        const char* what;
        QString code, password;
        QString loggedIn; // op_name, or "" for the mismatch message
    };
    const Case cases[] = {
        {"empty password, empty box", "li", "", "李空"},
        {"empty password, typed box", "li", "x", ""},
        {"null password, empty box", "zhao", "", "赵无"},
        {"null password, typed box", "zhao", "x", ""},
        {"case ignored, quote literal", "CHEN", "AB'C1", "陈引号"},
        {"blanks around", "  chen\t", " ab'c1 ", "陈引号"},
        {"wrong password", "chen", "ab", ""},
        {"hash, empty box", "chen", "", ""},
        {"plain text of an old file", "OLD", "pass1", "旧明文"},
        {"first row whose password matches", "dup", "2", "乙"},
        {"quote in the code", "o'k", "", "带引号"},
        {"quote does not widen the match", "li' or '1'='1", "", ""},
        {"empty code", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        t.prompts.clear();
        TOpLoginFrm w(t.db.conn());
        w.show();
        tryLogin(w, c.code, c.password);
        if (c.loggedIn.isEmpty()) {
            EXPECT_EQ(t.prompts.texts(), QStringList{kMismatch});
            EXPECT_TRUE(w.isVisible());
            EXPECT_FALSE(w.isLoggedIn());
            EXPECT_EQ(w.operatorField("op_name"), "");
        } else {
            EXPECT_TRUE(t.prompts.shown.empty());
            EXPECT_EQ(w.result(), QDialog::Accepted);
            EXPECT_EQ(w.operatorField("op_name"), c.loggedIn);
        }
    }
    EXPECT_EQ(t.operators(), 7);
}

TEST_P(Login, APlainTextPasswordIsHashedAtTheFirstLoginAndStillLogsIn) {
    Logins t;
    t.addOperator("old", "旧明文", "Pass1");
    for (int i = 0; i < 2; ++i) {
        TOpLoginFrm w(t.db.conn());
        w.show();
        tryLogin(w, "old", "PASS1");
        EXPECT_EQ(w.operatorField("op_name"), "旧明文") << i;
        EXPECT_TRUE(app::passwords::isHash(t.storedPassword("old").toString())) << i;
    }
    EXPECT_TRUE(t.prompts.shown.empty());
}

TEST(LoginOnAFile, WhenTheDefaultOperatorCannotBeStoredTheLoginSaysWhy) {
    Logins t;
    auto readOnly = db::openSqlite("file:" + t.db.path() + "?mode=ro");
    TOpLoginFrm w(*readOnly);
    w.show();
    tryLogin(w, "admin", "qezmu");
    ASSERT_FALSE(t.prompts.shown.empty());
    EXPECT_EQ(t.prompts.last(), "操作员表是空的，默认操作员 admin 无法建立：数据库文件只读，不能保存修改");
    EXPECT_FALSE(w.isLoggedIn());
    EXPECT_EQ(t.operators(), 0);
}

TEST_P(Login, FourthPressEndsTheLoginEvenWithTheRightEntries) {
    Logins t;
    t.addOperator("li", "李空", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    for (int i = 0; i < 3; ++i)
        tryLogin(w, "li", "wrong");
    EXPECT_EQ(t.prompts.texts(), QStringList(3, kMismatch));
    EXPECT_TRUE(w.isVisible());

    tryLogin(w, "li", "");
    EXPECT_EQ(t.prompts.shown.size(), 3u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.isLoggedIn());
    EXPECT_EQ(w.attempts(), 4);
}

TEST_P(Login, ThirdAttemptMayStillSucceed) {
    Logins t;
    t.addOperator("li", "李空", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    tryLogin(w, "li", "wrong");
    tryLogin(w, "li", "wrong");
    tryLogin(w, "li", "");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.operatorField("op_code"), "li");
}

TEST_P(Login, ExitButtonEscAndCloseBoxCancel) {
    Logins t;
    t.addOperator("li", "李空", "");
    const std::function<void(TOpLoginFrm&)> ways[] = {
        [](TOpLoginFrm& w) { QTest::mouseClick(w.findChild<QPushButton*>("btnCancel"), Qt::LeftButton); },
        [](TOpLoginFrm& w) { QTest::keyClick(w.findChild<QLineEdit*>("edtName"), Qt::Key_Escape); },
        [](TOpLoginFrm& w) { w.close(); },
    };
    for (const auto& cancel : ways) {
        TOpLoginFrm w(t.db.conn());
        w.show();
        typeIn(w, "li", "");
        cancel(w);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_FALSE(w.isLoggedIn());
    }
}

TEST_P(Login, EnterInThePasswordBoxLogsIn) {
    Logins t;
    t.addOperator("li", "李空", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    typeIn(w, "li", "");
    QTest::keyClick(w.findChild<QLineEdit*>("edtPass"), Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.findChild<QLineEdit*>("edtPass")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(w.findChild<QLineEdit*>("edtPass")->inputMethodHints() & Qt::ImhLatinOnly);
}

TEST_P(PasswordChange, RefusedWithoutCodeOrWithTheWrongPassword) {
    Logins t;
    t.addOperator("li", "李空", "abc");
    TOpLoginFrm w(t.db.conn());
    w.show();
    typeIn(w, "  ", "abc");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    typeIn(w, "li", "abd");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(t.prompts.texts(), (QStringList{"请输入用户代码！", kMismatch}));
    EXPECT_EQ(t.modals.count, 0);
    EXPECT_EQ(w.findChild<QLineEdit*>("edtPass")->text(), "abd");
    EXPECT_EQ(w.attempts(), 0);
}

TEST_P(PasswordChange, DifferentEntriesCloseTheDialogAndStoreNothing) {
    Logins t;
    t.addOperator("li", "李空", "abc");
    TOpLoginFrm w(t.db.conn());
    w.show();
    t.modals.steps.push_back(changeTo("new1", "new2"));
    typeIn(w, "LI ", " ABC");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(t.modals.count, 1);
    EXPECT_EQ(t.prompts.texts(), QStringList{"两次密码输入不一致!"});
    EXPECT_EQ(t.storedPassword("li").toString(), "abc");
    EXPECT_EQ(w.findChild<QLineEdit*>("edtPass")->text(), "");
    EXPECT_TRUE(w.isVisible());
}

TEST_P(PasswordChange, TooLongIsRefusedAndNothingStored) {
    Logins t;
    t.addOperator("li", "李空", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    t.modals.steps.push_back(changeTo(" 1234567", "1234567 "));
    typeIn(w, "li", "");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(t.prompts.texts(), QStringList{"密码不能超过6个字符！"});
    EXPECT_EQ(t.storedPassword("li").toString(), "");
}

TEST_P(PasswordChange, StoresAHashOfTheTrimmedEntryAndTheNewPasswordLogsIn) {
    Logins t;
    t.addOperator("li", "李空", "abc"); // plain text left in an old file
    t.addOperator("wu", "吴", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    t.modals.steps.push_back(changeTo(" NewP1 ", "NewP1"));
    typeIn(w, "li", "abc");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(t.prompts.texts(), QStringList{"密码修改成功！！"});
    EXPECT_EQ(t.modals.count, 1);

    const QString stored = t.storedPassword("li").toString();
    EXPECT_TRUE(app::passwords::isHash(stored));
    EXPECT_FALSE(stored.contains("newp1", Qt::CaseInsensitive));
    EXPECT_TRUE(app::passwords::matches("newp1", stored));
    EXPECT_EQ(t.storedPassword("wu").toString(), "");

    t.prompts.clear();
    tryLogin(w, "li", "abc");
    EXPECT_EQ(t.prompts.texts(), QStringList{kMismatch});
    tryLogin(w, "li", "NEWP1");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.operatorField("op_name"), "李空");
}

TEST_P(PasswordChange, TwoEmptyEntriesStoreAnEmptyPassword) {
    Logins t;
    t.addOperator("li", "李空", "abc");
    TOpLoginFrm w(t.db.conn());
    w.show();
    t.modals.steps.push_back(changeTo(" ", ""));
    typeIn(w, "li", "abc");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(t.prompts.texts(), QStringList{"密码修改成功！！"});
    const db::Value stored = t.storedPassword("li");
    EXPECT_FALSE(stored.isNull());
    EXPECT_EQ(stored.toString(), "");
    tryLogin(w, "li", "");
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_P(PasswordChange, CancelStoresNothing) {
    Logins t;
    t.addOperator("li", "李空", "abc");
    TOpLoginFrm w(t.db.conn());
    w.show();
    t.modals.steps.push_back([](QDialog& d) {
        auto& f = static_cast<TmodiPassFrm&>(d);
        f.edtOne->setText("x");
        f.edtTwo->setText("x");
        QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
    });
    typeIn(w, "li", "abc");
    QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_EQ(t.storedPassword("li").toString(), "abc");
}

// Pictures for looking at the dialogs: VELMORA_SHOTS=/path/to/folder.
TEST(LoginScreens, Grab) {
    const QString dir = qEnvironmentVariable("VELMORA_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VELMORA_SHOTS to a folder to grab the dialogs";
    QDir().mkpath(dir);
    Logins t;
    t.addOperator("wangm", "王明", "");
    TOpLoginFrm w(t.db.conn());
    w.show();
    typeIn(w, "wangm", "abc12");
    EXPECT_TRUE(w.grab().save(dir + "/login.png"));
    t.db.conn().exec("update operator set password = ?", {QString()});
    data::DataSet list(t.db.conn());
    list.setSql("select * from operator");
    list.setTable("operator", "op_id");
    list.open();
    TmodiPassFrm f(list);
    f.show();
    f.edtOne->setText("new12");
    f.edtTwo->setText("new1");
    EXPECT_TRUE(f.grab().save(dir + "/modipass.png"));
}
