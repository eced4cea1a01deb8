#include "sessions/OpenSessions.h"

#include "db/AllOrNothing.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "sessions/LiveSessions.h"

namespace tg {

OpenSessions::OpenSessions(db::Query &sessions, db::Query &aux, db::Transaction &transaction)
    : m_sessions(sessions), m_aux(aux), m_transaction(transaction)
{
}

void OpenSessions::restartTransaction()
{
    m_transaction.rollback();
    m_transaction.start();
}

void OpenSessions::carica(int userNumber, const LiveSessions *live)
{
    m_columns.clear();
    m_rows.clear();
    m_liveKnown = false;
    m_orphans.clear();
    m_sessions.close();
    m_sessions.sql() = QStringList{QStringLiteral("SELECT CODICESESSIONE,DATAAPERTURA,ORAAPERTURA FROM MARTILOG"),
                                   QStringLiteral("WHERE (CODICEUTENTE='%1')AND").arg(userNumber),
                                   QStringLiteral("(DATACHIUSURA IS NULL)")};
    m_sessions.open();
    for (int i = 0; i < m_sessions.fieldCount(); ++i)
        m_columns << m_sessions.fieldName(i);
    for (; !m_sessions.eof(); m_sessions.next()) {
        QStringList row;
        for (int i = 0; i < m_sessions.fieldCount(); ++i)
            row << m_sessions.field(i).asText();
        m_rows << row;
    }
    if (!live || !live->known())
        return;
    m_liveKnown = true;
    m_columns << QStringLiteral("Connessa");
    for (QStringList &row : m_rows) {
        // The opening as the workstation wrote it: DATE and TIME read as text.
        const QDateTime opened(QDate::fromString(row.value(1), QStringLiteral("dd/MM/yyyy")),
                               QTime::fromString(row.value(2), QStringLiteral("hh:mm:ss")));
        bool number = false;
        const int sessionCode = row.value(0).toInt(&number);
        const std::optional<bool> connected = number ? live->connected(sessionCode, opened) : std::nullopt;
        if (connected == false)
            m_orphans << row.value(0);
        row << LiveSessions::caption(connected);
    }
}

QString OpenSessions::code(int row) const
{
    const int column = m_columns.indexOf(QStringLiteral("CODICESESSIONE"));
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    return m_rows[row].value(column);
}

bool OpenSessions::chiudi(const QStringList &codes, const QDateTime &moment)
{
    const QString date = moment.date().toString(QStringLiteral("MM/dd/yyyy"));
    const QString time = moment.time().toString(QStringLiteral("hh:mm:ss"));
    // The last line keeps a session that is already closed (by an earlier
    // run of this screen, or by its own workstation meanwhile) from having
    // its real closing moment overwritten.
    return db::execAllOrNothing(
        m_aux, m_transaction, codes,
        [&](const QString &code) {
            return QStringList{QStringLiteral("UPDATE MARTILOG SET"),
                               QStringLiteral("DATACHIUSURA='") + date + QStringLiteral("',"),
                               QStringLiteral("ORACHIUSURA='") + time + QLatin1Char('\''),
                               QStringLiteral("WHERE CODICESESSIONE='") + db::quotedValue(code) + QLatin1Char('\''),
                               QStringLiteral("AND DATACHIUSURA IS NULL")};
        },
        db::CommitMode::Commit);
}

} // namespace tg
