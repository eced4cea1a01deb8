// The login of the main window: the pages and what they show. The password
// check, the session and the user's configuration are the login's steps;
// the window connects the archive, builds the catalogue and takes the menu
// bar away.

#include "data/TabX.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "semaphores/SemaphoreChecks.h"
#include "sessions/LiveSessions.h"
#include "shell/BaseMain.h"
#include "shell/Iniz.h"
#include "shell/LoginSteps.h"
#include "shell/StartFunction.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QStackedWidget>

namespace tg {

QString TBaseMainForm::GetNomeUtente() const
{
    if (NotebookMain->currentWidget() != ModalitaLista)
        return ComboUtenti1->currentText();
    const QListWidgetItem *selected = ListaUtenti2->currentItem();
    return selected && selected->isSelected() ? selected->text() : QString();
}

QString TBaseMainForm::GetPassword() const
{
    return NotebookMain->currentWidget() != ModalitaLista ? EditPassword1->text() : EditPassword2->text();
}

void TBaseMainForm::SetPassword(const QString &text)
{
    EditPassword1->setText(text);
    EditPassword2->setText(text);
}

void TBaseMainForm::SpinButtonListaUpClick()
{
    if (ListaUtenti2->currentRow() > 0)
        ListaUtenti2->setCurrentRow(ListaUtenti2->currentRow() - 1);
}

void TBaseMainForm::SpinButtonListaDownClick()
{
    // Past the last entry the last one stays selected.
    if (ListaUtenti2->currentRow() + 1 < ListaUtenti2->count())
        ListaUtenti2->setCurrentRow(ListaUtenti2->currentRow() + 1);
}

void TBaseMainForm::ButtonOkClick()
{
    TInizForm iniz(this);
    const QString userName = GetNomeUtente();
    LoginSteps steps(*PTabX->TabX, QueryAux, Sessioni);
    bool ok = steps.passwordAccepted(userName, GetPassword());
    if (!ok)
        SetPassword(QString());
    if (ok)
        ok = loginStepsUntilConfiguration(steps, userName, iniz);
    if (ok) {
        // The semaphores' holders are told by this user database's monitoring.
        installSemaphoreHolders([module = QPointer<TTabXForm>(PTabX->TabX)](const QList<TakenWindow> &taken) {
            QList<LiveSessions::Window> windows;
            for (const TakenWindow &window : taken)
                windows << LiveSessions::Window{window.id, window.user, window.form};
            return module ? LiveSessions::windows(module->IBDatabaseUser, windows) : std::nullopt;
        });
        showCompanyAndUserCaption();
        LingueMenu->LeggiLingueUtente(PTabX->TabX->GetNumUser());
        buildCatalogue(true);
        if (!MantieniStdMin) {
            LabelCambioUtente->setEnabled(true);
            LabelCambioDitta->setEnabled(true);
            LabelCambioUtente->update();
            LabelCambioDitta->update();
        }
        MenuPrincipale->hide();
        MenuBarRimossa = true;
        focusFirstEntry();
        openAgenda();
    }
    iniz.close();
    if (ok)
        runStartFunction();
}

void TBaseMainForm::focusFirstEntry()
{
    // The keyboard starts where the work does: the first picture button, or
    // the first quick entry of the bar.
    if (!Pulsantoni.isEmpty())
        Pulsantoni.first()->setFocus(Qt::OtherFocusReason);
    else if (!VociRapide.isEmpty())
        VociRapide.first()->setFocus(Qt::OtherFocusReason);
}

void TBaseMainForm::openAgenda()
{
    TTabXForm *tabX = PTabX->TabX;
    QString open;
    tabX->CaricaParametro(QStringLiteral("AperturaAgenda"), open);
    if (open != QLatin1String("SI"))
        return;
    QString library;
    QString entry;
    tabX->CaricaParametro(QStringLiteral("DllAperturaAgenda"), library);
    tabX->CaricaParametro(QStringLiteral("FunzioneAperturaAgenda"), entry);
    if (library.isEmpty())
        library = QStringLiteral("Rubrimax.dll");
    if (entry.isEmpty())
        entry = LogFinestre ? QStringLiteral("ShowContattAgendaFormX") : QStringLiteral("ShowContattAgendaFormD");
    // The call log names the agenda the same way whatever entry is called.
    const int windowId = AggiornaMartiLogFunz(QStringLiteral("ShowContattAgendaFormD"));
    tabX->CaricaParametro(QStringLiteral("AperturaAgenda"), open);
    if (open == QLatin1String("SI"))
        CaricaFunzioneDLLX(library, entry, windowId);
}

void TBaseMainForm::runStartFunction()
{
    QString start;
    PTabX->TabX->CaricaParametro(QStringLiteral("AperturaForm"), start);
    if (start.isEmpty())
        return;
    int program = 0;
    int menu = 0;
    if (!parseStartFunction(start, program, menu)) {
        showMessage(MessageKind::Error, QStringLiteral("Il parametro AperturaForm non indica un programma e un menu "
                                                       "validi: \"") + start + QStringLiteral("\""));
        return;
    }
    EseguiFunzioneVoce(program, menu, 1);
}

bool TBaseMainForm::loginStepsUntilConfiguration(LoginSteps &steps, const QString &userName, TInizForm &iniz)
{
    iniz.show();
    QCoreApplication::processEvents();
    PanelLogIn->hide();
    NotebookMain->hide();
    MenuProgrammi->show();
    steps.enter(userName);
    UtenteCollegato = true;
    Sessioni1->setEnabled(true);
    Gestionesemafori1->setEnabled(true);
    connectCompanyArchive();
    const UserConfiguration configuration = steps.readConfiguration(userName);
    if (configuration.editsParameters)
        Accessoaquadrel1->setEnabled(true);
    // Each login takes the flag from the user who logs in.
    MantieniStdMin = configuration.keepsStandardMinimum;
    if (!configuration.valid)
        return false;
    Progetto = configuration.project;
    ProfiloSicurezza = configuration.profile;
    return true;
}

void TBaseMainForm::buildCatalogue(bool adaptSystemMenu)
{
    try {
        CaricaProgrammi();
        // A bar without any group leaves no menu to load: that is an error
        // of the build as well.
        const int group = MenuProgrammi->activeGroup();
        if (group < 0)
            throw std::runtime_error("no program group");
        CaricaMenu(MenuProgrammi->groupTag(group));
        if (adaptSystemMenu)
            CheckMenuSistema();
    } catch (const std::exception &error) {
        qCWarning(lcShell).noquote() << "Building the catalogue of project" << Progetto << "failed:"
                                     << QString::fromUtf8(error.what());
        showMessage(MessageKind::Error, QStringLiteral("Si è verificato un errore durante la configurazione del "
                                                       "programma sulla base dei criteri di personalizzazione "
                                                       "dell'utente selezionato"));
    }
}

} // namespace tg
