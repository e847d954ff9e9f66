#pragma once

#include "data/dataset.h"
#include "db/errors.h"
#include "ui/prompter.h"

#include <QString>

#include <exception>
#include <utility>

namespace ui {

// Shows an error that a command did not handle itself (stop icon, application
// title) and writes the statement it came from to the log.
void reportError(const std::exception& e);

// The general error guard: runs a command; an exception ends it where it arose
// and is shown. Rows stored before stay stored. Abort ends it silently.
// Returns true when the command ran to its end.
template <class F>
bool guard(F&& command) {
    try {
        std::forward<F>(command)();
        return true;
    } catch (const data::Abort&) {
    } catch (const std::exception& e) {
        reportError(e);
    }
    return false;
}

} // namespace ui
