#pragma once

#include "taskgate_core_export.h"

#include "db/Owned.h"

#include <QList>
#include <QStringList>

namespace Firebird {
class ITransaction;
}

namespace tg::db {

class Database;
class Query;

// A transaction on one database. Parameters are the names of the TPB items
// ("isc_tpb_concurrency", "isc_tpb_nowait", "isc_tpb_read_committed", …);
// none means the client's defaults (concurrency, write, wait). A statement run
// on an inactive transaction starts it. Destroying an active transaction
// commits it, unless an exception is unwinding the scope the transaction was
// made in: then what it wrote is part of a failed operation and is rolled
// back. (A disconnect still commits every transaction of its database.)
class TASKGATE_CORE_EXPORT Transaction {
public:
    explicit Transaction(Database *database = nullptr);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void setDefaultDatabase(Database *database);
    Database *defaultDatabase() const { return m_database; }
    QStringList &params() { return m_params; }

    bool active() const { return bool(m_handle); }
    void start();
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    // Ends the transaction with a commit when active; a failed commit is
    // rolled back. Used when a connection closes. Never throws.
    void endWithCommit() noexcept;
    // Ends the transaction with a rollback when active. Never throws.
    void endWithRollback() noexcept;

    // The client's handle, starting the transaction when inactive.
    Firebird::ITransaction *handle();

    // Queries register themselves so that ending the transaction closes them.
    void registerQuery(Query *query);
    void unregisterQuery(Query *query);

private:
    void closeQueries();

    Database *m_database = nullptr;
    QStringList m_params;
    client::Owned<Firebird::ITransaction> m_handle;
    // Exceptions in flight when the transaction was made: more of them when
    // it is destroyed means an exception is leaving its scope.
    int m_unwindingAtCreation;
    QList<Query *> m_queries;
};

} // namespace tg::db
