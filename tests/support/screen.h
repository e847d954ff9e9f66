#pragma once

#include "support/scripted.h"
#include "support/testdb.h"
#include "ui/datagrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace testing_support {

// A window as the user has it in front of them, driven by its control names.
// Any extra constructor arguments after the connection are passed on.
template <class W>
struct Screen {
    W w;
    template <class... A>
    explicit Screen(db::Connection& conn, A&&... args) : w(conn, std::forward<A>(args)...) {
        w.show();
        QApplication::processEvents();
    }
    template <class T>
    T* get(const char* name) {
        T* c = w.template findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(const char* name) { return get<QPushButton>(name); }
    void press(const char* name) {
        QTest::mouseClick(button(name), Qt::LeftButton);
        QApplication::processEvents();
    }
    ui::DataGrid* grid(const char* name) { return get<ui::DataGrid>(name); }
};

// Typing text key by key into the focused box (QTest::keyClicks knows Latin-1 only).
inline void keys(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// The grid's lines as shown: each line's cells joined by "|".
inline QStringList lines(ui::DataGrid* g) {
    QStringList out;
    auto* m = g->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->index(r, c).data().toString();
        out << cells.join('|');
    }
    return out;
}

inline QStringList headers(ui::DataGrid* g) {
    QStringList out;
    for (int c = 0; c < g->model()->columnCount(); ++c)
        out << g->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

// Selecting a line of the grid, as a click on it does.
inline void select(ui::DataGrid* g, int row, int col = 0) {
    g->setCurrentIndex(g->model()->index(row, col));
    QApplication::processEvents();
}

// Typing a cell's text and leaving the cell: what the grid's editor commits.
inline bool type(ui::DataGrid* g, int row, int col, const QString& text) {
    const bool ok = g->model()->setData(g->model()->index(row, col), text);
    QApplication::processEvents();
    return ok;
}

// The rows of a table as "a|b|c" texts, in the order of the statement.
inline QStringList rows(db::Connection& c, const QString& sql) {
    QStringList out;
    for (auto st = c.prepare(sql); st->step();) {
        QStringList cells;
        for (int i = 0; i < st->columnCount(); ++i)
            cells << (st->value(i).isNull() ? QStringLiteral("<null>") : st->value(i).toString());
        out << cells.join('|');
    }
    return out;
}

} // namespace testing_support
