#pragma once

// Pieces several bench cases share.

#include "bench/bench.h"
#include "db/value.h"
#include "export/exporter.h"
#include "ui/prompter.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace bench {

// Counts message boxes instead of showing them; confirmations are answered OK.
class QuietPrompter : public ui::Prompter {
public:
    QuietPrompter() { ui::setPrompter(this); }
    ~QuietPrompter() override { ui::setPrompter(nullptr); }
    void message(const QString&) override { ++messages; }
    bool confirm(const QString&) override { return true; }
    void error(const QString&) override { ++messages; }
    void stop(const QString&) override { ++messages; }
    int messages = 0;
};

// The size of a written file in KB, for a case's line.
std::string sizeKb(const QString& file);

// A cell as the bare writer takes it: taken out of a list beforehand.
struct BareCell {
    int kind; // 0 empty, 1 number, 2 date, 3 text
    double number;
    QByteArray text;
};
BareCell bareCell(const db::Value& v);

// The bare libxlsxwriter loop the export walk is held to: title, headers and
// the cells (row after row, layout's columns), timed from opening the workbook
// to closing it.
std::string writeBare(const QString& file, const exporting::Layout& layout, const std::vector<BareCell>& cells,
                      Timer& timer);

} // namespace bench
