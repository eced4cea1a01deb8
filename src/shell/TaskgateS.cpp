#include "platform/MessageBoxPrompter.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

// Program entry: the edition, the application, the main window, the loop.
int main(int argc, char **argv)
{
    tg::EdizioneProgramma = QStringLiteral("SMALL");
    tg::TaskgateApplication application(argc, argv);
    tg::MessageBoxPrompter prompter;
    tg::Prompter::install(&prompter);
    tg::TBaseMainForm mainForm;
    mainForm.show();
    const int result = application.exec();
    tg::Prompter::install(nullptr);
    return result;
}
