#pragma once

#include "data/dataset.h"
#include "db/connection.h"

#include <QDialog>

class QPushButton;
class QShowEvent;
class QTabWidget;

namespace exporting {
struct Layout;
}
namespace ui {
class DataGrid;
}

// Dealers and stores: one page per kind, each its own list edited in place
// with its own buttons. A new row gets its page's type code at once.
class TjxsFrm : public QDialog {
    Q_OBJECT
public:
    explicit TjxsFrm(db::Connection& conn, QWidget* parent = nullptr);

    data::DataSet& dealers() { return adsJxs_; }
    data::DataSet& stores() { return adsMc_; }

public slots:
    void FormShow();
    void btnAddJxClick();
    void btnDelJxClick();
    void btnSaveJxClick();
    void btnExcelJxClick();
    void btnAddMcClick();
    void btnDelMcClick();
    void btnSaveMcClick();
    void btnExcelMcClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    struct Page {
        data::DataSet* list = nullptr;
        ui::DataGrid* grid = nullptr;
        QPushButton* excel = nullptr;
        QPushButton* add = nullptr;
        QPushButton* del = nullptr;
        QPushButton* save = nullptr;
        QPushButton* close = nullptr;
    };
    QWidget* buildPage(Page& page, data::DataSet& list, const QString& suffix, const QString& caption);
    void add(Page& page);
    void exportPage(Page& page, const exporting::Layout& layout);

    data::DataSet adsJxs_;
    data::DataSet adsMc_;
    QTabWidget* pcJxs = nullptr;
    Page dealersPage_;
    Page storesPage_;
    bool loaded_ = false;
};
