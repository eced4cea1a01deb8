#pragma once

#include <QString>

namespace tg {

class TTabXForm;
class WorkSessions;
namespace db {
class Query;
}

// What the user's row and the company's parameters say of the user who
// logs in.
struct UserConfiguration {
    // Project and profile hold whole numbers: the company's parameters, when
    // set, take the place of the row's columns.
    bool valid = false;
    int project = 0;
    int profile = 0;
    bool keepsStandardMinimum = false; // MANTIENISTDMIN
    bool editsParameters = false;      // ACCESSOQUADREL
};

// The steps of a login that read and write without a widget: the password
// check, the user made current with a work session of his own, and the
// configuration that decides his catalogue. The window shows the pages,
// the messages come through the prompter.
class LoginSteps {
public:
    LoginSteps(TTabXForm &module, db::Query &query, WorkSessions &sessions);

    // False, after the denial message, for an unknown user or a wrong
    // password. An empty name is no user: a row whose name is empty or NULL
    // cannot be told from no choice at all, and would let anyone in.
    bool passwordAccepted(const QString &userName, const QString &password);
    // The user becomes the module's current one and a work session opens.
    void enter(const QString &userName);
    // The configuration of the current user, one read of his row. A
    // missing or malformed project or profile is shown and leaves it not
    // valid; the two flags hold all the same.
    UserConfiguration readConfiguration(const QString &userName);
    // The same at a company change, which goes on whatever it finds: a
    // malformed number is shown and the one before it stays, a missing one
    // is 0. The numbers hold only when valid.
    UserConfiguration readProjectAndProfile(const QString &userName);

private:
    struct UserRow {
        QString project;
        QString profile;
        bool keepsStandardMinimum = false;
        bool editsParameters = false;
    };
    UserRow readUserRow();
    // The row's project and profile, then the company's parameters over
    // them; false when strict and one is not a whole number.
    bool readNumbers(const UserRow &row, const QString &userName, bool strict, UserConfiguration &configuration);
    // False, after the message, when the text is not a whole number.
    static bool readWholeNumber(const QString &userName, const QString &source, const QString &text, int &number);

    TTabXForm &m_module;
    db::Query &m_query;
    WorkSessions &m_sessions;
};

} // namespace tg
