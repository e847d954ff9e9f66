#pragma once

#include "export/exporter.h"

#include <QMap>
#include <QPair>
#include <QRegularExpression>
#include <QStringList>

// Records every spreadsheet call in order; cells also by position.
class RecordingSheet : public exporting::Spreadsheet {
public:
    void connect() override {
        calls << "connect";
        if (cannotStart)
            throw exporting::CannotStart("no spreadsheet");
    }
    void setVisible(bool v) override { calls << QStringLiteral("visible %1").arg(v); }
    void setCaption(const QString& c) override { calls << "caption " + c; }
    void newWorkbook() override { calls << "newWorkbook"; }
    void firstSheet() override { calls << "firstSheet"; }
    void putCell(int row, int col, const db::Value& v) override {
        if (failAtRow && row == failAtRow)
            throw exporting::SpreadsheetError("closed");
        calls << QStringLiteral("cell %1,%2").arg(row).arg(col);
        cells[{row, col}] = v;
        order.push_back({row, col});
    }
    void release() override { calls << "release"; }
    void discard() override { calls << "discard"; }

    // The text of a cell as the list shows it; "" for a cell never written.
    QString text(int row, int col) const { return cells.value({row, col}).toString(); }
    bool written(int row, int col) const { return cells.contains({row, col}); }
    int lastRow() const {
        int r = 0;
        for (auto it = cells.keyBegin(); it != cells.keyEnd(); ++it)
            r = std::max(r, it->first);
        return r;
    }
    // The calls other than cells.
    QStringList frame() const { return calls.filter(QRegularExpression("^(?!cell )")); }

    bool cannotStart = false;
    int failAtRow = 0;
    QStringList calls;
    QMap<QPair<int, int>, db::Value> cells;
    std::vector<QPair<int, int>> order;
};
