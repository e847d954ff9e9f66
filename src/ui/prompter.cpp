#include "ui/prompter.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace ui {

namespace {

QWidget* parentWindow() { return QApplication::activeWindow(); }

class BoxPrompter : public Prompter {
public:
    void message(const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, appTitle(), text, QMessageBox::Ok, parentWindow());
        box.exec();
    }
    bool confirm(const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("确认"), text, QMessageBox::Ok | QMessageBox::Cancel,
                        parentWindow());
        return box.exec() == QMessageBox::Ok;
    }
    void error(const QString& text) override {
        QMessageBox box(QMessageBox::Critical, appTitle(), text, QMessageBox::Ok, parentWindow());
        box.exec();
    }
    void stop(const QString& text) override {
        QMessageBox box(QMessageBox::Critical, appTitle(), text, QMessageBox::Ok, parentWindow());
        box.exec();
    }
};

BoxPrompter boxPrompter;
Prompter* current = nullptr;
ModalRunner modalRunner;

} // namespace

Prompter& prompter() { return current ? *current : boxPrompter; }

void setPrompter(Prompter* p) { current = p; }

QString appTitle() { return QStringLiteral("Velmora"); }

int runModal(QDialog& dialog) {
    if (modalRunner)
        return modalRunner(dialog);
    return dialog.exec();
}

void setModalRunner(ModalRunner runner) { modalRunner = std::move(runner); }

} // namespace ui
