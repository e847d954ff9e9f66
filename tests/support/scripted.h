#pragma once

#include "ui/prompter.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

namespace testing_support {

// Records every message box and answers confirmations from a script (OK when
// the script is empty). Installed for its lifetime.
class ScriptedPrompter : public ui::Prompter {
public:
    enum class Kind { Message, Confirm, Error, Stop };
    struct Shown {
        Kind kind;
        QString text;
    };

    ScriptedPrompter() { ui::setPrompter(this); }
    ~ScriptedPrompter() override { ui::setPrompter(nullptr); }

    void message(const QString& t) override { shown.push_back({Kind::Message, t}); }
    bool confirm(const QString& t) override {
        shown.push_back({Kind::Confirm, t});
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void error(const QString& t) override { shown.push_back({Kind::Error, t}); }
    void stop(const QString& t) override { shown.push_back({Kind::Stop, t}); }

    QStringList texts() const {
        QStringList l;
        for (const auto& s : shown)
            l << s.text;
        return l;
    }
    QString last() const { return shown.empty() ? QString() : shown.back().text; }
    void clear() { shown.clear(); }

    std::vector<Shown> shown;
    std::deque<bool> answers; // answers to the next confirmations
};

// Answers modal dialogs with a script: each dialog is shown (so it loads as for
// a user), handed to the next step, and its result returned. Installed for its
// lifetime.
class ScriptedModals {
public:
    using Step = std::function<void(QDialog&)>;
    ScriptedModals() {
        ui::setModalRunner([this](QDialog& d) {
            d.show();
            if (!steps.empty()) {
                Step s = std::move(steps.front());
                steps.pop_front();
                s(d);
            }
            const int r = d.isVisible() ? (d.close(), QDialog::Rejected) : d.result();
            ++count;
            return r;
        });
    }
    ~ScriptedModals() { ui::setModalRunner(nullptr); }

    std::deque<Step> steps;
    int count = 0; // dialogs run so far
};

} // namespace testing_support
