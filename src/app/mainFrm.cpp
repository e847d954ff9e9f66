#include "app/mainFrm.h"

#include "app/OpLogin.h"
#include "app/about.h"
#include "core/codes.h"
#include "core/commands.h"
#include "ui/guard.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

// The pictures are compiled into a static library: register them before use.
static void loadAssets() { Q_INIT_RESOURCE(assets); }

namespace {

// The picture that fills the window below the menu, stretched with it.
class Background : public QWidget {
public:
    explicit Background(QWidget* parent) : QWidget(parent), picture_(QStringLiteral(":/assets/main.jpg")) {
        setObjectName(QStringLiteral("Image1"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (picture_.isNull())
            p.fillRect(rect(), QColor(40, 90, 140));
        else
            p.drawImage(rect(), picture_);
    }

private:
    QImage picture_;
};

} // namespace

TmainFrm::TmainFrm(db::Connection& conn, app::Openers openers, QWidget* parent)
    : QMainWindow(parent), conn_(conn), openers_(std::move(openers)) {
    loadAssets();
    setObjectName(QStringLiteral("TmainFrm"));
    setWindowTitle(QStringLiteral("Velmora"));
    setCentralWidget(new Background(this));
    buildMenu();

    exit_ = new QToolButton(centralWidget());
    exit_->setObjectName(QStringLiteral("SpeedButton3"));
    exit_->setText(QStringLiteral("退出"));
    exit_->setAutoRaise(true);
    exit_->setCursor(Qt::PointingHandCursor);
    exit_->setStyleSheet(QStringLiteral("QToolButton { color: fuchsia; font-size: 16px;"
                                        " border: none; background: transparent; padding: 4px 10px; }"
                                        "QToolButton:hover { background: rgba(255,255,255,60); }"));
    connect(exit_, &QToolButton::clicked, this, &TmainFrm::SpeedButton3Click);

    resize(900, 600);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

TmainFrm::~TmainFrm() = default;

void TmainFrm::buildMenu() {
    QMenuBar* bar = menuBar();
    // The commands in menu order: one on the bar itself, the others in the menu they name.
    QMenu* menu = nullptr;
    for (const core::Command& c : core::commands()) {
        QAction* a = nullptr;
        if (!*c.menu) {
            a = bar->addAction(c.text());
        } else {
            if (!menu || menu->objectName() != QLatin1String(c.menu)) {
                menu = bar->addMenu(QString::fromUtf8(c.menuText));
                menu->setObjectName(QString::fromLatin1(c.menu));
            }
            a = menu->addAction(c.text());
        }
        a->setObjectName(c.name());
        const QString name = c.name();
        connect(a, &QAction::triggered, this, [this, name] { open(name); });
    }

    QAction* quit = bar->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("N5"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QAction* about = bar->addAction(QStringLiteral("关于..."));
    about->setObjectName(QStringLiteral("N1"));
    connect(about, &QAction::triggered, this, &TmainFrm::N1Click);
}

QAction* TmainFrm::action(const QString& name) const { return findChild<QAction*>(name); }

void TmainFrm::open(const QString& item) {
    const auto it = openers_.constFind(item);
    if (it == openers_.constEnd())
        return; // not built yet
    ui::guard([&] { (*it)(this); });
}

void TmainFrm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (shown_)
        return;
    shown_ = true;
    // After the window is on screen, as the login dialog belongs in front of it.
    QTimer::singleShot(0, this, &TmainFrm::FormShow);
}

void TmainFrm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (exit_) {
        exit_->adjustSize();
        const QWidget* c = centralWidget();
        exit_->move(c->width() - exit_->width() - 24, c->height() - exit_->height() - 20);
    }
}

void TmainFrm::FormShow() {
    if (!login_)
        login_ = new TOpLoginFrm(conn_, this);
    bool confirmed = false;
    ui::guard([&] { confirmed = ui::runModal(*login_) == QDialog::Accepted && login_->isLoggedIn(); });
    if (!confirmed) {
        close();
        return;
    }
    applyRights();
}

void TmainFrm::applyRights() {
    for (const core::Command& c : core::commands()) {
        if (QAction* a = action(c.name()))
            a->setEnabled(core::codes::grants(login_->operatorField(c.field())));
    }
}

void TmainFrm::N1Click() {
    TaboutFrm about(this);
    ui::runModal(about);
}

void TmainFrm::SpeedButton3Click() { close(); }
