#pragma once

#include "sessions/WorkSessions.h"

#include <QString>

namespace tg {

namespace db {
class Query;
}

// The ways a plug-in entry point is called, chosen by the last character of
// the function's name and by the level it is called from.
enum class CallingForm {
    Plain,                  // first level, no window id
    WithParameters,         // second level, no window id
    WithWindow,             // "...X" at the first level
    WithParametersAndWindow, // "...X" at the second level
    ThirdForm,              // "...Y", at any level
};

struct PluginCall {
    CallingForm form = CallingForm::Plain;
    QString dll;
    QString funzione;
    QString parametri;
    int windowId = 0;
};

// What the dispatcher asks of the window that owns it: the built-in
// commands, the record of the current company and the plug-in call itself.
class DispatchHost {
public:
    virtual ~DispatchHost() = default;
    virtual void closeProgram() = 0;
    virtual void changeUser() = 0;
    virtual void changeCompany() = 0;
    // Records the current company as the user's when the stored one differs;
    // false stops the call (the failure has been shown).
    virtual bool recordCurrentCompany(bool userFound, const QString &storedCompany) = 0;
    virtual void callPlugin(const PluginCall &call) = 0;
};

// Who calls, as the login left it.
struct Caller {
    int user = 0;
    QString userName;
    int profile = 0;
    // Users who keep the standard minimum are not checked against a profile.
    bool checkProfile = true;
};

// What a click on a quick entry, a menu entry or a picture button runs.
// The function's row, the profile, the session's state, a window id and the
// user's stored company are read in one statement after a fresh start of
// the transaction; built-in commands go back to the host; any other
// function passes the session check, is logged, records the current
// company and is handed to the host in its calling form. Widget-free: the
// window shows, this decides.
class FunctionDispatcher {
public:
    FunctionDispatcher(db::Query &query, WorkSessions &sessions, DispatchHost &host);

    // A menu entry of a program: a quick entry or a first-level entry when
    // secondLevel is false.
    void runMenuEntry(int programma, int menu, bool secondLevel, const Caller &caller);
    void runPictureButton(const QString &button, const Caller &caller);

private:
    struct FunctionRow {
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

    FunctionRow readFunctionRow(const QString &table, const QString &keyColumn, const QString &keyCondition,
                                const Caller &caller, bool withProfile);
    // True when the function is a built-in command: it has run, or it is
    // the closing, which runs once the dispatch is over.
    bool runBuiltIn(const QString &funzione, bool &close);
    // The checks common to every origin, then the call; the messages name
    // the entry or the button.
    void runChecked(const FunctionRow &row, bool secondLevel, const QString &dllMissing,
                    const QString &functionMissing, bool &close);
    void runFunction(const FunctionRow &row, bool secondLevel);

    db::Query &m_query;
    WorkSessions &m_sessions;
    DispatchHost &m_host;
};

} // namespace tg
