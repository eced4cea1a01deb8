#include "shell/ClosingSteps.h"

#include "data/TabX.h"
#include "db/Transaction.h"
#include "platform/Prompter.h"

namespace tg {

ClosingSteps::ClosingSteps(WorkSessions &sessions, db::Transaction &transaction, ClosingHost &host)
    : m_sessions(sessions), m_transaction(transaction), m_host(host)
{
}

bool ClosingSteps::refusedWhilePluginWindowsOpen(bool logWindows, std::optional<WorkSessions::SessionState> *session)
{
    if (!logWindows)
        return false;
    bool open = false;
    try {
        WorkSessions::SessionState state;
        open = !m_sessions.VerificaFinestreAperte(&state);
        if (session)
            *session = state;
    } catch (...) {
        // The call log cannot be read (the server may be gone): the error
        // is shown, and the windows on screen decide, so that the user is
        // not kept in a program that can do nothing.
        m_host.reportError(std::current_exception());
        open = m_host.otherWindowsOnScreen();
    }
    if (open)
        showMessage(MessageKind::Warning, QStringLiteral("Chiudere prima tutte le finestre aperte"));
    return open;
}

bool ClosingSteps::close(TTabXForm *module, bool loggedIn, bool logWindows)
{
    if (!module) {
        m_host.closeOtherWindows();
        return true;
    }
    if (loggedIn) {
        // The check of open windows reads the session's state too.
        std::optional<WorkSessions::SessionState> session;
        if (refusedWhilePluginWindowsOpen(logWindows, &session))
            return false;
        // The user is never locked in: a failure here is shown and the
        // closing goes on. The window's position is written in the
        // transaction of the check, and the session's close commits both:
        // over a network each commit costs a round trip. A failed statement
        // leaves the transaction usable, and the commit at the end of the
        // closing catches a session that was not open to close.
        try {
            m_host.saveWindowPosition(module->GetNumUser(), m_transaction);
        } catch (...) {
            m_host.reportError(std::current_exception());
        }
        try {
            m_sessions.ChiudiSessione(session ? &*session : nullptr);
        } catch (...) {
            m_host.reportError(std::current_exception());
        }
    }
    // The other windows go while the connections still serve them (a
    // closing window releases its semaphore).
    m_host.closeOtherWindows();
    // Nothing here throws: a transaction that cannot commit is rolled back
    // or dropped, and a lost connection is let go.
    m_host.releaseStatements();
    m_transaction.endWithCommit();
    module->chiudiConnessioni();
    return true;
}

} // namespace tg
