#include "sessions/WorkSessions.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "platform/Clock.h"
#include "platform/Logging.h"
#include "platform/NativeWindows.h"
#include "platform/Prompter.h"
#include "sessions/LiveSessions.h"
#include "sessions/StatementDump.h"

namespace tg {
namespace {

// Date and time as written into the statements: month first, 24-hour time.
// Each comes from a reading of the clock of its own.
QString currentDate()
{
    return Clock::current().now().date().toString(QStringLiteral("MM/dd/yyyy"));
}

QString currentTime()
{
    return Clock::current().now().time().toString(QStringLiteral("hh:mm:ss"));
}

QString quotedLine(const QString &value, const char *end = "',")
{
    return QLatin1Char('\'') + value + QLatin1String(end);
}

} // namespace

WorkSessions::WorkSessions(db::Query &query, db::Transaction &transaction, int &sessionCode, const bool &logWindows)
    : m_query(query), m_transaction(transaction), m_sessionCode(sessionCode), m_logWindows(logWindows)
{
}

void WorkSessions::prepare(const QStringList &lines)
{
    m_query.close();
    m_query.sql() = lines;
}

qint64 WorkSessions::nextGeneratorValue(const QStringList &lines)
{
    prepare(lines);
    m_query.open();
    const qint64 value = m_query.field(0).asInteger();
    m_query.close();
    return value;
}

bool WorkSessions::write(const QString &operation, int kind, const QString &failureMessage)
{
    try {
        m_query.execSql();
        m_transaction.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcSessions).noquote() << "Writing the session row (" + operation + ") failed:" << error.message();
        // The user is told even when the dump itself cannot be written.
        saveStatementDump(operation, m_query.sql());
        showMessage(static_cast<MessageKind>(kind), failureMessage);
        return false;
    }
}

void WorkSessions::restartTransaction()
{
    m_query.close();
    db::Database *database = m_query.database();
    try {
        if (database && !database->connected())
            throw db::DatabaseError(QStringLiteral("Database not open"));
        m_transaction.rollback();
        m_transaction.start();
        return;
    } catch (const db::DatabaseError &error) {
        // A connection lost earlier (the attachment is gone) or now.
        if (!database || (database->connected() && !db::isConnectionLost(error)))
            throw;
        reconnect(error.message());
    }
}

void WorkSessions::reconnect(const QString &lostText)
{
    db::Database &database = *m_query.database();
    qCWarning(lcSessions).noquote() << "The connection to" << database.databaseName() << "was lost (" + lostText + "),"
                                    << "attaching again";
    try {
        database.reconnect();
        m_transaction.start();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcSessions).noquote() << "Attaching" << database.databaseName() << "again failed:" << error.message();
        QString clientText = error.message();
        if (clientText.startsWith(db::LostConnectionLine))
            clientText = clientText.mid(db::LostConnectionLine.size()).trimmed();
        throw db::DatabaseError(QStringLiteral("Connessione con il server del database interrotta: il collegamento "
                                               "non è ancora ripristinabile. Riprovare tra qualche istante.\r\n")
                                    + clientText,
                                error.errorCode(), error.sqlState());
    }
    qCInfo(lcSessions).noquote() << "Attached to" << database.databaseName() << "again";
    markAttachment();
}

void WorkSessions::markAttachment()
{
    if (m_openedHere.isEmpty())
        return;
    try {
        prepare(LiveSessions::markStatement(m_openedHere));
        m_query.execSql();
    } catch (const db::DatabaseError &error) {
        // Without the mark the session reads as unknown or gone elsewhere;
        // the work here goes on.
        qCWarning(lcSessions).noquote() << "Marking the attachment with the work sessions failed:" << error.message();
    }
}

void WorkSessions::ApriSessione(int userNumber)
{
    m_sessionCode = static_cast<int>(
        nextGeneratorValue({QStringLiteral("SELECT GEN_ID(CODICESESSIONEMARTILOG,1) FROM RDB$DATABASE")}));
    // The attachment carries the session from now on, for as long as this
    // workstation is connected: the server's monitoring tells it alive.
    m_openedHere << m_sessionCode;
    markAttachment();
    prepare({QStringLiteral("INSERT INTO MARTILOG (CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,"),
             QStringLiteral("CODICEUTENTE) VALUES("), quotedLine(QString::number(m_sessionCode)),
             quotedLine(currentDate()), quotedLine(currentTime()),
             quotedLine(QString::number(userNumber), "')")});
    write(QStringLiteral("ApriSessione"), static_cast<int>(MessageKind::Error),
          QStringLiteral("Errore interno: impossibile aprire la sessione utente"));
}

void WorkSessions::ChiudiSessione(const SessionState *known)
{
    if (known ? !sessionIsOpen(*known, false) : !VerificaStatoSessione(false))
        return;
    prepare({QStringLiteral("UPDATE MARTILOG SET"), QStringLiteral("DATACHIUSURA='") + currentDate() + QStringLiteral("',"),
             QStringLiteral("ORACHIUSURA='") + currentTime() + QLatin1Char('\''),
             QStringLiteral("WHERE CODICESESSIONE='%1'").arg(m_sessionCode)});
    write(QStringLiteral("ChiudiSessione"), static_cast<int>(MessageKind::Error),
          QStringLiteral("Errore interno: impossibile chiudere la sessione utente"));
}

bool WorkSessions::VerificaStatoSessione(bool withMessages)
{
    restartTransaction();
    prepare({QStringLiteral("SELECT * FROM MARTILOG WHERE CODICESESSIONE='%1'").arg(m_sessionCode)});
    m_query.open();
    SessionState state;
    state.exists = !m_query.eof();
    if (state.exists)
        state.closingDate = m_query.fieldByName(QStringLiteral("DATACHIUSURA")).asText();
    m_query.close();
    return sessionIsOpen(state, withMessages);
}

QString WorkSessions::sessionStateColumns() const
{
    const QString where = QStringLiteral(" FROM MARTILOG WHERE CODICESESSIONE='%1')").arg(m_sessionCode);
    return QStringLiteral("(SELECT COUNT(*)") + where + QStringLiteral(" SESSIONI,(SELECT FIRST 1 DATACHIUSURA") + where
           + QStringLiteral(" DATACHIUSURA");
}

WorkSessions::SessionState WorkSessions::sessionStateOf(const db::Query &row)
{
    SessionState state;
    state.exists = row.fieldByName(QStringLiteral("SESSIONI")).asInteger() > 0;
    if (state.exists)
        state.closingDate = row.fieldByName(QStringLiteral("DATACHIUSURA")).asText();
    return state;
}

bool WorkSessions::sessionIsOpen(const SessionState &state, bool withMessages)
{
    QString warning;
    if (!state.exists)
        warning = QStringLiteral("Attenzione: non risulta aperta nessuna sessione di lavoro");
    else if (!state.closingDate.isEmpty())
        warning = QStringLiteral("Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare");
    if (warning.isEmpty())
        return true;
    if (withMessages)
        showMessage(MessageKind::Warning, warning);
    return false;
}

QString WorkSessions::windowIdColumn() const
{
    return m_logWindows ? QStringLiteral("GEN_ID(IDFINESTRAMARTILOGFUNZCOUNTER,1) IDFINESTRA")
                        : QStringLiteral("0 IDFINESTRA");
}

int WorkSessions::AggiornaMartiLogFunz(const QString &functionName)
{
    int windowId = 0;
    if (m_logWindows)
        windowId = static_cast<int>(nextGeneratorValue(
            {QStringLiteral("SELECT GEN_ID(IDFINESTRAMARTILOGFUNZCOUNTER,1) FROM"), QStringLiteral("RDB$DATABASE")}));
    return AggiornaMartiLogFunz(functionName, windowId);
}

int WorkSessions::AggiornaMartiLogFunz(const QString &functionName, int windowId)
{
    QStringList lines{QStringLiteral("INSERT INTO MARTILOGFUNZ (CODICESESSIONE,DATACHIAMATAFUNZIONE,"),
                      QStringLiteral("ORACHIAMATAFUNZIONE,FUNZIONECHIAMATA")};
    if (m_logWindows)
        lines << QStringLiteral(",IDFINESTRA");
    lines << QStringLiteral(") VALUES(") << quotedLine(QString::number(m_sessionCode)) << quotedLine(currentDate())
          << quotedLine(currentTime()) << quotedLine(db::quotedValue(functionName), "'");
    if (m_logWindows)
        lines << QStringLiteral(",'%1'").arg(windowId);
    lines << QStringLiteral(")");
    prepare(lines);
    write(QStringLiteral("AggiornaMartiLogFunz"), static_cast<int>(MessageKind::Warning),
          QStringLiteral("Errore interno di INSERT: impossibile aggiornare il log delle voci di menu chiamata. "
                         "Sarà comunque possibile continuare ad usare il programma"));
    return windowId;
}

bool WorkSessions::VerificaFinestreAperte(SessionState *session)
{
    restartTransaction();
    // The session's state comes along (one row at least), for a closing
    // that follows.
    prepare({QStringLiteral("SELECT L.HANDLEFINESTRA,") + sessionStateColumns(), QStringLiteral("FROM RDB$DATABASE"),
             QStringLiteral("LEFT JOIN MARTILOGFUNZ L ON L.CODICESESSIONE='%1'").arg(m_sessionCode)});
    m_query.open();
    m_query.fetchAll();
    if (session)
        *session = sessionStateOf(m_query);
    bool noneOpen = true;
    for (; !m_query.eof(); m_query.next()) {
        if (!m_query.field(0).isNull() && NativeWindows::exists(m_query.field(0).asInteger())) {
            noneOpen = false;
            break;
        }
    }
    m_query.close();
    return noneOpen;
}

} // namespace tg
