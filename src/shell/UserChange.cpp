// The return to the login page: the session stays open, the data module
// keeps its user and archive, the picture buttons stay under the login page.

#include "menu/NavigationBar.h"
#include "shell/BaseMain.h"
#include "shell/ClosingSteps.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>

namespace tg {

void TBaseMainForm::CambioUtente()
{
    // The next user must not find this user's windows on screen: the
    // same check as the closing.
    if (UtenteCollegato && closingSteps().refusedWhilePluginWindowsOpen(LogFinestre))
        return;
    setWindowTitle(QStringLiteral("Autenticazione"));
    SetPassword(QString());
    PanelLogIn->show();
    NotebookMain->show();
    // The login pages cover the picture buttons, which stay below them
    // until the next catalogue build replaces them.
    NotebookMain->raise();
    MenuProgrammi->hide();
    UtenteCollegato = false;
    for (QAction *entry : {Sessioni1, Gestionesemafori1, Accessoaquadrel1})
        entry->setEnabled(false);
    for (QLabel *label : {LabelCambioDitta, LabelCambioUtente}) {
        label->setEnabled(false);
        label->update();
    }
    removeProgramMenus();
    VociMenu.clear();
    GruppiProgrammi.clear();
    VociRapide.clear();
    MenuProgrammi->clearImages();
    MenuProgrammi->clear();
    ContatoreMenu = 1;
    focusUserChoice();
}

void TBaseMainForm::focusUserChoice()
{
    // The user is chosen first: a user without a password then only
    // presses Enter.
    if (NotebookMain->currentWidget() == ModalitaLista)
        ListaUtenti2->setFocus();
    else
        ComboUtenti1->setFocus();
}

} // namespace tg
