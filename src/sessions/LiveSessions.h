#pragma once

#include "taskgate_core_export.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <optional>

namespace tg {

namespace db {
class Database;
} // namespace db

// Which work sessions still have their workstation attached to the user
// database, as the server's monitoring tables tell it. Each workstation
// marks its attachment with a context variable per session it opened
// (markStatement()); the variable lives as long as the attachment, and the
// server drops it with the attachment when the workstation dies.
//
// The answer is a proof only where the monitoring sees every attachment:
// the engine must be a server (an embedded engine sees its own process
// only), and the user must be SYSDBA or hold the RDB$ADMIN role, or else be
// seen to see other users' attachments (the others see their own only). A
// session opened before the database was last opened on the server reads
// as unknown: its workstation may be alive and not yet attached again. So
// a live session is never taken for a dead one; where the monitoring cannot
// tell, the answer is unknown.
class TASKGATE_CORE_EXPORT LiveSessions {
public:
    // The statement that marks the running attachment with the sessions.
    static QStringList markStatement(const QList<int> &sessionCodes);

    // Reads the monitoring tables in a transaction of its own. Never throws:
    // any failure (no monitoring tables, no rights, no connection) gives an
    // answer that knows nothing.
    static LiveSessions read(db::Database &userDatabase);

    // Whether the monitoring could answer at all.
    bool known() const { return m_known; }
    // True when a live attachment carries the session, false when it is
    // provably gone, nothing when that cannot be told. `opened` is the
    // session's opening (MARTILOG's date and time); an invalid one is
    // unknown unless the session is carried.
    std::optional<bool> connected(int sessionCode, const QDateTime &opened) const;

    // A window that holds a semaphore: its window id, the user who took it
    // and the entry point called.
    struct Window {
        int id = 0;
        int user = 0;
        QString function;
    };
    // For the semaphores of the archive, by window id: whether the session
    // that logged the call of that window is connected (true) or provably
    // gone (false). The call logged under the window id must be of the same
    // user and entry point (an archive shared with another user database
    // has window ids of its own); a window id that no such call logged, or
    // whose session cannot be told, is left out; nothing at all when the
    // monitoring cannot answer. Never throws.
    static std::optional<QHash<int, bool>> windows(db::Database &userDatabase, const QList<Window> &windows);

    // "Sì", "No" or "?": how the screens show an answer.
    static QString caption(std::optional<bool> connected);

private:
    bool m_known = false;
    QSet<int> m_carried;
    // When the database was opened on the server, to the second.
    QDateTime m_upSince;
};

} // namespace tg
