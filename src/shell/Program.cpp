#include "shell/Program.h"

#include "TaskgateVersion.h"
#include "platform/Logging.h"
#include "platform/MessageBoxPrompter.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QFile>
#include <QIcon>
#include <QPointer>

namespace tg {
namespace {

// Who the program is to the desktop: organization, version, the desktop
// entry its windows belong to (taskgate.desktop) and the icon of every
// window, from the sizes compiled into the executable.
void setIdentity(QApplication &application)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Taskgate"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TASKGATE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("taskgate"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/taskgate/%1x%1/apps/taskgate.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    if (!icon.isNull())
        application.setWindowIcon(icon);
}

} // namespace

int runProgram(int &argc, char **argv, const std::function<void(TBaseMainForm &)> &started)
{
    installLogOutput();
    EdizioneProgramma = QStringLiteral("SMALL");
    TaskgateApplication application(argc, argv);
    setIdentity(application);
    MessageBoxPrompter prompter;
    Prompter::install(&prompter);
    int result = 0;
    {
        TBaseMainForm mainForm;
        // The program ends with its main window, whatever window of a
        // plug-in was still open.
        QObject::connect(&mainForm, &TBaseMainForm::chiusa, &application, [] { QCoreApplication::exit(0); });
        mainForm.show();
        if (started)
            started(mainForm);
        result = application.exec();
    }
    // What the plug-ins left behind (a window that refused to close and was
    // only hidden) ends with the program, while its libraries are loaded.
    QList<QPointer<QWidget>> leftOver;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->parentWidget())
            leftOver << window;
    }
    for (const QPointer<QWidget> &window : std::as_const(leftOver))
        delete window.data();
    Prompter::install(nullptr);
    return result;
}

} // namespace tg
