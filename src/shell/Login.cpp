// The login of the main window: password check, user, work session, archive,
// profile and project, caption, catalogue, and the menu bar taken away.

#include "data/TabX.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "shell/BaseMain.h"
#include "shell/Iniz.h"
#include "shell/StartFunction.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QStackedWidget>

namespace tg {
namespace {
const QString ConfigurationError = QStringLiteral("E' stato trovato un errore nella configurazione dell'utente ");
}

bool TBaseMainForm::readWholeNumber(const QString &userName, const QString &source, const QString &text, int &number)
{
    int value = 0;
    if (!wholeNumber(text, value)) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": ") + source
                                            + QStringLiteral(" non è un numero intero (\"") + text
                                            + QStringLiteral("\")"));
        return false;
    }
    number = value;
    return true;
}

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
    // An empty name is no user: a row whose name is empty or NULL cannot be
    // told from no choice at all, and would let anyone in unchosen.
    bool ok = !userName.isEmpty() && PTabX->TabX->VerificaPasswordUser(userName, GetPassword());
    if (!ok) {
        showMessage(MessageKind::Error, QStringLiteral("Accesso negato: scegliere un'utente ed inserire l'eventuale "
                                                       "password. Fare attenzione al maiuscolo / minuscolo"));
        SetPassword(QString());
    }
    if (ok)
        ok = loginStepsUntilConfiguration(userName, iniz);
    if (ok) {
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
        openAgenda();
    }
    iniz.close();
    if (ok)
        runStartFunction();
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

bool TBaseMainForm::loginStepsUntilConfiguration(const QString &userName, TInizForm &iniz)
{
    TTabXForm *tabX = PTabX->TabX;
    iniz.show();
    QCoreApplication::processEvents();
    PanelLogIn->hide();
    NotebookMain->hide();
    MenuProgrammi->show();
    tabX->SetUserPerNome(userName);
    ApriSessione();
    UtenteCollegato = true;
    Sessioni1->setEnabled(true);
    Gestionesemafori1->setEnabled(true);
    connectCompanyArchive();
    // One read of the user's row serves the editor's right and the
    // configuration check that follows: over a network each statement costs
    // round trips.
    QueryAux.close();
    QueryAux.sql() = QStringList{QStringLiteral("SELECT ACCESSOQUADREL,PROFILOSICUREZZA,PROGETTO,MANTIENISTDMIN"),
                                 QStringLiteral("FROM UTENTI WHERE CODICE='%1'").arg(tabX->GetNumUser())};
    QueryAux.open();
    if (!QueryAux.eof() && QueryAux.field(0).asText() == QLatin1String("1"))
        Accessoaquadrel1->setEnabled(true);
    return checkUserConfiguration(userName);
}

bool TBaseMainForm::checkUserConfiguration(const QString &userName)
{
    // The user's row is the current one of QueryAux.
    TTabXForm *tabX = PTabX->TabX;
    const QString profile = QueryAux.fieldByName(QStringLiteral("PROFILOSICUREZZA")).asText();
    const QString project = QueryAux.fieldByName(QStringLiteral("PROGETTO")).asText();
    // Each login takes the flag from the user who logs in.
    MantieniStdMin = QueryAux.fieldByName(QStringLiteral("MANTIENISTDMIN")).asText() == QLatin1String("1");
    QueryAux.close();
    if (profile.isEmpty() && !MantieniStdMin) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": manca il profilo sicurezza"));
        return false;
    }
    if (project.isEmpty()) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": manca il progetto"));
        return false;
    }
    int newProject = 0;
    int newProfile = 0;
    if (!readWholeNumber(userName, QStringLiteral("PROGETTO"), project, newProject))
        return false;
    if (!profile.isEmpty() && !readWholeNumber(userName, QStringLiteral("PROFILOSICUREZZA"), profile, newProfile))
        return false;
    QString parameter;
    tabX->CaricaParametro(QStringLiteral("PROFILO SICUREZZA"), parameter);
    if (!parameter.isEmpty() && !readWholeNumber(userName, QStringLiteral("il parametro PROFILO SICUREZZA"), parameter, newProfile))
        return false;
    tabX->CaricaParametro(QStringLiteral("PROGETTO"), parameter);
    if (!parameter.isEmpty() && !readWholeNumber(userName, QStringLiteral("il parametro PROGETTO"), parameter, newProject))
        return false;
    Progetto = newProject;
    ProfiloSicurezza = newProfile;
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
