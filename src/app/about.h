#pragma once

#include <QDialog>

// The About box: product, credit and web-site lines; closed with its close box.
class TaboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit TaboutFrm(QWidget* parent = nullptr);
};
