#pragma once

#include "db/connection.h"

#include <QString>

#include <initializer_list>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QFormLayout;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// The pieces every window's form is made of, so that they look and behave alike.
namespace ui {

// A push button with its object name. It does not answer Enter unless the
// window makes it the default: Enter after a scanned bar code must do nothing
// by surprise.
QPushButton* button(const QString& caption, const QString& name, QWidget* parent);

// A label for an input: the label's accelerator moves to the input, and the
// input is announced under the label's text.
QLabel* labelFor(const QString& text, QWidget* input, QWidget* parent);

// A label and its input in one row of a grid form, the label at `column`, the
// input spanning `span` columns to its right.
void addRow(QGridLayout* form, int row, int column, const QString& text, QWidget* input, int span = 1);

// An editable box whose text is free, offered choices aside; nothing typed is
// added to the choices.
QComboBox* freeTextCombo(const QString& name, QWidget* parent);

// A row of buttons (or other widgets) at the right end.
QHBoxLayout* rightAligned(std::initializer_list<QWidget*> widgets);

// A line edit with its object name.
QLineEdit* lineEdit(const QString& name, QWidget* parent);

// A date box of a search: up and down buttons, no calendar, off until its
// check box switches it on.
QDateEdit* dayPicker(const QString& name, QWidget* parent);

// Refills a box's choices from the first column of a query, keeping what the
// user may have typed; with trim, each choice as core::trimmed() leaves it.
void fillChoices(QComboBox* box, db::Connection& conn, const QString& sql, const db::Params& params = {},
                 bool trim = false);

// The same in a form layout: the label on the left, the input on the right.
void addRow(QFormLayout* form, const QString& text, QWidget* input);

// A bold green label, as the login and the sales windows show their captions;
// with a buddy, its accelerator moves there.
QLabel* greenLabel(const QString& text, const QString& name, QWidget* buddy, QWidget* parent);

} // namespace ui
