#pragma once

#include "taskgate_core_export.h"

#include <QDateTime>
#include <QStringList>
#include <QVector>

namespace tg {

class LiveSessions;

namespace db {
class Query;
class Transaction;
} // namespace db

// The open work sessions of one user and their closing by hand, on the user
// database. The statements and the transaction belong to the open-sessions
// screen; this class reads the rows it shows and writes the closings.
class TASKGATE_CORE_EXPORT OpenSessions {
public:
    OpenSessions(db::Query &sessions, db::Query &aux, db::Transaction &transaction);

    // Ends whatever the transaction held and starts it again, so that the
    // list is read from the state committed by now.
    void restartTransaction();

    // Reads the user's sessions that have no closing date, in the order the
    // database returns them. Database errors reach the caller. With `live`
    // answering (known()), a last column "Connessa" says for each row
    // whether its workstation is still connected: "Sì", "No" or "?".
    void carica(int userNumber, const LiveSessions *live = nullptr);

    // The columns and rows of the last reading, every value as text.
    const QStringList &columns() const { return m_columns; }
    const QVector<QStringList> &rows() const { return m_rows; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // CODICESESSIONE of a row as text; empty for a row that does not exist.
    QString code(int row) const;
    // Whether the last reading could tell the workstations' connections.
    bool liveKnown() const { return m_liveKnown; }
    // The codes of the sessions whose workstation is provably gone, in row
    // order.
    const QStringList &orfane() const { return m_orphans; }

    // Closes the given sessions with one closing moment, all together or
    // none: true when every update went through and was committed. On a
    // failure the transaction is rolled back and started again, so none of
    // the sessions is closed. A session already closed keeps its closing
    // date and time.
    bool chiudi(const QStringList &codes, const QDateTime &moment);

private:
    db::Query &m_sessions;
    db::Query &m_aux;
    db::Transaction &m_transaction;
    QStringList m_columns;
    QVector<QStringList> m_rows;
    bool m_liveKnown = false;
    QStringList m_orphans;
};

} // namespace tg
