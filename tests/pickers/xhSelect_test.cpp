// The model picker, driven as a caller runs it: shown through the modal seam,
// answered by a scripted step, then selectedXh read.
#include "pickers/xhSelect.h"
#include "support/scripted.h"
#include "support/testdb.h"
#include "ui/datagrid.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using testing_support::ScriptedModals;
using testing_support::ScriptedPrompter;
using testing_support::TestDb;

namespace {

struct Picker {
    TestDb db;
    ScriptedPrompter prompts;
    ScriptedModals modals;

    void category(const QString& name) { db.conn().exec("insert into cktype (type_name) values (?)", {name}); }
    void model(const QString& xh, const QString& type) {
        db.conn().exec("insert into hwxh (xh, type_name) values (?, ?)", {xh, type});
    }
    void standardCatalogue() {
        category("笔记本");
        category("台式机");
        category("显示器");       // no models
        category("O'Brien 配件"); // a quote in the name
        model("TP-X1", "笔记本");
        model("TP-T14", "笔记本");
        model("DL-3020", "台式机");
        model("OB-01", "O'Brien 配件");
        model("ZZ-9", "已停产"); // names no category
    }
    // Runs a fresh picker with one scripted step; returns its result and choice.
    std::pair<int, QString> run(ScriptedModals::Step step) {
        TxhSelectFrm p(db.conn());
        modals.steps.push_back(std::move(step));
        const int r = ui::runModal(p);
        return {r, p.selectedXh};
    }
};

ui::DataGrid* grid(QDialog& d, const char* name) { return d.findChild<ui::DataGrid*>(name); }
QPushButton* button(QDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }

QStringList column(const data::DataSet& l, const QString& field) {
    QStringList out;
    for (int r = 0; r < l.count(); ++r)
        out << l.value(r, l.fieldIndex(field)).toString();
    return out;
}

void selectCategory(QDialog& d, int row) {
    auto* g = grid(d, "DBGrid1");
    g->setCurrentIndex(g->model()->index(row, 0));
}

// A user's double-click as the view receives it: a click, then the double-click
// press and its release on the same spot.
void doubleClickModel(QDialog& d, int row) {
    auto* g = grid(d, "DBGrid2");
    const QRect cell = g->visualRect(g->model()->index(row, 0));
    const QPoint at = cell.isValid() ? cell.center() : QPoint(20, 20);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, g->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &dbl);
    if (d.isVisible())
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

VELMORA_ON_EACH_ENGINE(ModelPicker);

TEST_P(ModelPicker, ShowsCategoriesAndTheModelsOfTheCurrentOne) {
    Picker t;
    t.standardCatalogue();
    t.run([](QDialog& d) {
        auto& p = static_cast<TxhSelectFrm&>(d);
        EXPECT_EQ(p.windowTitle(), "选择型号");
        EXPECT_EQ(column(p.categories(), "type_name"), QStringList({"笔记本", "台式机", "显示器", "O'Brien 配件"}));
        EXPECT_EQ(p.categories().currentRow(), 0);
        EXPECT_EQ(column(p.models(), "xh"), QStringList({"TP-X1", "TP-T14"}));

        const std::pair<int, QStringList> moves[] = {
            {1, {"DL-3020"}}, {2, {}}, {3, {"OB-01"}}, {0, {"TP-X1", "TP-T14"}}};
        for (const auto& [row, models] : moves) {
            selectCategory(d, row);
            EXPECT_EQ(column(p.models(), "xh"), models) << row;
        }
    });
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.last().toStdString();
}

TEST_P(ModelPicker, DoubleClickOnAModelChoosesItAndCloses) {
    Picker t;
    t.standardCatalogue();
    const auto [result, xh] = t.run([](QDialog& d) {
        doubleClickModel(d, 1);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(xh, "TP-T14");
}

TEST_P(ModelPicker, DoubleClickOnAnEmptyModelListDoesNothing) {
    Picker t;
    t.standardCatalogue();
    t.run([](QDialog& d) {
        selectCategory(d, 2);
        doubleClickModel(d, 0);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(static_cast<TxhSelectFrm&>(d).selectedXh.isEmpty());
    });
}

TEST_P(ModelPicker, OkAndExitHandBackTheCurrentModelOrNothing) {
    struct Case {
        const char* what;
        int category, model;
        const char* buttonName;
        QString expected;
    };
    const Case cases[] = {
        {"确定 on a model", 1, 0, "BitBtn1", "DL-3020"},
        {"确定 in a category without models", 2, -1, "BitBtn1", ""},
        {"退出 with a model current", 0, 1, "BitBtn2", ""},
    };
    for (const Case& c : cases) {
        Picker t;
        t.standardCatalogue();
        const auto [result, xh] = t.run([&](QDialog& d) {
            selectCategory(d, c.category);
            if (c.model >= 0)
                static_cast<TxhSelectFrm&>(d).models().setCurrentRow(c.model);
            QTest::mouseClick(button(d, c.buttonName), Qt::LeftButton);
            EXPECT_FALSE(d.isVisible()) << c.what;
        });
        EXPECT_EQ(xh, c.expected) << c.what;
        EXPECT_EQ(result, c.expected.isEmpty() && c.buttonName == std::string("BitBtn2") ? QDialog::Rejected
                                                                                         : QDialog::Accepted)
            << c.what;
    }
}

TEST_P(ModelPicker, EscAndEnterAreExitAndOk) {
    Picker t;
    t.standardCatalogue();
    EXPECT_EQ(t.run([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }).second, "");
    EXPECT_EQ(t.run([](QDialog& d) {
                   grid(d, "DBGrid2")->setFocus();
                   QTest::keyClick(grid(d, "DBGrid2"), Qt::Key_Return);
               }).second,
              "TP-X1");
}

TEST_P(ModelPicker, WithoutCategoriesBothListsAreEmptyAndOkGivesNothing) {
    Picker t;
    t.model("TP-X1", "笔记本");
    const auto [result, xh] = t.run([](QDialog& d) {
        auto& p = static_cast<TxhSelectFrm&>(d);
        EXPECT_EQ(p.categories().count(), 0);
        EXPECT_EQ(p.models().count(), 0);
        QTest::mouseClick(button(d, "BitBtn1"), Qt::LeftButton);
    });
    EXPECT_EQ(xh, "");
    EXPECT_TRUE(t.prompts.shown.empty());
}
