// The main window's dispatchers: what a click on a quick entry, a menu entry
// or a picture button runs. Built-in commands run here; any other function
// passes the session check, is logged, records the current company and is
// handed to the plug-in call chosen by the last character of its name and
// by its level.

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "menu/PluginCaller.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "shell/BaseMain.h"

#include <QAction>
#include <QPushButton>

namespace tg {

// The row of a function with what its call needs to know, read together in
// one statement: over a network each statement costs round trips.
struct TBaseMainForm::FunctionRow {
    bool found = false;
    QString dll;
    QString funzione;
    QString livello2;
    QString parametri;
    bool profileFound = true;
    WorkSessions::SessionState session;
    int windowId = 0;
    bool userFound = false;
    QString storedCompany;
};

namespace {

const QString MenuOpening = QStringLiteral("Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                           "Controllare le impostazioni di menu del programma ");
const QString ButtonOpening = QStringLiteral("Impossibile caricare la finestra relativa al pulsantone premuto. "
                                             "Controllare le impostazioni del pulsantone ");

// Runs a built-in command; true when the function is one (and so nothing
// else runs for it).
template <typename Main>
bool runBuiltIn(Main &main, const QString &funzione, bool &close)
{
    const QString command = funzione.toUpper();
    if (command == QLatin1String("CHIUDI")) {
        close = true;
        return true;
    }
    if (command == QLatin1String("CAMBIOUTENTE")) {
        main.CambioUtente();
        return true;
    }
    if (command == QLatin1String("CAMBIODITTA")) {
        main.CambioDitta();
        return true;
    }
    return false;
}

} // namespace

TBaseMainForm::FunctionRow TBaseMainForm::readFunctionRow(const QString &table, const QString &keyColumn,
                                                           const QString &keyCondition, bool withProfile)
{
    // A fresh start first, so that the session's state and the company are
    // read as other workstations have committed them.
    Sessioni.restartTransaction();
    const int user = PTabX->TabX->GetNumUser();
    QStringList lines{QStringLiteral("SELECT F.DLL,F.FUNZIONE,F.LIVELLO2VERSIONE,F.PARAMETRIBLOB,F.%1 RIGA,").arg(keyColumn)};
    if (withProfile)
        lines << QStringLiteral("(SELECT COUNT(*) FROM PROFILI WHERE CODICE='%1') PROFILI,").arg(ProfiloSicurezza);
    // The window id is taken here too: a click that is then refused leaves
    // a gap in the generator's values, as any rolled-back call would.
    lines << Sessioni.sessionStateColumns() + QLatin1Char(',') << Sessioni.windowIdColumn() + QLatin1Char(',')
          << QStringLiteral("U.CODICE UTENTE,U.DITTA")
          << QStringLiteral("FROM RDB$DATABASE") << QStringLiteral("LEFT JOIN %1 F ON %2").arg(table, keyCondition)
          << QStringLiteral("LEFT JOIN UTENTI U ON U.CODICE='%1'").arg(user);
    QueryAux.close();
    QueryAux.sql() = lines;
    QueryAux.open();
    FunctionRow row;
    row.found = !QueryAux.fieldByName(QStringLiteral("RIGA")).isNull();
    row.dll = QueryAux.fieldByName(QStringLiteral("DLL")).asText();
    row.funzione = QueryAux.fieldByName(QStringLiteral("FUNZIONE")).asText();
    row.livello2 = QueryAux.fieldByName(QStringLiteral("LIVELLO2VERSIONE")).asText();
    row.parametri = QueryAux.fieldByName(QStringLiteral("PARAMETRIBLOB")).asText();
    if (withProfile)
        row.profileFound = QueryAux.fieldByName(QStringLiteral("PROFILI")).asInteger() > 0;
    row.session = WorkSessions::sessionStateOf(QueryAux);
    row.windowId = static_cast<int>(QueryAux.fieldByName(QStringLiteral("IDFINESTRA")).asInteger());
    row.userFound = !QueryAux.fieldByName(QStringLiteral("UTENTE")).isNull();
    row.storedCompany = QueryAux.fieldByName(QStringLiteral("DITTA")).asText();
    QueryAux.close();
    return row;
}

void TBaseMainForm::runFunction(const FunctionRow &row, bool secondLevel)
{
    if (!Sessioni.sessionIsOpen(row.session, true))
        return;
    const int windowId = Sessioni.AggiornaMartiLogFunz(row.funzione, row.windowId);
    TTabXForm *tabX = PTabX->TabX;
    if (!recordCompanyIfChanged(tabX->GetNumUser(), tabX->dittaCorrente(), row.userFound, row.storedCompany))
        return;
    if (row.funzione.endsWith(QLatin1Char('Y')))
        CaricaFunzioneDLL3Y(row.dll, row.funzione, row.parametri, windowId);
    else if (row.funzione.endsWith(QLatin1Char('X')))
        secondLevel ? CaricaFunzioneDLL2X(row.dll, row.funzione, row.parametri, windowId)
                    : CaricaFunzioneDLLX(row.dll, row.funzione, windowId);
    else
        secondLevel ? CaricaFunzioneDLL2(row.dll, row.funzione, row.parametri) : CaricaFunzioneDLL(row.dll, row.funzione);
}

void TBaseMainForm::EseguiFunzioneVoce(int programma, int menu, int origine)
{
    bool close = false;
    [&] {
        QString userName;
        PTabX->TabX->GetNomeUser(userName);
        const FunctionRow row = readFunctionRow(
            QStringLiteral("DETTMENU"), QStringLiteral("MENU"),
            QStringLiteral("(F.PROGRAMMA='%1')AND(F.MENU='%2')").arg(programma).arg(menu), !MantieniStdMin);
        if (!row.profileFound) {
            showMessage(MessageKind::Error, QStringLiteral("Errore di configurazione dell'utente ") + userName
                                                + QStringLiteral(": il profilo sicurezza assegnato non esiste"));
            return;
        }
        if (!row.found) {
            showMessage(MessageKind::Error,
                        MenuOpening + QString::number(programma) + QStringLiteral(": manca il menu ") + QString::number(menu));
            return;
        }
        if (!runBuiltIn(*this, row.funzione, close)) {
            if (row.dll.isEmpty()) {
                showMessage(MessageKind::Error, MenuOpening + QString::number(programma) + QStringLiteral(": manca la DLL ")
                                                    + QStringLiteral("di riferimento per caricare la finestra nel menu ")
                                                    + QString::number(menu));
                return;
            }
            if (row.funzione.isEmpty()) {
                showMessage(MessageKind::Error, MenuOpening + QString::number(programma) + QStringLiteral(": manca la ")
                                                    + QStringLiteral("funzione di riferimento per caricare la finestra nel menu ")
                                                    + QString::number(menu));
                return;
            }
            runFunction(row, origine != 1);
        }
    }();
    if (close)
        this->close();
}

void TBaseMainForm::EventoVoceOnClick(QAction *sender)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Menu entry" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    EseguiFunzioneVoce(m_menuProgram, sender->property("tag").toInt(), 1);
}

void TBaseMainForm::EventoVoce2OnClick(QAction *sender)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Menu entry" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    const int menu = sender->property("tag").toInt();
    std::exception_ptr failure;
    try {
        EseguiFunzioneVoce(m_menuProgram, menu, 2);
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever the outcome, the user transaction starts afresh and the menu
    // of the active group is rebuilt.
    PTabX->TabX->TransazioneUser.rollback();
    PTabX->TabX->TransazioneUser.start();
    const int group = MenuProgrammi->activeGroup();
    if (group >= 0)
        CaricaMenu(MenuProgrammi->groupTag(group));
    if (failure)
        std::rethrow_exception(failure);
}

void TBaseMainForm::VoceRapidaClick(int programma, int menu)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Quick entry" << menu << "of program" << programma << "refused: nobody is logged in";
        return;
    }
    EseguiFunzioneVoce(programma, menu, 1);
}

void TBaseMainForm::PulsantoneClick(QPushButton *sender)
{
    // Nothing of a catalogue runs while nobody is logged in: the elements
    // of the last user may still exist under the login page.
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Picture button" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    const QString button = sender->property("tag").toString();
    bool close = false;
    [&] {
        const FunctionRow row = readFunctionRow(QStringLiteral("PULSANTONI"), QStringLiteral("ID"),
                                                QStringLiteral("F.ID='%1'").arg(button), false);
        if (!row.found) {
            showMessage(MessageKind::Warning, QStringLiteral("Errore nella configurazione del pulsantone"));
            return;
        }
        if (runBuiltIn(*this, row.funzione, close))
            return;
        if (row.dll.isEmpty()) {
            showMessage(MessageKind::Error, ButtonOpening + button + QStringLiteral(": manca la DLL ")
                                                + QStringLiteral("di riferimento per caricare la finestra"));
            return;
        }
        if (row.funzione.isEmpty()) {
            showMessage(MessageKind::Error, ButtonOpening + button + QStringLiteral(": manca la funzione ")
                                                + QStringLiteral("di riferimento per caricare la finestra"));
            return;
        }
        runFunction(row, row.livello2 == QLatin1String("1"));
    }();
    if (close)
        this->close();
}

void TBaseMainForm::CaricaFunzioneDLL(const QString &dll, const QString &funzione)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL(dll, funzione);
}

void TBaseMainForm::CaricaFunzioneDLL2(const QString &dll, const QString &funzione, const QString &parametri)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL2(dll, funzione, parametri);
}

void TBaseMainForm::CaricaFunzioneDLLX(const QString &dll, const QString &funzione, int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLLX(dll, funzione, idFinestra);
}

void TBaseMainForm::CaricaFunzioneDLL2X(const QString &dll, const QString &funzione, const QString &parametri,
                                        int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL2X(dll, funzione, parametri, idFinestra);
}

void TBaseMainForm::CaricaFunzioneDLL3Y(const QString &dll, const QString &funzione, const QString &parametri,
                                        int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL3Y(dll, funzione, parametri, idFinestra);
}

} // namespace tg
