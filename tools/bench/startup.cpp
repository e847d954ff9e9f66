// Start-up on the goods file: a new process (this program run again) that does
// what velmora's main() does, timed from the moment the process is started to
// the login dialog on the screen, and on to the main window after a login.
#include "app/dmCk.h"
#include "app/mainFrm.h"
#include "app/passwords.h"
#include "app/schema.h"
#include "bench/bench.h"
#include "core/codes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes when the login dialog is first drawn, logs in as the default operator, and
// notes when the main window is in use after it.
class Watcher : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o->objectName() != QLatin1String("TOpLoginFrm"))
            return false;
        auto* login = static_cast<QWidget*>(o);
        if (e->type() == QEvent::Paint && !loginShown) { // drawn: the user sees it
            loginShown = nowNs();
            QTimer::singleShot(0, login, [login] {
                login->findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("admin"));
                login->findChild<QLineEdit*>(QStringLiteral("edtPass"))->setText(QStringLiteral("qezmu"));
                login->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
            });
        } else if (e->type() == QEvent::Hide && loginShown && !mainReady) {
            // After the dialog's loop has returned and the rights are applied.
            QTimer::singleShot(0, qApp, [this] {
                mainReady = nowNs();
                QApplication::quit();
            });
        }
        return false;
    }
    qint64 loginShown = 0, mainReady = 0;
};

} // namespace

namespace bench {

// The child: main() of velmora on `file` (the menu's window openers aside,
// which only matter once an item is chosen).
int startupChild(int argc, char** argv, const char* file) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QTranslator qtText;
    if (qtText.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtText);
    Watcher watcher;
    app.installEventFilter(&watcher);
    TdmCk data(QString::fromLocal8Bit(file));
    TmainFrm mainFrm(data.adocnCk(), {});
    mainFrm.show();
    app.exec();
    std::printf("%lld %lld\n", static_cast<long long>(watcher.loginShown), static_cast<long long>(watcher.mainReady));
    return 0;
}

} // namespace bench

BENCH_CASE("startup") {
    const QString file = ctx.goodsFile();
    {
        // A file in use has its operators: the first start would make the default one.
        auto c = app::schema::openDatabase(file);
        c->exec(QStringLiteral("insert into operator (op_code, op_name, czy, password) values (?, ?, ?, ?)"),
                {QStringLiteral("admin"), QStringLiteral("管理员"), core::codes::kGranted,
                 app::passwords::hash(QStringLiteral("qezmu"))});
    }
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe");
    const QByteArray path = file.toLocal8Bit();
    std::fflush(stdout);
    const qint64 started = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl("/proc/self/exe", "velmora-bench", "--startup-child", path.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string got;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        got.append(buf, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long login = 0, ready = 0;
    if (std::sscanf(got.c_str(), "%lld %lld", &login, &ready) != 2 || !login || !ready)
        throw std::runtime_error("the started program did not reach the main window: " + got);
    timer.add((login - started) / 1e6);
    char line[96];
    std::snprintf(line, sizeof line, "to_main_ms=%.1f login_ms=%.1f", (ready - started) / 1e6, (ready - login) / 1e6);
    return line;
}
