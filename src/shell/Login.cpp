// The login of the main window: password check, user, work session, archive,
// profile and project, caption, catalogue, and the menu bar taken away.

#include "data/TabX.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/Prompter.h"
#include "shell/BaseMain.h"
#include "shell/Iniz.h"

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

// A whole number read from the user's row or parameters; a text that is not
// one is reported with its source and value.
bool readWholeNumber(const QString &userName, const QString &source, const QString &text, int &number)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": ") + source
                                            + QStringLiteral(" non è un numero intero (\"") + text
                                            + QStringLiteral("\")"));
        return false;
    }
    number = value;
    return true;
}

} // namespace

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
    bool ok = PTabX->TabX->VerificaPasswordUser(userName, GetPassword());
    if (!ok) {
        showMessage(MessageKind::Error, QStringLiteral("Accesso negato: scegliere un'utente ed inserire l'eventuale "
                                                       "password. Fare attenzione al maiuscolo / minuscolo"));
        SetPassword(QString());
    }
    if (ok)
        ok = loginStepsUntilConfiguration(userName, iniz);
    if (ok) {
        QString company = PTabX->TabX->dittaCorrente();
        QString name;
        PTabX->TabX->GetNomeUser(name);
        setWindowTitle(QStringLiteral("Ditta: ") + company + QStringLiteral(" - Utente: ") + name);
        LingueMenu->LeggiLingueUtente(PTabX->TabX->GetNumUser());
        buildCatalogue();
        if (!MantieniStdMin) {
            LabelCambioUtente->setEnabled(true);
            LabelCambioDitta->setEnabled(true);
            LabelCambioUtente->update();
            LabelCambioDitta->update();
        }
        MenuPrincipale->hide();
        MenuBarRimossa = true;
    }
    iniz.close();
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
    try {
        QString archive;
        tabX->CaricaParametro(QStringLiteral("Archivio"), archive);
        tabX->SetV(QStringLiteral("Archivio"), archive);
        tabX->ConnettiDatabase1(QStringLiteral("Archivio"));
        QueryArchivio1.close();
        QueryArchivio1.setDatabase(&tabX->IBDatabase1);
        QueryArchivio1.setTransaction(&tabX->IBTransaction1);
    } catch (const std::exception &) {
        // The login goes on without the archive; its own message, if any,
        // has been shown.
    }
    QueryAux.close();
    QueryAux.sql() = QStringList{QStringLiteral("SELECT ACCESSOQUADREL FROM UTENTI WHERE"),
                                 QStringLiteral("CODICE='%1'").arg(tabX->GetNumUser())};
    QueryAux.open();
    if (!QueryAux.eof() && QueryAux.field(0).asText() == QLatin1String("1"))
        Accessoaquadrel1->setEnabled(true);
    QueryAux.close();
    return checkUserConfiguration(userName);
}

bool TBaseMainForm::checkUserConfiguration(const QString &userName)
{
    TTabXForm *tabX = PTabX->TabX;
    QueryAux.close();
    QueryAux.sql() = QStringList{QStringLiteral("SELECT PROFILOSICUREZZA,PROGETTO,MANTIENISTDMIN"),
                                 QStringLiteral("FROM UTENTI WHERE CODICE='%1'").arg(tabX->GetNumUser())};
    QueryAux.open();
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

void TBaseMainForm::buildCatalogue()
{
    try {
        CaricaProgrammi();
        const int group = MenuProgrammi->activeGroup();
        if (group < 0)
            throw std::runtime_error("no program group");
        CaricaMenu(MenuProgrammi->groupTag(group));
        CheckMenuSistema();
    } catch (const std::exception &) {
        showMessage(MessageKind::Error, QStringLiteral("Si è verificato un errore durante la configurazione del "
                                                       "programma sulla base dei criteri di personalizzazione "
                                                       "dell'utente selezionato"));
    }
}

} // namespace tg
