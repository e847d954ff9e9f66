#include "app/OpLogin.h"

#include "app/modiPass.h"
#include "app/passwords.h"
#include "core/codes.h"
#include "core/text.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

// The pictures are compiled into a static library: register them before use.
static void loadAssets() { Q_INIT_RESOURCE(assets); }

namespace {

const QString kMismatch = QStringLiteral("用户名密码不一致，请重新输入！！");

// Codes and passwords are Latin text: no input method, no predictions.
void latinOnly(QLineEdit* edit) {
    edit->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
}

} // namespace

TOpLoginFrm::TOpLoginFrm(db::Connection& conn, QWidget* parent)
    : QDialog(parent), conn_(conn), adsOper_(conn, this), adoqLogin_(conn, this) {
    setObjectName(QStringLiteral("TOpLoginFrm"));
    setWindowTitle(QStringLiteral("登录"));
    loadAssets();
    background_.load(QStringLiteral(":/assets/login.png"));

    adsOper_.setObjectName(QStringLiteral("adsOper"));
    adsOper_.setSql(QStringLiteral("select * from operator"));
    adsOper_.setTable(QStringLiteral("operator"), QStringLiteral("op_id"));
    adoqLogin_.setObjectName(QStringLiteral("adoqLogin"));
    adoqLogin_.setTable(QStringLiteral("operator"), QStringLiteral("op_id"));

    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    latinOnly(edtName);
    edtPass = new QLineEdit(this);
    edtPass->setObjectName(QStringLiteral("edtPass"));
    edtPass->setEchoMode(QLineEdit::Password);
    edtPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    latinOnly(edtPass);

    btnOk = new QPushButton(QStringLiteral("确认"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("修改密码"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    btnCancel = new QPushButton(QStringLiteral("退出 &E."), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(14);
    fields->addWidget(ui::greenLabel(QStringLiteral("操作员"), QStringLiteral("lblName"), edtName, this), 0, 0);
    fields->addWidget(edtName, 0, 1);
    fields->addWidget(ui::greenLabel(QStringLiteral("密码"), QStringLiteral("lblPass"), edtPass, this), 1, 0);
    fields->addWidget(edtPass, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(btnOk);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(btnCancel);

    // The fields sit in the lower part, below the picture's title.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(70, 96, 70, 22);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(400, 260);

    connect(btnOk, &QPushButton::clicked, this, &TOpLoginFrm::btnOkClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TOpLoginFrm::BitBtn1Click);
    connect(btnCancel, &QPushButton::clicked, this, &TOpLoginFrm::btnCancelClick);
}

TOpLoginFrm::~TOpLoginFrm() = default;

QString TOpLoginFrm::operatorField(const QString& column) const {
    if (!isLoggedIn() || adoqLogin_.fieldIndex(column) < 0)
        return {};
    return adoqLogin_.value(column).toString();
}

bool TOpLoginFrm::isLoggedIn() const { return loggedIn_ && adoqLogin_.isOpen() && !adoqLogin_.isEmpty(); }

void TOpLoginFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TOpLoginFrm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isNull())
        p.fillRect(rect(), QColor(0x10, 0x2a, 0x4a));
    else
        p.drawPixmap(rect(), background_);
}

void TOpLoginFrm::FormShow() {
    ui::guard([&] {
        adsOper_.open();
        closeLoginQuery();
        seedFailure_.clear();
        if (!adsOper_.isEmpty())
            return;
        try {
            adsOper_.append();
            adsOper_.setValue(QStringLiteral("op_code"), QStringLiteral("admin"));
            adsOper_.setValue(QStringLiteral("op_name"), QStringLiteral("管理员"));
            adsOper_.setValue(QStringLiteral("czy"), core::codes::kGranted);
            adsOper_.setValue(QStringLiteral("password"), app::passwords::hash(QStringLiteral("qezmu")));
            adsOper_.post();
        } catch (const db::Error& e) {
            // Told at the login press: with no operator at all, no code and password can match.
            seedFailure_ = e.text();
            adsOper_.cancel();
        }
    });
}

void TOpLoginFrm::hashPlainPassword(const QString& password) {
    const QString stored = adoqLogin_.value(QStringLiteral("password")).toString();
    if (stored.isEmpty() || app::passwords::isHash(stored))
        return;
    try {
        adoqLogin_.setValue(QStringLiteral("password"), app::passwords::hash(password));
        adoqLogin_.post();
    } catch (const db::Error& e) {
        // The login stands; the hash is stored at a later login.
        adoqLogin_.cancel();
        qWarning().noquote() << "password of" << adoqLogin_.value(QStringLiteral("op_code")).toString()
                             << "left as it was:" << e.text();
    }
}

int TOpLoginFrm::firstMatch(const data::DataSet& list, const QString& password) {
    const int field = list.fieldIndex(QStringLiteral("password"));
    for (int row = 0; row < list.count(); ++row) {
        if (app::passwords::matches(password, list.value(row, field).toString()))
            return row;
    }
    return -1;
}

void TOpLoginFrm::btnOkClick() {
    ui::guard([&] {
        if (++attempts_ > 3) {
            closeLoginQuery();
            reject();
            return;
        }
        const QString code = core::trimmed(edtName->text());
        const QString password = core::trimmed(edtPass->text());

        // Rows with this code (letter case ignored by the column), in the order
        // the database returns them; the first whose password matches logs in.
        closeLoginQuery();
        adoqLogin_.setSql(QStringLiteral("select * from operator where op_code = ?"), {code});
        adoqLogin_.open();
        const int row = firstMatch(adoqLogin_, password);
        if (row < 0) {
            closeLoginQuery();
            if (!seedFailure_.isEmpty() && adsOper_.isEmpty())
                ui::prompter().message(
                    QStringLiteral("操作员表是空的，默认操作员 admin 无法建立：%1").arg(seedFailure_));
            else
                ui::prompter().message(kMismatch);
            return;
        }
        adoqLogin_.setCurrentRow(row);
        hashPlainPassword(password);
        loggedIn_ = true;
        accept();
    });
}

void TOpLoginFrm::BitBtn1Click() {
    ui::guard([&] {
        const QString code = core::trimmed(edtName->text());
        if (code.isEmpty()) {
            ui::prompter().message(QStringLiteral("请输入用户代码！"));
            return;
        }
        const QString password = core::trimmed(edtPass->text());
        if (!adsOper_.isOpen())
            adsOper_.open();
        adsOper_.checkBrowseMode();

        const int codeField = adsOper_.fieldIndex(QStringLiteral("op_code"));
        const int passField = adsOper_.fieldIndex(QStringLiteral("password"));
        int found = -1;
        for (int row = 0; row < adsOper_.count() && found < 0; ++row) {
            if (adsOper_.value(row, codeField).toString().compare(code, Qt::CaseInsensitive) == 0 &&
                app::passwords::matches(password, adsOper_.value(row, passField).toString()))
                found = row;
        }
        if (found < 0) {
            ui::prompter().message(kMismatch);
            closeLoginQuery();
            return;
        }
        adsOper_.setCurrentRow(found);
        edtPass->clear();
        TmodiPassFrm change(adsOper_, this);
        ui::runModal(change);
    });
}

void TOpLoginFrm::btnCancelClick() { reject(); }

void TOpLoginFrm::closeLoginQuery() {
    adoqLogin_.close();
    loggedIn_ = false;
}
