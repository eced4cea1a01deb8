// Drives an installed taskgate from inside its process, as a user would:
// preloaded (LD_PRELOAD) into the program, it waits for the login window,
// and then, by TASKGATE_DRIVE:
//
//   login    prints the login window's title, the sizes of its icon and the
//            users it offers
//   buttons  logs in as TASKGATE_DRIVE_USER and presses the picture buttons
//            whose ids TASKGATE_DRIVE_BUTTONS lists (comma-separated), one
//            after the other, printing every window each press opened: its
//            title and the text of its labels
//
// It works the program's widgets only (object names, and the "tag" and
// "clickHandler" properties every catalogue element carries), never its
// code. A message box that shows is printed and fails the run, as does a
// step that does not come within 30 seconds. The process ends as soon as
// the driver has what it came for (exit status 0).

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void finish(int status, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), status == 0 ? stdout : stderr);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

QWidget *mainWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("BaseMainForm") && window->isVisible())
            return window;
    }
    return nullptr;
}

QString describe(const QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts << label->text().replace(QLatin1Char('\n'), QStringLiteral("; "));
    return window->windowTitle() + QStringLiteral(": ") + texts.join(QStringLiteral(" | "));
}

QSet<QWidget *> visibleWindows()
{
    QSet<QWidget *> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            windows.insert(window);
    }
    return windows;
}

void watchForMessages()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
                finish(2, QStringLiteral("message box: ") + box->text());
        }
    });
    timer->start(100);
}

void pressButtons(QWidget *main)
{
    const QString user = qEnvironmentVariable("TASKGATE_DRIVE_USER");
    auto *users = main->findChild<QComboBox *>(QStringLiteral("ComboUtenti1"));
    auto *ok = main->findChild<QAbstractButton *>(QStringLiteral("ButtonOk"));
    if (!users || !ok || users->findText(user) < 0)
        finish(3, QStringLiteral("no user %1 to choose at the login").arg(user));
    users->setCurrentIndex(users->findText(user));
    ok->click();
    std::printf("logged in: %s\n", qPrintable(main->windowTitle()));

    for (const QString &id : qEnvironmentVariable("TASKGATE_DRIVE_BUTTONS").split(QLatin1Char(','))) {
        QAbstractButton *button = nullptr;
        for (QAbstractButton *candidate : main->findChildren<QAbstractButton *>()) {
            if (candidate->property("clickHandler").toString() == QLatin1String("PulsantoneClick")
                && candidate->property("tag").toString() == id)
                button = candidate;
        }
        if (!button)
            finish(3, QStringLiteral("no picture button %1 after the login").arg(id));
        const QSet<QWidget *> before = visibleWindows();
        button->click();
        QCoreApplication::processEvents();
        int opened = 0;
        for (QWidget *window : visibleWindows()) {
            if (!before.contains(window)) {
                std::printf("button %s: %s\n", qPrintable(id), qPrintable(describe(window)));
                ++opened;
            }
        }
        if (opened == 0)
            std::printf("button %s: no window\n", qPrintable(id));
    }
    finish(0, QStringLiteral("done"));
}

void drive()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    QWidget *main = mainWindow();
    auto *users = main ? main->findChild<QComboBox *>(QStringLiteral("ComboUtenti1")) : nullptr;
    if (!users || !users->isVisible()) {
        if (clock.elapsed() > 30000)
            finish(3, QStringLiteral("the login window did not show within 30 seconds"));
        QTimer::singleShot(100, qApp, drive);
        return;
    }
    const QString mode = qEnvironmentVariable("TASKGATE_DRIVE");
    if (mode == QLatin1String("login")) {
        QStringList names;
        for (int i = 0; i < users->count(); ++i)
            names << users->itemText(i);
        QStringList sizes;
        for (const QSize &size : main->windowIcon().availableSizes())
            sizes << QString::number(size.width());
        finish(0, QStringLiteral("login window: %1; icon: %2; users: %3")
                      .arg(main->windowTitle(), sizes.join(QLatin1Char(',')), names.join(QLatin1Char(','))));
    }
    if (mode == QLatin1String("buttons"))
        pressButtons(main);
    finish(3, QStringLiteral("TASKGATE_DRIVE is neither login nor buttons: ") + mode);
}

void start()
{
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        // Only the GUI program is driven (its QApplication), not a helper
        // that makes a plain QCoreApplication.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        watchForMessages();
        drive();
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
