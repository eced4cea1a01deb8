#pragma once

#include <QString>
#include <QStringList>

namespace tg {

class TTabXForm;
namespace db {
class Query;
class Transaction;
} // namespace db

// The writes and reads of a company change, without a widget: the user's
// company recorded in UTENTI.DITTA, the user made current again (which
// takes the company from there), the company's archive connected, and the
// record of the current company before each plug-in call. The window
// shows the list and the captions; failures are shown through the
// prompter.
class CompanyChange {
public:
    CompanyChange(TTabXForm &module, db::Query &query, db::Transaction &transaction);

    // The company after `current` in the list (the match ignores letter
    // case), the first one after the last or when `current` is not listed;
    // empty for an empty list.
    static QString nextCompany(const QStringList &companies, const QString &current);

    // Writes the company as the current user's, in a fresh start of the
    // transaction, and makes the user current again. False, after the
    // message, when the write fails.
    bool recordAndReselectUser(const QString &company);
    // Connects the archive of the current company and points the archive
    // statement at it; a failure is logged and the user goes on without it.
    void connectArchive(db::Query &archiveQuery);
    // Writes the company into the user's row when the row holds another
    // one (the row is read first, after a fresh start of the transaction).
    bool recordForUser(int userNumber, const QString &company);
    // The same with the row already read.
    bool recordIfChanged(int userNumber, const QString &company, bool userFound, const QString &storedCompany);

private:
    bool writeUserCompany(const QString &company);

    TTabXForm &m_module;
    db::Query &m_query;
    db::Transaction &m_transaction;
};

} // namespace tg
