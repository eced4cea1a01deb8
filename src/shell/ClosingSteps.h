#pragma once

#include "sessions/WorkSessions.h"

#include <exception>
#include <optional>

namespace tg {

class TTabXForm;
namespace db {
class Transaction;
}

// What the closing and the user change ask of the main window: what is on
// screen, and the things that only the window can do or show.
class ClosingHost {
public:
    virtual ~ClosingHost() = default;
    // Windows of this process other than the main window are on screen
    // (the plug-ins' windows live in this process).
    virtual bool otherWindowsOnScreen() const = 0;
    virtual void closeOtherWindows() = 0;
    // Writes the main window's position for the user in the transaction.
    virtual void saveWindowPosition(int userNumber, db::Transaction &transaction) = 0;
    // Closes the window's statements on the user database.
    virtual void releaseStatements() = 0;
    // Shows an error after which the closing goes on.
    virtual void reportError(std::exception_ptr error) = 0;
};

// The closing of the program and the check that the closing and the user
// change share: while plug-in windows of the session are open, both wait.
// Widget-free: the window shows, this decides and writes.
class ClosingSteps {
public:
    ClosingSteps(WorkSessions &sessions, db::Transaction &transaction, ClosingHost &host);

    // True, after the warning, while plug-in windows of the session are
    // open; never without window tracking. `session`, when given, receives
    // the session's state read with the check.
    bool refusedWhilePluginWindowsOpen(bool logWindows,
                                       std::optional<WorkSessions::SessionState> *session = nullptr);
    // The closing: false when it is refused. `module` is null when the
    // window never reached the user database.
    bool close(TTabXForm *module, bool loggedIn, bool logWindows);

private:
    WorkSessions &m_sessions;
    db::Transaction &m_transaction;
    ClosingHost &m_host;
};

} // namespace tg
