#include "app/modiPass.h"

#include "app/passwords.h"
#include "core/text.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* passwordBox(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    e->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly);
    return e;
}

} // namespace

TmodiPassFrm::TmodiPassFrm(data::DataSet& operators, QWidget* parent) : QDialog(parent), operators_(operators) {
    setObjectName(QStringLiteral("TmodiPassFrm"));
    setWindowTitle(QStringLiteral("修改密码"));

    edtOne = passwordBox("edtOne", this);
    edtTwo = passwordBox("edtTwo", this);
    auto* lblOne = new QLabel(QStringLiteral("输入密码"), this);
    lblOne->setObjectName(QStringLiteral("lblOne"));
    lblOne->setBuddy(edtOne);
    auto* lblTwo = new QLabel(QStringLiteral("确认密码"), this);
    lblTwo->setObjectName(QStringLiteral("lblTwo"));
    lblTwo->setBuddy(edtTwo);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* form = new QFormLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);
    form->addRow(lblOne, edtOne);
    form->addRow(lblTwo, edtTwo);
    auto* buttons = ui::rightAligned({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(16);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    connect(BitBtn1, &QPushButton::clicked, this, &TmodiPassFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TmodiPassFrm::BitBtn2Click);
}

void TmodiPassFrm::BitBtn1Click() {
    ui::guard([&] {
        const QString one = core::trimmed(edtOne->text());
        if (one != core::trimmed(edtTwo->text())) {
            ui::prompter().message(QStringLiteral("两次密码输入不一致!"));
            return;
        }
        if (one.size() > app::passwords::kMaxLength) {
            ui::prompter().message(QStringLiteral("密码不能超过6个字符！"));
            return;
        }
        store(one);
        ui::prompter().message(QStringLiteral("密码修改成功！！"));
    });
    // Closes in every case: the user starts again from the login dialog.
    accept();
}

void TmodiPassFrm::BitBtn2Click() { reject(); }

void TmodiPassFrm::store(const QString& password) {
    const QString stored = app::passwords::hash(password);
    operators_.edit();
    try {
        operators_.setValue(QStringLiteral("password"), stored);
        operators_.post();
    } catch (...) {
        // A refused row keeps its old password in the list as in the file.
        operators_.cancel();
        throw;
    }
}
