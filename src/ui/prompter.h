#pragma once

#include <QString>

#include <functional>

class QDialog;

namespace ui {

// Every message box of the program goes through this, so tests can script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Plain message: the text, the application title as caption, no icon, OK.
    virtual void message(const QString& text) = 0;
    // Confirmation captioned "确认" with OK and Cancel; true only for OK.
    virtual bool confirm(const QString& text) = 0;
    // Error box: error icon, one OK.
    virtual void error(const QString& text) = 0;
    // The general error handler's box: stop icon, application title, one OK.
    virtual void stop(const QString& text) = 0;
};

Prompter& prompter();
// Installs another prompter (tests); nullptr restores the message boxes.
void setPrompter(Prompter* p);

QString appTitle();

// Runs a modal dialog (pickers, sub-dialogs) and returns its result code. Tests
// install a runner that answers the dialog instead of waiting for a user.
using ModalRunner = std::function<int(QDialog&)>;
int runModal(QDialog& dialog);
void setModalRunner(ModalRunner runner);

} // namespace ui
