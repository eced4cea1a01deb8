#include "shell/FunctionDispatcher.h"

#include "db/Query.h"
#include "platform/Prompter.h"

namespace tg {
namespace {

const QString MenuOpening = QStringLiteral("Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                           "Controllare le impostazioni di menu del programma ");
const QString ButtonOpening = QStringLiteral("Impossibile caricare la finestra relativa al pulsantone premuto. "
                                             "Controllare le impostazioni del pulsantone ");

CallingForm callingForm(const QString &funzione, bool secondLevel)
{
    if (funzione.endsWith(QLatin1Char('Y')))
        return CallingForm::ThirdForm;
    if (funzione.endsWith(QLatin1Char('X')))
        return secondLevel ? CallingForm::WithParametersAndWindow : CallingForm::WithWindow;
    return secondLevel ? CallingForm::WithParameters : CallingForm::Plain;
}

} // namespace

FunctionDispatcher::FunctionDispatcher(db::Query &query, WorkSessions &sessions, DispatchHost &host)
    : m_query(query), m_sessions(sessions), m_host(host)
{
}

FunctionDispatcher::FunctionRow FunctionDispatcher::readFunctionRow(const QString &table, const QString &keyColumn,
                                                                    const QString &keyCondition, const Caller &caller,
                                                                    bool withProfile)
{
    // A fresh start first, so that the session's state and the company are
    // read as other workstations have committed them.
    m_sessions.restartTransaction();
    QStringList lines{QStringLiteral("SELECT F.DLL,F.FUNZIONE,F.LIVELLO2VERSIONE,F.PARAMETRIBLOB,F.%1 RIGA,").arg(keyColumn)};
    if (withProfile)
        lines << QStringLiteral("(SELECT COUNT(*) FROM PROFILI WHERE CODICE='%1') PROFILI,").arg(caller.profile);
    // The window id is taken here too: a click that is then refused leaves
    // a gap in the generator's values, as any rolled-back call would.
    lines << m_sessions.sessionStateColumns() + QLatin1Char(',') << m_sessions.windowIdColumn() + QLatin1Char(',')
          << QStringLiteral("U.CODICE UTENTE,U.DITTA")
          << QStringLiteral("FROM RDB$DATABASE") << QStringLiteral("LEFT JOIN %1 F ON %2").arg(table, keyCondition)
          << QStringLiteral("LEFT JOIN UTENTI U ON U.CODICE='%1'").arg(caller.user);
    m_query.close();
    m_query.sql() = lines;
    m_query.open();
    FunctionRow row;
    row.found = !m_query.fieldByName(QStringLiteral("RIGA")).isNull();
    row.dll = m_query.fieldByName(QStringLiteral("DLL")).asText();
    row.funzione = m_query.fieldByName(QStringLiteral("FUNZIONE")).asText();
    row.livello2 = m_query.fieldByName(QStringLiteral("LIVELLO2VERSIONE")).asText();
    row.parametri = m_query.fieldByName(QStringLiteral("PARAMETRIBLOB")).asText();
    if (withProfile)
        row.profileFound = m_query.fieldByName(QStringLiteral("PROFILI")).asInteger() > 0;
    row.session = WorkSessions::sessionStateOf(m_query);
    row.windowId = static_cast<int>(m_query.fieldByName(QStringLiteral("IDFINESTRA")).asInteger());
    row.userFound = !m_query.fieldByName(QStringLiteral("UTENTE")).isNull();
    row.storedCompany = m_query.fieldByName(QStringLiteral("DITTA")).asText();
    m_query.close();
    return row;
}

bool FunctionDispatcher::runBuiltIn(const QString &funzione, bool &close)
{
    const QString command = funzione.toUpper();
    if (command == QLatin1String("CHIUDI")) {
        close = true;
        return true;
    }
    if (command == QLatin1String("CAMBIOUTENTE")) {
        m_host.changeUser();
        return true;
    }
    if (command == QLatin1String("CAMBIODITTA")) {
        m_host.changeCompany();
        return true;
    }
    return false;
}

void FunctionDispatcher::runChecked(const FunctionRow &row, bool secondLevel, const QString &dllMissing,
                                    const QString &functionMissing, bool &close)
{
    if (runBuiltIn(row.funzione, close))
        return;
    if (row.dll.isEmpty()) {
        showMessage(MessageKind::Error, dllMissing);
        return;
    }
    if (row.funzione.isEmpty()) {
        showMessage(MessageKind::Error, functionMissing);
        return;
    }
    runFunction(row, secondLevel);
}

void FunctionDispatcher::runFunction(const FunctionRow &row, bool secondLevel)
{
    if (!m_sessions.sessionIsOpen(row.session, true))
        return;
    const int windowId = m_sessions.AggiornaMartiLogFunz(row.funzione, row.windowId);
    if (!m_host.recordCurrentCompany(row.userFound, row.storedCompany))
        return;
    const CallingForm form = callingForm(row.funzione, secondLevel);
    const bool withWindow = form != CallingForm::Plain && form != CallingForm::WithParameters;
    const bool withParameters = form != CallingForm::Plain && form != CallingForm::WithWindow;
    m_host.callPlugin(PluginCall{form, row.dll, row.funzione, withParameters ? row.parametri : QString(),
                                 withWindow ? windowId : 0});
}

void FunctionDispatcher::runMenuEntry(int programma, int menu, bool secondLevel, const Caller &caller)
{
    bool close = false;
    [&] {
        const FunctionRow row = readFunctionRow(
            QStringLiteral("DETTMENU"), QStringLiteral("MENU"),
            QStringLiteral("(F.PROGRAMMA='%1')AND(F.MENU='%2')").arg(programma).arg(menu), caller, caller.checkProfile);
        if (!row.profileFound) {
            showMessage(MessageKind::Error, QStringLiteral("Errore di configurazione dell'utente ") + caller.userName
                                                + QStringLiteral(": il profilo sicurezza assegnato non esiste"));
            return;
        }
        const QString opening = MenuOpening + QString::number(programma);
        if (!row.found) {
            showMessage(MessageKind::Error, opening + QStringLiteral(": manca il menu ") + QString::number(menu));
            return;
        }
        runChecked(row, secondLevel,
                   opening + QStringLiteral(": manca la DLL di riferimento per caricare la finestra nel menu ")
                       + QString::number(menu),
                   opening + QStringLiteral(": manca la funzione di riferimento per caricare la finestra nel menu ")
                       + QString::number(menu),
                   close);
    }();
    if (close)
        m_host.closeProgram();
}

void FunctionDispatcher::runPictureButton(const QString &button, const Caller &caller)
{
    bool close = false;
    [&] {
        const FunctionRow row = readFunctionRow(QStringLiteral("PULSANTONI"), QStringLiteral("ID"),
                                                QStringLiteral("F.ID='%1'").arg(button), caller, false);
        if (!row.found) {
            showMessage(MessageKind::Warning, QStringLiteral("Errore nella configurazione del pulsantone"));
            return;
        }
        const QString opening = ButtonOpening + button;
        runChecked(row, row.livello2 == QLatin1String("1"),
                   opening + QStringLiteral(": manca la DLL di riferimento per caricare la finestra"),
                   opening + QStringLiteral(": manca la funzione di riferimento per caricare la finestra"), close);
    }();
    if (close)
        m_host.closeProgram();
}

} // namespace tg
