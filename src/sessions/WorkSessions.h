#pragma once

#include "taskgate_core_export.h"

#include <QList>
#include <QString>

namespace tg {

namespace db {
class Query;
class Transaction;
} // namespace db

// Work sessions and the call log of the main window: a MARTILOG row per
// login and a MARTILOGFUNZ row per called function, with a window id when
// the call log tracks windows. Works on the main window's statement and
// transaction and on its session code and window-log flag.
class TASKGATE_CORE_EXPORT WorkSessions {
public:
    WorkSessions(db::Query &query, db::Transaction &transaction, int &sessionCode, const bool &logWindows);

    // Opens a session for the user; failures are reported and dumped.
    void ApriSessione(int userNumber);
    // True when the current session exists and is open.
    bool VerificaStatoSessione(bool withMessages);

    // The session check folded into a statement that reads other values
    // too (one statement instead of two over the network): after
    // restartTransaction(), a statement that holds sessionStateColumns() in
    // its select list gives the state with sessionStateOf(), and
    // sessionIsOpen() judges it as VerificaStatoSessione judges its own
    // reading.
    struct SessionState {
        bool exists = false;
        QString closingDate;
    };
    // Ends the transaction and starts it again. When the connection to the
    // server turns out lost, the user database is attached again (and marked
    // again with this workstation's sessions) before anything is read or
    // written, so that no step of an action runs twice; when the server
    // cannot be reached yet, a DatabaseError with the Italian message and
    // the client's text reaches the caller.
    void restartTransaction();
    QString sessionStateColumns() const;
    static SessionState sessionStateOf(const db::Query &row);
    // A new window id from the call log's generator as the column
    // IDFINESTRA of such a statement (0 without window tracking).
    QString windowIdColumn() const;
    bool sessionIsOpen(const SessionState &state, bool withMessages);
    // Logs one call and returns its window id (0 without window tracking).
    int AggiornaMartiLogFunz(const QString &functionName);
    // Logs one call under a window id already taken with windowIdColumn()
    // (0 without window tracking) and returns it.
    int AggiornaMartiLogFunz(const QString &functionName, int windowId);
    // True when no window recorded for the session still exists. `session`,
    // when given, receives the session's state, read in the same statement.
    bool VerificaFinestreAperte(SessionState *session = nullptr);
    // Closes the current session when it is still open. `known`, when given,
    // is its state read in the transaction running now (by the closing's
    // check of open windows), which spares a second reading.
    void ChiudiSessione(const SessionState *known = nullptr);

private:
    void prepare(const QStringList &lines);
    // Marks this workstation's attachment with every session opened here
    // (LiveSessions reads the marks); a failure is only logged.
    void markAttachment();
    void reconnect(const QString &lostText);
    qint64 nextGeneratorValue(const QStringList &lines);
    // Executes and commits the prepared write; on failure dumps it and shows
    // the message. Returns whether it succeeded.
    bool write(const QString &operation, int kind, const QString &failureMessage);

    db::Query &m_query;
    db::Transaction &m_transaction;
    int &m_sessionCode;
    const bool &m_logWindows;
    // The sessions opened by this workstation since it started: a user
    // change leaves the earlier ones open, and their windows too.
    QList<int> m_openedHere;
};

} // namespace tg
