#pragma once

#include "taskgate_core_export.h"

#include "db/Owned.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Firebird {
class IAttachment;
}

namespace tg::db {

class Transaction;

// One connection to a Firebird database. The database name is what the client
// is handed: a local path (embedded engine), "server:path", "server/port:path"
// or "server:alias". Parameter lines are "user_name=…" and "password=…" for an
// attachment, and USER "…", PASSWORD "…", PAGE_SIZE n for a creation.
class TASKGATE_CORE_EXPORT Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void setDatabaseName(const QString &name) { m_name = name; }
    const QString &databaseName() const { return m_name; }
    QStringList &params() { return m_params; }
    const QStringList &params() const { return m_params; }
    void setLoginPrompt(bool on) { m_loginPrompt = on; }
    bool loginPrompt() const { return m_loginPrompt; }
    void setSqlDialect(int dialect) { m_dialect = dialect; }
    int sqlDialect() const { return m_dialect; }
    void setDefaultTransaction(Transaction *transaction) { m_defaultTransaction = transaction; }
    Transaction *defaultTransaction() const { return m_defaultTransaction; }

    bool connected() const { return bool(m_attachment); }
    // Attaches with the parameter lines; throws DatabaseError on failure.
    void connect();
    // Creates the database under its name from the parameter lines and
    // leaves it attached; throws DatabaseError on failure.
    void createDatabase();
    // Commits every transaction still open on this database, then detaches.
    // Never throws: a transaction whose commit fails is rolled back.
    void disconnect();
    // After the connection was lost: lets the dead attachment and its
    // transactions go and attaches again under the same name and parameter
    // lines; throws DatabaseError when the server cannot be reached.
    void reconnect();
    // Counts the attachments made by this object: a statement prepared on an
    // earlier one cannot run on the current one.
    quint64 attachmentNumber() const { return m_attachmentNumber; }

    Firebird::IAttachment *attachment() const { return m_attachment.get(); }

    // Transactions register themselves so that a disconnect can end them.
    void registerTransaction(Transaction *transaction);
    void unregisterTransaction(Transaction *transaction);

private:
    QString m_name;
    QStringList m_params;
    bool m_loginPrompt = true;
    int m_dialect = 3;
    Transaction *m_defaultTransaction = nullptr;
    client::Owned<Firebird::IAttachment> m_attachment;
    quint64 m_attachmentNumber = 0;
    QList<Transaction *> m_transactions;
};

} // namespace tg::db
