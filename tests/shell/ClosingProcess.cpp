// The program as it runs, with a short script played once its main window
// is on screen: MARIO logs in, runs the quick entry of program 1, menu 1 (a
// plug-in function whose window nothing tracks), prints how many other
// windows are on screen and closes the main window. The process must then
// end by itself.

#include "shell/BaseMain.h"
#include "shell/Program.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    return tg::runProgram(argc, argv, [](tg::TBaseMainForm &form) {
        QTimer::singleShot(0, &form, [&form] {
            form.ComboUtenti1->setCurrentIndex(form.ComboUtenti1->findText(QStringLiteral("MARIO")));
            form.ButtonOkClick();
            form.VoceRapidaClick(1, 1);
            int others = 0;
            for (const QWidget *window : QApplication::topLevelWidgets())
                others += window != &form && window->isVisible() ? 1 : 0;
            std::printf("windows %d\n", others);
            std::fflush(stdout);
            form.close();
        });
    });
}
