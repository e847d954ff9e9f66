#include "ui/forms.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
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
