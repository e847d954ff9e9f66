#pragma once

#include "app/openers.h"
#include "db/connection.h"

#include <QMainWindow>

class QAction;
class QToolButton;
class TOpLoginFrm;

// The home screen: runs the login when first shown, then opens the other
// windows from its menu, each command enabled by the operator's right.
class TmainFrm : public QMainWindow {
    Q_OBJECT
public:
    TmainFrm(db::Connection& conn, app::Openers openers, QWidget* parent = nullptr);
    ~TmainFrm() override;

    QAction* action(const QString& name) const;
    TOpLoginFrm* loginDialog() const { return login_; }

public slots:
    // Runs the login; a cancelled login closes the window (and so the program).
    void FormShow();
    void N1Click(); // About box
    void SpeedButton3Click();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenu();
    void open(const QString& item);
    void applyRights();

    db::Connection& conn_;
    app::Openers openers_;
    TOpLoginFrm* login_ = nullptr;
    QToolButton* exit_ = nullptr;
    bool shown_ = false;
};
