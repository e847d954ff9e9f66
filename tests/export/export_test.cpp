#include "data/dataset.h"
#include "db/dates.h"
#include "export/exporter.h"
#include "support/recording_sheet.h"
#include "support/scripted.h"
#include "support/testdb.h"

#include <gtest/gtest.h>

using exporting::Layout;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

// A goods list as the goods window holds it: units with the supplier and
// category names looked up.
struct Goods {
    TestDb db;
    data::DataSet suppliers{db.conn()};
    data::DataSet categories{db.conn()};
    data::DataSet list{db.conn()};

    explicit Goods(int units = 0) {
        db.conn().exec("insert into jhdw (dwmc) values (?)", {"华强电子"});
        db.conn().exec("insert into cktype (type_name) values (?)", {"笔记本"});
        db::Transaction t(db.conn());
        for (int i = 1; i <= units; ++i)
            addUnit(QStringLiteral("%1").arg(i, 6, 10, QChar('0')), QStringLiteral("备注%1").arg(i));
        t.commit();
        suppliers.setSql("select * from jhdw");
        categories.setSql("select * from cktype");
        suppliers.open();
        categories.open();
        list.setSql("select * from hwgl order by hwid");
        list.setTable("hwgl", "hwid");
        list.addLookupField("jhname", "jhid", &suppliers, "jhid", "dwmc");
        list.addLookupField("type_name", "type_id", &categories, "type_id", "type_name");
        list.open();
    }
    void addUnit(const QString& txm, const QString& remark) {
        db.conn().exec("insert into hwgl (txm, if_in, hwmc, jhid, type_id, rkrq, remark) values (?, ?, ?, 1, 1, ?, ?)",
                       {txm, "入", "XH-001", QDate(2024, 3, 5), remark});
    }
    QString storedRemark(int hwid) {
        return db.conn().scalar("select remark from hwgl where hwid = ?", {hwid}).toString();
    }
};

} // namespace

TEST(ExportWalk, CallsInOrderAndCellsRowByRowLeftToRight) {
    Goods g(3);
    RecordingSheet sheet;
    EXPECT_TRUE(exporting::exportList(g.list, exporting::goodsListLayout(), sheet));

    EXPECT_EQ(sheet.frame(),
              (QStringList{"connect", "visible 1", "caption Velmora软件", "newWorkbook", "firstSheet", "release"}));
    EXPECT_EQ(sheet.calls.indexOf("firstSheet") + 1, sheet.calls.indexOf("cell 1,4"));
    ASSERT_FALSE(sheet.order.empty());
    EXPECT_TRUE(std::is_sorted(sheet.order.begin(), sheet.order.end())); // constant-memory writers need this
    EXPECT_EQ(std::adjacent_find(sheet.order.begin(), sheet.order.end()), sheet.order.end()); // each cell once
}

// Every header and every field of each layout, with one record whose values
// are all different, so a swapped or misspelt field shows.
TEST(ExportWalk, EveryCellOfEachLayout) {
    TestDb db;
    db.conn().exec("insert into jhdw (dwmc) values (?)", {"华强电子"});
    db.conn().exec("insert into cktype (type_name) values (?)", {"笔记本"});
    db.conn().exec("insert into hwgl (txm, if_in, hwmc, jhid, type_id, rkrq, ckrq, khmc, khtel, khaddress, remark) "
                   "values (?, ?, ?, 1, 1, ?, ?, ?, ?, ?, ?)",
                   {"0069001", "出", "XH-007", QDate(2024, 1, 2), QDateTime(QDate(2024, 2, 3), QTime(14, 5, 6)),
                    "王小明", "010-6234", "北京市海淀区", "加内存"});
    db.conn().exec("insert into mcxs (gjrq, xsdd, khxm, xhms, czxt, cxrj, cxp, cxy, tel, shrq, gcs, khaddress, finish, "
                   "ts, bz) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   {QDate(2024, 4, 1), "国美中关村店", "李雷", "14寸轻薄本", "Windows 11", "杀毒软件", "鼠标", "张三",
                    "13800000001", QDate(2024, 4, 3), "赵工", "朝阳区一号", "完工", 2, "加急"});
    db.conn().exec("insert into jxs (mc, linker, mobile, tel, addr, dq, bz, type) values (?, ?, ?, ?, ?, ?, ?, ?)",
                   {"恒达科技", "陈经理", "13900000002", "0755-8888", "深圳南山", "华南", "老客户", "jx"});
    db.conn().exec("insert into jxs (mc, linker, mobile, tel, addr, dq, bz, type) values (?, ?, ?, ?, ?, ?, ?, ?)",
                   {"苏宁新街口店", "周店长", "13700000003", "025-6666", "南京鼓楼", "华东", "周末促销", "mc"});

    data::DataSet suppliers(db.conn()), categories(db.conn());
    suppliers.setSql("select * from jhdw");
    categories.setSql("select * from cktype");
    suppliers.open();
    categories.open();

    struct Case {
        const Layout& layout;
        QString sql;
        QString title;
        QStringList headers;
        QStringList values;
    };
    const Case cases[] = {
        {exporting::goodsListLayout(),
         "select * from hwgl",
         "仓库查询统计",
         {"序号", "条形码", "出入库", "货物名称", "进货单位", "货物类别", "入库日期", "出库日期", "客户名称",
          "客户电话", "客户地址", "备注"},
         {"1", "0069001", "出", "XH-007", "华强电子", "笔记本", db::dates::toDisplay(QDate(2024, 1, 2)),
          db::dates::toDisplay(QDateTime(QDate(2024, 2, 3), QTime(14, 5, 6))), "王小明", "010-6234", "北京市海淀区",
          "加内存"}},
        {exporting::storeSalesLayout(),
         "select * from mcxs",
         "买场销售查询统计",
         {"购机日期", "销售买场", "客户姓名", "型号描述", "操作系统", "促销软件", "促销品", "促销员", "联系方式",
          "送货日期", "工程师", "客户地址", "是否完工", "套数", "备注"},
         {db::dates::toDisplay(QDate(2024, 4, 1)), "国美中关村店", "李雷", "14寸轻薄本", "Windows 11", "杀毒软件",
          "鼠标", "张三", "13800000001", db::dates::toDisplay(QDate(2024, 4, 3)), "赵工", "朝阳区一号", "完工", "2",
          "加急"}},
        {exporting::dealerListLayout(),
         "select * from jxs where type <> 'mc'",
         "经销商信息",
         {"名称", "联系人", "手机", "电话", "地址", "地区", "备注"},
         {"恒达科技", "陈经理", "13900000002", "0755-8888", "深圳南山", "华南", "老客户"}},
        {exporting::storeListLayout(),
         "select * from jxs where type = 'mc'",
         "卖场信息",
         {"名称", "联系人", "手机", "电话", "地址", "地区", "备注"},
         {"苏宁新街口店", "周店长", "13700000003", "025-6666", "南京鼓楼", "华东", "周末促销"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        data::DataSet list(db.conn());
        list.setSql(c.sql);
        list.addLookupField("jhname", "jhid", &suppliers, "jhid", "dwmc");
        list.addLookupField("type_name", "type_id", &categories, "type_id", "type_name");
        list.open();
        RecordingSheet sheet;
        exporting::exportList(list, c.layout, sheet);

        EXPECT_EQ(c.layout.title, c.title);
        EXPECT_EQ(sheet.text(1, 4), c.title);
        QStringList headers, values;
        for (int col = 1; col <= int(c.headers.size()); ++col) {
            headers << sheet.text(3, col);
            values << sheet.text(4, col);
        }
        EXPECT_EQ(headers, c.headers);
        EXPECT_EQ(values, c.values);
        // Nothing else: the title alone in row 1, row 2 empty, no column past the last.
        EXPECT_EQ(sheet.cells.size(), 1 + 2 * c.headers.size());
        EXPECT_EQ(sheet.lastRow(), 4);
    }
}

TEST(ExportWalk, EmptyListGivesTitleAndHeadersOnly) {
    Goods g;
    RecordingSheet sheet;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
    EXPECT_EQ(sheet.lastRow(), 3);
    EXPECT_EQ(sheet.cells.size(), 1 + 12);
    EXPECT_EQ(sheet.text(1, 4), "仓库查询统计");
    EXPECT_EQ(sheet.text(3, 12), "备注");
    EXPECT_EQ(sheet.calls.last(), "release");
    EXPECT_EQ(g.list.count(), 0);
}

TEST(ExportWalk, RecordsFillRowsFourToNPlusThreeInListOrder) {
    Goods g(5);
    RecordingSheet sheet;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
    EXPECT_EQ(sheet.lastRow(), 5 + 3);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(sheet.text(i + 3, 1), QString::number(i));
        EXPECT_EQ(sheet.text(i + 3, 2), QStringLiteral("%1").arg(i, 6, 10, QChar('0')));
    }
}

TEST(ExportWalk, NullFieldGivesEmptyCellAndTheRestOfTheRowIsWritten) {
    Goods g;
    g.db.conn().exec("insert into hwgl (if_in, hwmc, remark) values (?, ?, ?)", {"入", "XH-002", "待检"});
    g.list.open();
    RecordingSheet sheet;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
    EXPECT_TRUE(sheet.cells.value({4, 2}).isNull()); // txm
    EXPECT_EQ(sheet.text(4, 5), "");                 // no supplier to look up
    EXPECT_EQ(sheet.text(4, 8), "");                 // ckrq
    EXPECT_EQ(sheet.text(4, 4), "XH-002");
    EXPECT_EQ(sheet.text(4, 12), "待检");
}

TEST(ExportWalk, WalksTheListRowByRowAndLeavesTheFirstRowCurrent) {
    Goods g(4);
    g.list.setCurrentRow(2);
    std::vector<int> seen;
    QObject::connect(&g.list, &data::DataSet::currentRowChanged, [&](int r) { seen.push_back(r); });
    RecordingSheet sheet;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
    // What the window does on a row change happens for every row, then back to the first.
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(g.list.currentRow(), 0);
}

TEST(ExportWalk, PendingEditIsStoredAndExported) {
    Goods g(3);
    g.list.setCurrentRow(1);
    g.list.setValue("remark", "已改");
    RecordingSheet sheet;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
    EXPECT_EQ(g.storedRemark(2), "已改");
    EXPECT_EQ(sheet.text(5, 12), "已改");
    EXPECT_FALSE(g.list.isEditing());
}

TEST(ExportWalk, UntouchedNewRowIsDroppedButAPresetOneIsStored) {
    for (const bool preset : {false, true}) {
        SCOPED_TRACE(preset ? "preset" : "untouched");
        Goods g(2);
        if (preset)
            g.list.afterInsert = [](data::DataSet& l) { l.setValue("if_in", "入"); };
        g.list.append();
        RecordingSheet sheet;
        exporting::exportList(g.list, exporting::goodsListLayout(), sheet);
        const int rows = preset ? 3 : 2;
        EXPECT_EQ(g.list.count(), rows);
        EXPECT_EQ(g.db.conn().scalar("select count(*) from hwgl").toInt(), rows);
        EXPECT_EQ(sheet.lastRow(), rows + 3);
        if (preset)
            EXPECT_EQ(sheet.text(6, 3), "入");
    }
}

TEST(ExportWalk, CannotStartShowsTheErrorBoxWritesNothingAndLeavesTheListAlone) {
    Goods g(3);
    g.list.setCurrentRow(2);
    g.list.setValue("remark", "未存");
    ScriptedPrompter prompter;
    RecordingSheet sheet;
    sheet.cannotStart = true;
    exporting::exportList(g.list, exporting::goodsListLayout(), sheet);

    EXPECT_EQ(sheet.calls, QStringList{"connect"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, ScriptedPrompter::Kind::Error);
    EXPECT_EQ(prompter.shown[0].text, "Excel 不能运行，请检查！");
    EXPECT_EQ(g.list.currentRow(), 2);
    EXPECT_TRUE(g.list.isEditing()); // the pending edit is neither stored nor dropped
    EXPECT_EQ(g.storedRemark(3), "备注3");
}

TEST(ExportWalk, LaterFailureEndsTheExportWhereItWas) {
    Goods g(4);
    RecordingSheet sheet;
    sheet.failAtRow = 6; // the third record
    EXPECT_THROW(exporting::exportList(g.list, exporting::goodsListLayout(), sheet), exporting::SpreadsheetError);
    EXPECT_EQ(g.list.currentRow(), 2);
    EXPECT_FALSE(sheet.calls.contains("release"));
    EXPECT_EQ(sheet.lastRow(), 5);
}

TEST(ExportWalk, CancelDiscardsTheSheetAndReturnsToTheFirstRow) {
    Goods g(1200);
    RecordingSheet sheet;
    std::vector<int> reports;
    const bool done = exporting::exportList(g.list, exporting::goodsListLayout(), sheet, [&](int n, int total) {
        EXPECT_EQ(total, 1200);
        reports.push_back(n);
        return n < 1000;
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(reports, (std::vector<int>{500, 1000}));
    EXPECT_EQ(sheet.calls.last(), "discard");
    EXPECT_FALSE(sheet.calls.contains("release"));
    EXPECT_EQ(g.list.currentRow(), 0);
}
