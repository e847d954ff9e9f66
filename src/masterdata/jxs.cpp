#include "masterdata/jxs.h"

#include "core/codes.h"
#include "core/schema.h"
#include "export/exporter.h"
#include "masterdata/maintenance.h"
#include "ui/datagrid.h"
#include "ui/forms.h"
#include "ui/guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using core::codes::kDealer;
using core::codes::kStore;

} // namespace

TjxsFrm::TjxsFrm(db::Connection& conn, QWidget* parent) : QDialog(parent), adsJxs_(conn, this), adsMc_(conn, this) {
    setObjectName(QStringLiteral("TjxsFrm"));
    setWindowTitle(QStringLiteral("经销商及卖场管理"));

    adsJxs_.setObjectName(QStringLiteral("adsJxs"));
    // Every type but a store's counts as a dealer here.
    adsJxs_.setSql(QStringLiteral("select * from jxs where type <> ?"), {kStore});
    adsJxs_.setTable(QStringLiteral("jxs"), QStringLiteral("id"));
    adsJxs_.afterInsert = [](data::DataSet& l) { l.setValue(QStringLiteral("type"), kDealer); };

    adsMc_.setObjectName(QStringLiteral("adsMc"));
    adsMc_.setSql(QStringLiteral("select * from jxs where type = ?"), {kStore});
    adsMc_.setTable(QStringLiteral("jxs"), QStringLiteral("id"));
    adsMc_.afterInsert = [](data::DataSet& l) { l.setValue(QStringLiteral("type"), kStore); };

    pcJxs = new QTabWidget(this);
    pcJxs->setObjectName(QStringLiteral("pcJxs"));
    pcJxs->addTab(buildPage(dealersPage_, adsJxs_, QStringLiteral("Jx"), QStringLiteral("经销商")),
                  QStringLiteral("经销商"));
    pcJxs->addTab(buildPage(storesPage_, adsMc_, QStringLiteral("Mc"), QStringLiteral("卖场")), QStringLiteral("卖场"));
    pcJxs->widget(0)->setObjectName(QStringLiteral("pgDealers"));
    pcJxs->widget(1)->setObjectName(QStringLiteral("pgStores"));
    pcJxs->setCurrentIndex(0);

    auto* top = new QVBoxLayout(this);
    top->addWidget(pcJxs);
    resize(940, 460);

    connect(dealersPage_.excel, &QPushButton::clicked, this, &TjxsFrm::btnExcelJxClick);
    connect(dealersPage_.add, &QPushButton::clicked, this, &TjxsFrm::btnAddJxClick);
    connect(dealersPage_.del, &QPushButton::clicked, this, &TjxsFrm::btnDelJxClick);
    connect(dealersPage_.save, &QPushButton::clicked, this, &TjxsFrm::btnSaveJxClick);
    connect(dealersPage_.close, &QPushButton::clicked, this, &TjxsFrm::reject);
    connect(storesPage_.excel, &QPushButton::clicked, this, &TjxsFrm::btnExcelMcClick);
    connect(storesPage_.add, &QPushButton::clicked, this, &TjxsFrm::btnAddMcClick);
    connect(storesPage_.del, &QPushButton::clicked, this, &TjxsFrm::btnDelMcClick);
    connect(storesPage_.save, &QPushButton::clicked, this, &TjxsFrm::btnSaveMcClick);
    connect(storesPage_.close, &QPushButton::clicked, this, &TjxsFrm::reject);
}

QWidget* TjxsFrm::buildPage(Page& page, data::DataSet& list, const QString& suffix, const QString& caption) {
    auto* w = new QWidget(this);
    page.list = &list;
    page.grid = new ui::DataGrid(list,
                                 {{QStringLiteral("名称"), QStringLiteral("mc"), false, {}, 150},
                                  {QStringLiteral("联系人"), QStringLiteral("linker"), false, {}, 70},
                                  {QStringLiteral("手机"), QStringLiteral("mobile"), false, {}, 110},
                                  {QStringLiteral("电话"), QStringLiteral("tel"), false, {}, 110},
                                  {QStringLiteral("地址"), QStringLiteral("addr"), false, {}, 180},
                                  {QStringLiteral("地区"), QStringLiteral("dq"), false, core::schema::regions(), 70},
                                  {QStringLiteral("备注"), QStringLiteral("bz"), false, {}, 0}},
                                 w);
    page.grid->setObjectName(QStringLiteral("dbg") + suffix);
    page.grid->setAccessibleName(caption);
    page.excel = ui::button(QStringLiteral("Excel"), QStringLiteral("btnExcel") + suffix, w);
    const masterdata::Buttons b = masterdata::makeButtons(w, suffix);
    page.add = b.add;
    page.del = b.del;
    page.save = b.save;
    page.close = b.close;

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(page.excel);
    buttons->addStretch();
    buttons->addWidget(page.add);
    buttons->addWidget(page.del);
    buttons->addWidget(page.save);
    buttons->addWidget(page.close);
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(page.grid, 1);
    layout->addLayout(buttons);
    return w;
}

void TjxsFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && !loaded_) {
        loaded_ = true;
        FormShow();
    }
}

void TjxsFrm::FormShow() {
    ui::guard([&] {
        adsJxs_.open();
        adsMc_.open();
        pcJxs->setCurrentIndex(0);
    });
}

void TjxsFrm::add(Page& page) {
    ui::guard([&] {
        masterdata::finishGridEdit(page.grid);
        masterdata::addRow(*page.list);
        page.grid->setFocus();
        page.grid->setCurrentIndex(page.grid->model()->index(page.list->currentRow(), 0));
    });
}

void TjxsFrm::exportPage(Page& page, const exporting::Layout& layout) {
    ui::guard([&] {
        masterdata::finishGridEdit(page.grid);
        exporting::exportToSpreadsheet(this, *page.list, layout);
    });
}

void TjxsFrm::btnAddJxClick() { add(dealersPage_); }

void TjxsFrm::btnDelJxClick() {
    ui::guard([&] {
        masterdata::finishGridEdit(dealersPage_.grid);
        masterdata::deleteRow(adsJxs_, true);
    });
}

void TjxsFrm::btnSaveJxClick() {
    ui::guard([&] {
        masterdata::finishGridEdit(dealersPage_.grid);
        masterdata::saveRow(adsJxs_, false);
    });
}

void TjxsFrm::btnExcelJxClick() { exportPage(dealersPage_, exporting::dealerListLayout()); }

void TjxsFrm::btnAddMcClick() { add(storesPage_); }

void TjxsFrm::btnDelMcClick() {
    ui::guard([&] {
        masterdata::finishGridEdit(storesPage_.grid);
        masterdata::deleteRow(adsMc_, true);
    });
}

void TjxsFrm::btnSaveMcClick() {
    ui::guard([&] {
        masterdata::finishGridEdit(storesPage_.grid);
        masterdata::saveRow(adsMc_, false);
    });
}

void TjxsFrm::btnExcelMcClick() { exportPage(storesPage_, exporting::storeListLayout()); }
