#pragma once

#include "masterdata/maintenance.h"

class QComboBox;

// Product models, one category at a time: a category drop-down above the
// list, the category preset on new models, and new model codes unique over
// all categories.
class ThwxhFrm : public masterdata::MaintenanceFrm {
    Q_OBJECT
public:
    explicit ThwxhFrm(db::Connection& conn, QWidget* parent = nullptr);

    data::DataSet& categories() { return adsCktype_; }
    // The name of the category new models get.
    QString currentCategory() const { return category_; }

public slots:
    // The user chose a category: it becomes current and its models are listed.
    void cmbTypeChange(int index);

protected:
    void loadLists() override;

private:
    void loadModels();
    void checkNewCode(data::DataSet& list);

    data::DataSet adsCktype_;
    QString category_;
    QComboBox* cmbType = nullptr;
    ui::DataGrid* dbgXh = nullptr;
};
