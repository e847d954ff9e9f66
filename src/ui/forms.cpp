#include "ui/forms.h"

#include "core/text.h"
#include "db/dates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* labelFor(const QString& text, QWidget* input, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(input);
    input->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return l;
}

void addRow(QGridLayout* form, int row, int column, const QString& text, QWidget* input, int span) {
    const bool tall = input->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
    form->addWidget(labelFor(text, input, form->parentWidget()), row, column, tall ? Qt::AlignTop : Qt::Alignment());
    form->addWidget(input, row, column + 1, 1, span);
}

QComboBox* freeTextCombo(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QHBoxLayout* rightAligned(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* w : widgets)
        row->addWidget(w);
    return row;
}

QLineEdit* lineEdit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QDateEdit* dayPicker(const QString& name, QWidget* parent) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setDisplayFormat(db::dates::shortDateFormat());
    d->setCalendarPopup(false);
    d->setEnabled(false);
    return d;
}

void fillChoices(QComboBox* box, db::Connection& conn, const QString& sql, const db::Params& params, bool trim) {
    const QString typed = box->currentText();
    box->clear();
    auto st = conn.prepare(sql);
    st->bindAll(params);
    while (st->step()) {
        const QString v = st->value(0).toString();
        box->addItem(trim ? core::trimmed(v) : v);
    }
    box->setEditText(typed);
}

void addRow(QFormLayout* form, const QString& text, QWidget* input) {
    form->addRow(labelFor(text, input, form->parentWidget()), input);
}

QLabel* greenLabel(const QString& text, const QString& name, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0x00, 0xff, 0x00));
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

} // namespace ui
