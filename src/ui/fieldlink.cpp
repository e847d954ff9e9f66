#include "ui/fieldlink.h"

#include "ui/guard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ui {

FieldLink::FieldLink(QWidget* input, data::DataSet& list, const QString& field)
    : QObject(input), input_(input), list_(list), field_(field) {
    // The input may outlive the list (a window's members go before its child
    // widgets): from then on the link does nothing.
    connect(&list_, &QObject::destroyed, this, [this] { listAlive_ = false; });
    connect(&list_, &data::DataSet::currentRowChanged, this, &FieldLink::refresh);
    connect(&list_, &data::DataSet::resetDone, this, &FieldLink::refresh);
    connect(&list_, &data::DataSet::stateChanged, this, &FieldLink::refresh);
    connect(&list_, &data::DataSet::rowChanged, this, [this](int r) {
        if (r == list_.currentRow())
            refresh();
    });
}

FieldLink* FieldLink::bind(QLineEdit* edit, data::DataSet& list, const QString& field) {
    auto* l = new FieldLink(edit, list, field);
    connect(edit, &QLineEdit::textEdited, l, &FieldLink::typed);
    l->refresh();
    return l;
}

FieldLink* FieldLink::bind(QComboBox* box, data::DataSet& list, const QString& field) {
    auto* l = new FieldLink(box, list, field);
    if (box->isEditable())
        connect(box->lineEdit(), &QLineEdit::textEdited, l, &FieldLink::typed);
    connect(box, &QComboBox::activated, l, [l, box](int) { l->typed(box->currentText()); });
    l->refresh();
    return l;
}

FieldLink* FieldLink::bind(QPlainTextEdit* memo, data::DataSet& list, const QString& field) {
    auto* l = new FieldLink(memo, list, field);
    connect(memo, &QPlainTextEdit::textChanged, l, [l, memo] {
        if (!l->showing_)
            l->typed(memo->toPlainText());
    });
    l->refresh();
    return l;
}

void FieldLink::typed(const QString& text) {
    if (showing_ || !listAlive_)
        return;
    const int f = list_.fieldIndex(field_);
    if (!list_.isOpen() || f < 0)
        return;
    if (!guard([&] { list_.setText(f, text); }))
        refresh();
}

void FieldLink::refresh() {
    if (!listAlive_)
        return;
    const int f = list_.fieldIndex(field_);
    show(list_.isOpen() && f >= 0 ? list_.value(f).toString() : QString());
}

void FieldLink::show(const QString& text) {
    showing_ = true;
    if (auto* e = qobject_cast<QLineEdit*>(input_)) {
        if (e->text() != text)
            e->setText(text);
    } else if (auto* b = qobject_cast<QComboBox*>(input_)) {
        if (b->currentText() != text)
            b->setCurrentText(text);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(input_)) {
        if (m->toPlainText() != text)
            m->setPlainText(text);
    }
    showing_ = false;
}

} // namespace ui
