#include "data/dataset.h"
#include "db/dates.h"
#include "export/exporter.h"
#include "export/xlsxsheet.h"
#include "support/desktop.h"
#include "support/scripted.h"
#include "support/testdb.h"
#include "support/zipread.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using testing_support::ScriptedPrompter;
using testing_support::TestDb;

using testing_support::FakeDesktop;

namespace {

struct Cell {
    QString type;  // the t attribute: "inlineStr" for text, "" for a number
    QString value; // the text, or the number as written
    int style = 0;
};

// The cells of the first sheet by reference ("D1"), and the number format of each style.
struct ReadBack {
    QMap<QString, Cell> cells;
    QStringList styleFormats; // by style index; "" for the general format

    explicit ReadBack(const QString& file) {
        QXmlStreamReader sheet(readZipMember(file, "xl/worksheets/sheet1.xml"));
        QString ref;
        while (!sheet.atEnd()) {
            sheet.readNext();
            if (!sheet.isStartElement())
                continue;
            if (sheet.name() == u"c") {
                ref = sheet.attributes().value("r").toString();
                cells[ref] = {sheet.attributes().value("t").toString(), {}, sheet.attributes().value("s").toInt()};
            } else if (sheet.name() == u"v" || sheet.name() == u"t") {
                cells[ref].value = sheet.readElementText();
            }
        }
        QMap<int, QString> numFmts;
        QXmlStreamReader styles(readZipMember(file, "xl/styles.xml"));
        bool inXfs = false;
        while (!styles.atEnd()) {
            styles.readNext();
            if (styles.isEndElement() && styles.name() == u"cellXfs")
                inXfs = false;
            if (!styles.isStartElement())
                continue;
            if (styles.name() == u"numFmt")
                numFmts[styles.attributes().value("numFmtId").toInt()] =
                    styles.attributes().value("formatCode").toString();
            else if (styles.name() == u"cellXfs")
                inXfs = true;
            else if (inXfs && styles.name() == u"xf")
                styleFormats << numFmts.value(styles.attributes().value("numFmtId").toInt());
        }
    }
    QString format(const QString& ref) const { return styleFormats.value(cells.value(ref).style); }
};

int openFiles() { return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size()); }

struct Goods {
    TestDb db;
    data::DataSet list{db.conn()};
    void open() {
        list.setSql("select * from hwgl order by hwid");
        list.setTable("hwgl", "hwid");
        list.open();
    }
};

} // namespace

TEST(XlsxExport, WritesARealWorkbookAndOpensIt) {
    FakeDesktop desktop;
    Goods g;
    g.db.conn().exec(
        "insert into hwgl (txm, if_in, hwmc, rkrq, ckrq, khtel) values (?, ?, ?, ?, ?, ?)",
        {"0012345", "出", "XH-001", QDate(2024, 3, 5), QDateTime(QDate(2024, 3, 6), QTime(9, 30)), "01062345678"});
    g.open();
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::goodsListLayout());

    ASSERT_EQ(desktop.opened.size(), 1);
    const QFileInfo file(desktop.opened[0]);
    EXPECT_EQ(file.absolutePath(), QFileInfo(desktop.folder.path()).absoluteFilePath());
    EXPECT_TRUE(file.fileName().startsWith("Velmora软件仓库查询统计")) << file.fileName().toStdString();
    EXPECT_EQ(file.suffix(), "xlsx");

    const ReadBack x(file.filePath());
    EXPECT_EQ(x.cells.value("D1").value, "仓库查询统计");
    EXPECT_EQ(x.cells.value("A3").value, "序号");
    EXPECT_EQ(x.cells.value("L3").value, "备注");
    // Numbers as numbers, codes as text with their leading zeros.
    EXPECT_EQ(x.cells.value("A4").type, "");
    EXPECT_EQ(x.cells.value("A4").value, "1");
    EXPECT_EQ(x.cells.value("B4").type, "inlineStr");
    EXPECT_EQ(x.cells.value("B4").value, "0012345");
    EXPECT_EQ(x.cells.value("J4").value, "01062345678");
    // Dates as day numbers in the short date format, the time only when there is one.
    const QString fmt = db::dates::shortDateFormat();
    EXPECT_EQ(x.cells.value("G4").value.toDouble(), 45356.0); // 2024-03-05
    EXPECT_EQ(x.format("G4"), exporting::excelDateFormat(fmt, false));
    EXPECT_DOUBLE_EQ(x.cells.value("H4").value.toDouble(), 45357.0 + 9.5 / 24);
    EXPECT_EQ(x.format("H4"), exporting::excelDateFormat(fmt, true));
    // Nothing in row 2, nothing below the record, nothing for empty fields.
    for (const QString& ref : x.cells.keys()) {
        const int row = ref.mid(ref.indexOf(QRegularExpression("[0-9]"))).toInt();
        EXPECT_TRUE(row == 1 || row == 3 || row == 4) << ref.toStdString();
    }
    EXPECT_FALSE(x.cells.contains("I4")); // khmc is null
}

TEST(XlsxExport, EachExportGetsAFileOfItsOwn) {
    FakeDesktop desktop;
    Goods g;
    g.open();
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::dealerListLayout());
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::dealerListLayout());
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_NE(desktop.opened[0], desktop.opened[1]);
    EXPECT_EQ(desktop.files().size(), 2);
    EXPECT_EQ(ReadBack(desktop.opened[1]).cells.value("G3").value, "备注");
}

TEST(XlsxExport, WithoutAnApplicationOnlyTheErrorBoxShows) {
    FakeDesktop desktop;
    desktop.canOpen = false;
    ScriptedPrompter prompter;
    Goods g;
    g.db.conn().exec("insert into hwgl (hwmc) values (?)", {"XH-001"});
    g.open();
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::goodsListLayout());
    EXPECT_EQ(prompter.texts(), QStringList{"Excel 不能运行，请检查！"});
    EXPECT_EQ(prompter.shown[0].kind, ScriptedPrompter::Kind::Error);
    EXPECT_TRUE(desktop.files().isEmpty());
    EXPECT_TRUE(desktop.opened.isEmpty());
}

TEST(XlsxExport, CancelledLargeExportLeavesNoFile) {
    FakeDesktop desktop;
    Goods g;
    {
        db::Transaction t(g.db.conn());
        for (int i = 0; i < exporting::kProgressThreshold + 100; ++i)
            g.db.conn().exec("insert into hwgl (hwmc) values (?)", {"XH-001"});
        t.commit();
    }
    g.open();
    const int filesBefore = openFiles();
    bool sawDialog = false;
    // Runs inside the progress dialog's event processing.
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible()) {
                sawDialog = true;
                d->cancel();
            }
    });
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::goodsListLayout());
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_TRUE(desktop.files().isEmpty());
    EXPECT_EQ(openFiles(), filesBefore); // nor an open row buffer
    EXPECT_EQ(g.list.currentRow(), 0);
}

TEST(XlsxExport, ShortDateFormatsBecomeSpreadsheetFormats) {
    const struct {
        const char* qt;
        const char* excel;
    } cases[] = {
        {"yyyy/M/d", "yyyy/m/d"},
        {"M/d/yyyy", "m/d/yyyy"},
        {"dd.MM.yyyy", "dd\".\"mm\".\"yyyy"},
        {"yyyy'年'M'月'd'日'", "yyyy\"年\"m\"月\"d\"日\""},
        {"yyyy-MM-dd", "yyyy-mm-dd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exporting::excelDateFormat(c.qt, false), c.excel) << c.qt;
    EXPECT_EQ(exporting::excelDateFormat("yyyy/M/d", true), "yyyy/m/d hh:mm:ss");
}

TEST(XlsxExport, AFolderThatCannotTakeTheFileIsReported) {
    FakeDesktop desktop;
    QFile blocker(desktop.folder.filePath("no-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    exporting::desktop().folder = [&] { return blocker.fileName(); }; // a file, not a folder
    Goods g;
    g.open();
    EXPECT_THROW(exporting::exportToSpreadsheet(nullptr, g.list, exporting::storeListLayout()),
                 exporting::SpreadsheetError);
    EXPECT_TRUE(desktop.opened.isEmpty());
}

// Each column is as wide as its header and its widest value, within 8 to 60
// characters; a Chinese character counts as two.
TEST(XlsxExport, ColumnsFitTheirHeaderAndWidestValue) {
    FakeDesktop desktop;
    Goods g;
    const QDateTime issued(QDate(2024, 12, 28), QTime(9, 30));
    g.db.conn().exec("insert into hwgl (txm, if_in, hwmc, rkrq, ckrq, khmc, remark) values (?, ?, ?, ?, ?, ?, ?)",
                     {QString(34, '7'), "出", "笔记本电脑型号甲乙丙丁", QDate(2024, 12, 28), issued, "杭州经销商A",
                      QString(200, 'x')});
    g.db.conn().exec("insert into hwgl (hwmc) values ('XH-1')");
    g.open();
    exporting::exportToSpreadsheet(nullptr, g.list, exporting::goodsListLayout());
    ASSERT_EQ(desktop.opened.size(), 1);

    QMap<int, double> widths; // by column number
    QXmlStreamReader sheet(readZipMember(desktop.opened[0], "xl/worksheets/sheet1.xml"));
    while (!sheet.atEnd())
        if (sheet.readNext() == QXmlStreamReader::StartElement && sheet.name() == u"col")
            for (int c = sheet.attributes().value("min").toInt(); c <= sheet.attributes().value("max").toInt(); ++c)
                widths[c] = sheet.attributes().value("width").toDouble();
    const int date = int(db::dates::toDisplay(QDate(2024, 12, 28)).size());
    const struct {
        int col;
        int chars;
    } cases[] = {
        {1, 8},                     // 序号: a short header, small numbers
        {2, 34},                    // 条形码: the code
        {3, 8},                     // 出入库: the header, 6
        {4, 22},                    // 货物名称: eleven Chinese characters
        {5, 8},                     // 进货单位: the header alone (no such field here)
        {7, std::max(8, date)},     // 入库日期
        {8, std::max(8, date + 9)}, // 出库日期, with the time of day
        {9, 11},                    // 客户名称: five Chinese characters and a letter
        {12, 60},                   // 备注: 200 characters, cut to the widest allowed
    };
    for (const auto& c : cases)
        // The file holds the width in characters plus the cell's margin (5 pixels of 7).
        EXPECT_EQ(int(widths.value(c.col)), c.chars) << "column " << c.col << " width " << widths.value(c.col);
}
