#pragma once

#include "data/dataset.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace ui {

// Binds an input to a field of its list's current row: the input shows the
// field, and typing into it puts the row into editing with the typed value
// (on an empty list that starts a new row). Owned by the input.
class FieldLink : public QObject {
    Q_OBJECT
public:
    static FieldLink* bind(QLineEdit* edit, data::DataSet& list, const QString& field);
    static FieldLink* bind(QComboBox* box, data::DataSet& list, const QString& field);
    static FieldLink* bind(QPlainTextEdit* memo, data::DataSet& list, const QString& field);

    // Shows the current row's value again.
    void refresh();

private:
    FieldLink(QWidget* input, data::DataSet& list, const QString& field);
    void typed(const QString& text);
    void show(const QString& text);

    QWidget* input_;
    data::DataSet& list_;
    bool listAlive_ = true;
    QString field_;
    bool showing_ = false;
};

} // namespace ui
