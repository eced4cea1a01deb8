#include "shell/Program.h"

#include "platform/Logging.h"
#include "platform/MessageBoxPrompter.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QPointer>

namespace tg {

int runProgram(int &argc, char **argv, const std::function<void(TBaseMainForm &)> &started)
{
    installLogOutput();
    EdizioneProgramma = QStringLiteral("SMALL");
    TaskgateApplication application(argc, argv);
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
