// The goods list: what it lists, hand corrections by key with the values read,
// delete, count, Excel and close.
#include "export/xlsxsheet.h"
#include "fixture.h"
#include "queries/ckmx.h"
#include "queries/goodscriteria.h"
#include "support/desktop.h"
#include "support/screen.h"
#include "support/zipread.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace testing_support;

namespace {

struct Goods {
    TestDb db;
    ScriptedPrompter prompts;
    Goods() { queries_test::addGoods(db.conn()); }
    QStringList unit(int hwid) {
        return rows(db.conn(), QStringLiteral("select hwid, txm, hwmc, jhid, type_id, rkrq, ckrq, if_in, khmc, khtel, "
                                              "khaddress, remark, pjh from hwgl where hwid = %1")
                                   .arg(hwid));
    }
};

// Screen<> shows the window at once; the criteria must be there before.
std::unique_ptr<TckmxFrm> open(db::Connection& c, const queries::GoodsQuery& q) {
    auto w = std::make_unique<TckmxFrm>(c);
    w->sqlWhere = queries::goodsCriteria(q);
    w->show();
    QApplication::processEvents();
    return w;
}

// The days of stock-in of all three units.
queries::GoodsQuery allThree() {
    queries::GoodsQuery q;
    q.stockIn = queries::DayRange{QDate(2024, 3, 1), QDate(2024, 3, 2)};
    return q;
}

template <class T>
T* get(TckmxFrm& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void press(TckmxFrm& w, const char* name) {
    get<QPushButton>(w, name)->click();
    QApplication::processEvents();
}

void typeInto(TckmxFrm& w, const char* name, const QString& text) {
    auto* e = get<QLineEdit>(w, name);
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        keys(e, text);
}

void choose(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    box->setCurrentIndex(i);
    emit box->activated(i);
}

} // namespace

VELMORA_ON_EACH_ENGINE(GoodsListWindow);

TEST_P(GoodsListWindow, ListsTheUnitsFoundInHwidOrderWithNames) {
    Goods t;
    auto w = open(t.db.conn(), allThree());
    EXPECT_EQ(w->windowTitle(), "货物查询");
    auto* grid = get<ui::DataGrid>(*w, "DBGrid1");
    EXPECT_EQ(headers(grid), QStringList({"序号", "条形码", "货物型号", "进货单位", "入库日期", "出库日期", "客户名称",
                                          "客户电话", "货物类别", "客户地址", "出入库"}));
    const QStringList shown = lines(grid);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].section('|', 0, 3), "3|TX-1|X1|华联电脑 ");
    EXPECT_EQ(shown[0].section('|', 6, 10), "杭州华联|0571-1| 笔记本||出");
    EXPECT_EQ(shown[1].section('|', 0, 0), "5");
    EXPECT_EQ(shown[2].section('|', 0, 3), "7||P27|西湖数码");
    EXPECT_EQ(get<QLineEdit>(*w, "edtHwid")->text(), "3");
    EXPECT_TRUE(get<QLineEdit>(*w, "edtHwid")->isReadOnly());
    EXPECT_EQ(get<QComboBox>(*w, "dlkJhdw")->currentText(), "华联电脑 ");
    EXPECT_EQ(get<QComboBox>(*w, "dlkType")->currentText(), " 笔记本");
}

TEST_P(GoodsListWindow, WithoutCriteriaListsNothingAndCounts) {
    Goods t;
    auto w = open(t.db.conn(), {});
    auto* total = get<QCheckBox>(*w, "cbxTotal");
    EXPECT_EQ(total->text(), "统计记录数");
    total->click();
    EXPECT_EQ(total->text(), "共0台");
    total->click();
    EXPECT_EQ(total->text(), "统计台数");

    auto full = open(t.db.conn(), allThree());
    get<QCheckBox>(*full, "cbxTotal")->click();
    EXPECT_EQ(get<QCheckBox>(*full, "cbxTotal")->text(), "共3台");
}

TEST_P(GoodsListWindow, StateSetBackByHandKeepsTheOtherColumns) {
    Goods t;
    const QStringList before = t.unit(3);
    auto w = open(t.db.conn(), allThree());
    auto* state = get<QComboBox>(*w, "cmbIfIn");
    state->lineEdit()->selectAll();
    keys(state->lineEdit(), "入");
    press(*w, "btnSave");
    QStringList expected = before;
    expected[0].replace("|出|", "|入|");
    EXPECT_EQ(t.unit(3), expected);
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
}

TEST_P(GoodsListWindow, SupplierAndCategoryChosenByNameStoreTheirKeysOnAMove) {
    Goods t;
    auto w = open(t.db.conn(), allThree());
    choose(get<QComboBox>(*w, "dlkJhdw"), "西湖数码");
    choose(get<QComboBox>(*w, "dlkType"), "显示器");
    select(get<ui::DataGrid>(*w, "DBGrid1"), 1); // moving on stores the row left
    EXPECT_EQ(rows(t.db.conn(), "select jhid, type_id from hwgl where hwid = 3"), QStringList({"2|2"}));
    EXPECT_EQ(lines(get<ui::DataGrid>(*w, "DBGrid1"))[0].section('|', 3, 3), "西湖数码");
}

TEST_P(GoodsListWindow, TypedTextIsTrimmedAndEmptyStoredAsNull) {
    Goods t;
    auto w = open(t.db.conn(), allThree());
    typeInto(*w, "edtKhtel", "");
    typeInto(*w, "edtRemark", "  退货复检 ");
    press(*w, "btnSave");
    EXPECT_EQ(rows(t.db.conn(), "select khtel, remark, khmc from hwgl where hwid = 3"),
              QStringList({"<null>|退货复检|杭州华联"}));
}

TEST_P(GoodsListWindow, RefusalsKeepTheEditPending) {
    Goods t;
    const QStringList before = t.unit(3);
    auto w = open(t.db.conn(), allThree());
    typeInto(*w, "edtTxm", QString(36, 'A'));
    press(*w, "btnSave");
    EXPECT_EQ(t.prompts.texts(), QStringList({"条形码最多35个字符！"}));
    EXPECT_TRUE(w->units().isModified());

    typeInto(*w, "edtTxm", "TX-9");
    auto* date = get<QLineEdit>(*w, "edtRkrq");
    typeInto(*w, "edtRkrq", "2024-13-45");
    emit date->editingFinished();
    ASSERT_EQ(t.prompts.shown.size(), 2u);
    EXPECT_EQ(t.prompts.shown[1].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_EQ(date->text(), "2024-13-45");
    EXPECT_TRUE(w->units().isModified());
    EXPECT_EQ(t.unit(3), before);

    press(*w, "btnSave"); // the bar code is stored, the date left as it was
    QStringList expected = before;
    expected[0].replace("|TX-1|", "|TX-9|");
    EXPECT_EQ(t.unit(3), expected);
}

TEST_P(GoodsListWindow, DeleteAsksThenRemovesTheUnitAndRefusesOnAnEmptyList) {
    Goods t;
    auto w = open(t.db.conn(), allThree());
    t.prompts.answers = {false};
    press(*w, "btnDel");
    EXPECT_EQ(rows(t.db.conn(), "select count(*) from hwgl"), QStringList({"3"}));
    press(*w, "btnDel");
    EXPECT_EQ(t.prompts.texts(), QStringList({"确认要删除此条记录吗?", "确认要删除此条记录吗?"}));
    EXPECT_EQ(rows(t.db.conn(), "select hwid from hwgl order by hwid"), QStringList({"5", "7"}));
    EXPECT_EQ(w->units().count(), 2);

    auto empty = open(t.db.conn(), {});
    t.prompts.clear();
    press(*empty, "btnDel");
    ASSERT_EQ(t.prompts.shown.size(), 2u);
    EXPECT_EQ(t.prompts.shown[0].text, "确认要删除此条记录吗?");
    EXPECT_EQ(t.prompts.shown[1].kind, ScriptedPrompter::Kind::Stop);
    EXPECT_EQ(t.prompts.shown[1].text, "列表中没有记录，无法删除");
    EXPECT_EQ(rows(t.db.conn(), "select count(*) from hwgl"), QStringList({"2"}));
}

TEST_P(GoodsListWindow, CloseDiscardsAPendingEdit) {
    Goods t;
    const QStringList before = t.unit(3);
    auto w = open(t.db.conn(), allThree());
    typeInto(*w, "edtKhmc", "改错的客户");
    press(*w, "btnClose");
    EXPECT_FALSE(w->isVisible());
    w.reset();
    EXPECT_EQ(t.unit(3), before);
}

TEST_P(GoodsListWindow, ExcelWritesTheGoodsListWithItsNames) {
    Goods t;
    FakeDesktop desk;
    auto w = open(t.db.conn(), allThree());
    press(*w, "BitBtn2");
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
    ASSERT_EQ(desk.opened.size(), 1);
    EXPECT_TRUE(QFileInfo(desk.opened[0]).fileName().contains("仓库查询统计"));
    const QString strings = QString::fromUtf8(readZipMember(desk.opened[0], "xl/sharedStrings.xml") +
                                              readZipMember(desk.opened[0], "xl/worksheets/sheet1.xml"));
    for (const char* text : {"仓库查询统计", "进货单位", "华联电脑", "西湖数码", "笔记本", "杭州华联"})
        EXPECT_TRUE(strings.contains(QString::fromUtf8(text))) << text;
}

// Another desk changes a unit after this list read it: the list's stale
// values must not overwrite that change.
TEST_P(GoodsListWindow, AStaleUnitIsNeitherOverwrittenNorDeleted) {
    Goods t;
    auto other = t.db.openAnother();
    auto w = open(t.db.conn(), allThree());
    other->exec("update hwgl set khmc = '另一台的客户' where hwid = 3");
    typeInto(*w, "edtRemark", "本台备注");
    press(*w, "btnSave");
    EXPECT_EQ(t.prompts.last(), "此记录已被其他操作员修改或删除，请重新打开窗口查看！");
    EXPECT_EQ(rows(t.db.conn(), "select khmc, remark from hwgl where hwid = 3"), QStringList({"另一台的客户|<null>"}));
}
