#pragma once

#include "export/xlsxsheet.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

// Puts a scripted desktop in place of the real one for its lifetime: exports
// land in a folder of the test's own (or the one given), nothing is opened.
struct FakeDesktop {
    QTemporaryDir folder;
    QString into;
    QStringList opened;
    bool canOpen = true;
    exporting::Desktop saved = exporting::desktop();

    explicit FakeDesktop(const QString& intoFolder = {}) : into(intoFolder) {
        exporting::desktop() = {[this] { return canOpen; },
                                [this](const QString& f) {
                                    opened << f;
                                    return true;
                                },
                                [this] { return into.isEmpty() ? folder.path() : into; }};
    }
    ~FakeDesktop() { exporting::desktop() = saved; }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files); }
    // The last file the export showed, or empty.
    QString last() const { return opened.isEmpty() ? QString() : opened.last(); }
};

} // namespace testing_support
