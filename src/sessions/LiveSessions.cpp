#include "sessions/LiveSessions.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Logging.h"

namespace tg {
namespace {

// One context variable per session: its name carries the code.
const QString MarkPrefix = QStringLiteral("TASKGATE_SESSION_");

// At most this many window ids go into one IN list.
constexpr int IdsPerStatement = 1000;

QDateTime toSecond(const QDateTime &moment)
{
    QDateTime result = moment;
    result.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    return result;
}

// What the monitoring tables say of the attachments, in one statement: who
// asks (user, role, the protocol of the own attachment: none for an
// embedded engine), whether other users' attachments are seen, since when
// the database is open, and one row per session mark of a live attachment.
QStringList monitoringStatement()
{
    return {QStringLiteral("SELECT CURRENT_USER UTENTE,CURRENT_ROLE RUOLO,"),
            QStringLiteral("(SELECT FIRST 1 MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID=CURRENT_CONNECTION) PROTOCOLLO,"),
            QStringLiteral("(SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG=0 AND MON$USER<>CURRENT_USER) ALTRI,"),
            QStringLiteral("(SELECT MIN(MON$TIMESTAMP) FROM MON$ATTACHMENTS) APERTURA,"),
            QStringLiteral("V.MON$VARIABLE_NAME MARCA"),
            QStringLiteral("FROM RDB$DATABASE LEFT JOIN MON$CONTEXT_VARIABLES V ON V.MON$ATTACHMENT_ID IS NOT NULL"),
            QStringLiteral("AND V.MON$VARIABLE_NAME STARTING WITH '") + MarkPrefix + QLatin1Char('\'')};
}

// Reads the monitoring in the running transaction of `query`.
void readIn(db::Query &query, bool &known, QSet<int> &carried, QDateTime &upSince)
{
    query.sql() = monitoringStatement();
    query.open();
    const QString user = query.fieldByName(QStringLiteral("UTENTE")).asText().trimmed().toUpper();
    const QString role = query.fieldByName(QStringLiteral("RUOLO")).asText().trimmed().toUpper();
    const bool remote = !query.fieldByName(QStringLiteral("PROTOCOLLO")).asText().trimmed().isEmpty();
    const bool seesOthers = query.fieldByName(QStringLiteral("ALTRI")).asInteger() > 0;
    const QVariant opened = query.fieldByName(QStringLiteral("APERTURA")).raw();
    const bool seesAll = user == QLatin1String("SYSDBA") || role == QLatin1String("RDB$ADMIN") || seesOthers;
    known = remote && seesAll && opened.canConvert<QDateTime>() && opened.toDateTime().isValid();
    if (known)
        upSince = toSecond(opened.toDateTime());
    for (; !query.eof(); query.next()) {
        const QString name = query.fieldByName(QStringLiteral("MARCA")).asText().trimmed();
        bool number = false;
        const int code = name.mid(MarkPrefix.size()).toInt(&number);
        if (name.startsWith(MarkPrefix) && number)
            carried.insert(code);
    }
    query.close();
}

} // namespace

QStringList LiveSessions::markStatement(const QList<int> &sessionCodes)
{
    QStringList lines{QStringLiteral("EXECUTE BLOCK AS DECLARE MARCATA INTEGER; BEGIN")};
    for (const int code : sessionCodes)
        lines << QStringLiteral("MARCATA=RDB$SET_CONTEXT('USER_SESSION','%1%2','%2');").arg(MarkPrefix).arg(code);
    lines << QStringLiteral("END");
    return lines;
}

LiveSessions LiveSessions::read(db::Database &userDatabase)
{
    LiveSessions result;
    try {
        // The monitoring tables are a snapshot per transaction: a new one
        // shows the attachments of now.
        db::Transaction transaction(&userDatabase);
        db::Query query(&userDatabase, &transaction);
        readIn(query, result.m_known, result.m_carried, result.m_upSince);
        transaction.rollback();
    } catch (const db::DatabaseError &error) {
        qCInfo(lcSessions).noquote() << "The monitoring tables of" << userDatabase.databaseName()
                                     << "cannot tell which sessions are connected:" << error.message();
        result = LiveSessions();
    }
    if (!result.m_known)
        result.m_carried.clear();
    return result;
}

std::optional<bool> LiveSessions::connected(int sessionCode, const QDateTime &opened) const
{
    if (!m_known)
        return std::nullopt;
    if (m_carried.contains(sessionCode))
        return true;
    // Opened before the database was last opened: its workstation may be
    // alive and idle, not attached again since.
    if (!opened.isValid() || toSecond(opened) < m_upSince)
        return std::nullopt;
    return false;
}

std::optional<QHash<int, bool>> LiveSessions::windows(db::Database &userDatabase, const QList<Window> &windows)
{
    QList<int> ids;
    QHash<int, Window> byId;
    QSet<int> undecided;
    for (const Window &window : windows) {
        // Window id 0 is every call made without window tracking.
        if (window.id <= 0)
            continue;
        // Two semaphores of one window id that disagree cannot be told.
        const auto known = byId.constFind(window.id);
        if (known != byId.cend() && (known->user != window.user || known->function != window.function))
            undecided.insert(window.id);
        if (!ids.contains(window.id))
            ids << window.id;
        byId.insert(window.id, window);
    }
    try {
        db::Transaction transaction(&userDatabase);
        db::Query query(&userDatabase, &transaction);
        LiveSessions live;
        readIn(query, live.m_known, live.m_carried, live.m_upSince);
        if (!live.m_known) {
            transaction.rollback();
            return std::nullopt;
        }
        QHash<int, bool> answers;
        for (int first = 0; first < ids.size(); first += IdsPerStatement) {
            QStringList list;
            for (const int id : ids.mid(first, IdsPerStatement))
                list << QString::number(id);
            query.sql() = QStringList{
                QStringLiteral("SELECT L.IDFINESTRA,L.CODICESESSIONE,S.DATAAPERTURA,S.ORAAPERTURA,S.CODICEUTENTE,"
                               "L.FUNZIONECHIAMATA FROM MARTILOGFUNZ L"),
                QStringLiteral("LEFT JOIN MARTILOG S ON S.CODICESESSIONE=L.CODICESESSIONE"),
                QStringLiteral("WHERE L.IDFINESTRA IN (") + list.join(QLatin1Char(',')) + QLatin1Char(')')};
            for (query.open(); !query.eof(); query.next()) {
                const int id = static_cast<int>(query.field(0).asInteger());
                const QDateTime opened(query.field(2).raw().toDate(), query.field(3).raw().toTime());
                const Window &window = byId[id];
                const bool same = query.field(4).asText() == QString::number(window.user)
                                  && query.field(5).asText().trimmed() == window.function.trimmed();
                const std::optional<bool> state =
                    same ? live.connected(static_cast<int>(query.field(1).asInteger()), opened) : std::nullopt;
                // Two calls logged under one window id: gone only when both are.
                if (!state || undecided.contains(id)) {
                    undecided.insert(id);
                    answers.remove(id);
                } else if (*state || !answers.contains(id)) {
                    answers.insert(id, *state || answers.value(id));
                }
            }
            query.close();
        }
        transaction.rollback();
        return answers;
    } catch (const db::DatabaseError &error) {
        qCInfo(lcSessions).noquote() << "The sessions of the semaphores cannot be told:" << error.message();
        return std::nullopt;
    }
}

QString LiveSessions::caption(std::optional<bool> connected)
{
    if (!connected)
        return QStringLiteral("?");
    return *connected ? QStringLiteral("Sì") : QStringLiteral("No");
}

} // namespace tg
