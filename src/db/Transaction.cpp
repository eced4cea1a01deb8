#include "db/Transaction.h"

#include "db/Client.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/StatementObserver.h"
#include "platform/Logging.h"

#include <exception>
#include <ibase.h>
#include <memory>

using namespace Firebird;

namespace tg::db {
namespace {

unsigned char tpbItem(const QString &name)
{
    static const struct {
        const char *name;
        unsigned char tag;
    } items[] = {
        {"isc_tpb_concurrency", isc_tpb_concurrency},
        {"isc_tpb_consistency", isc_tpb_consistency},
        {"isc_tpb_read_committed", isc_tpb_read_committed},
        {"isc_tpb_rec_version", isc_tpb_rec_version},
        {"isc_tpb_no_rec_version", isc_tpb_no_rec_version},
        {"isc_tpb_wait", isc_tpb_wait},
        {"isc_tpb_nowait", isc_tpb_nowait},
        {"isc_tpb_read", isc_tpb_read},
        {"isc_tpb_write", isc_tpb_write},
    };
    const QString key = name.trimmed().toLower();
    for (const auto &item : items) {
        if (key == QLatin1String(item.name))
            return item.tag;
    }
    throw DatabaseError(QStringLiteral("Unsupported transaction parameter: %1").arg(name));
}

} // namespace

Transaction::Transaction(Database *database) : m_unwindingAtCreation(std::uncaught_exceptions())
{
    setDefaultDatabase(database);
}

Transaction::~Transaction()
{
    if (std::uncaught_exceptions() > m_unwindingAtCreation)
        endWithRollback();
    else
        endWithCommit();
    const QList<Query *> queries = m_queries;
    for (Query *query : queries)
        query->forgetTransaction(this);
    if (m_database)
        m_database->unregisterTransaction(this);
}

void Transaction::setDefaultDatabase(Database *database)
{
    if (m_database == database)
        return;
    if (m_database)
        m_database->unregisterTransaction(this);
    m_database = database;
    if (m_database)
        m_database->registerTransaction(this);
}

void Transaction::start()
{
    if (active())
        return;
    if (!m_database || !m_database->connected())
        throw DatabaseError(QStringLiteral("Database not open"));
    client::Status status;
    const std::unique_ptr<IXpbBuilder, client::Dispose> tpb(
        client::util()->getXpbBuilder(&status, IXpbBuilder::TPB, nullptr, 0));
    for (const QString &name : std::as_const(m_params))
        tpb->insertTag(&status, tpbItem(name));
    m_handle.reset(m_database->attachment()->startTransaction(&status, tpb->getBufferLength(&status),
                                                              tpb->getBuffer(&status)));
}

ITransaction *Transaction::handle()
{
    start();
    return m_handle.get();
}

void Transaction::commit()
{
    if (!active())
        return;
    closeQueries();
    client::Status status;
    m_handle->commit(&status);
    m_handle.ended();
    if (StatementObserver *observer = StatementObserver::current())
        observer->committed(false);
}

void Transaction::commitRetaining()
{
    if (!active())
        return;
    client::Status status;
    m_handle->commitRetaining(&status);
    if (StatementObserver *observer = StatementObserver::current())
        observer->committed(true);
}

void Transaction::rollback()
{
    if (!active())
        return;
    closeQueries();
    client::Status status;
    m_handle->rollback(&status);
    m_handle.ended();
}

void Transaction::rollbackRetaining()
{
    if (!active())
        return;
    client::Status status;
    m_handle->rollbackRetaining(&status);
}

void Transaction::endWithCommit() noexcept
{
    if (!active())
        return;
    const QString databaseName = m_database ? m_database->databaseName() : QString();
    try {
        commit();
        return;
    } catch (const DatabaseError &error) {
        qCWarning(lcDb).noquote() << "Commit at the end of a transaction on" << databaseName
                                  << "failed, its changes are rolled back:" << error.message();
    }
    try {
        rollback();
        return;
    } catch (const DatabaseError &error) {
        qCWarning(lcDb).noquote() << "Rollback on" << databaseName << "failed too, the transaction is dropped:"
                                  << error.message();
    }
    // Neither worked (the connection is gone): drop the handle.
    m_handle.reset();
}

void Transaction::endWithRollback() noexcept
{
    if (!active())
        return;
    try {
        rollback();
        return;
    } catch (const DatabaseError &error) {
        qCWarning(lcDb).noquote() << "Rollback of a transaction on"
                                  << (m_database ? m_database->databaseName() : QString())
                                  << "left by an exception failed, the transaction is dropped:" << error.message();
    }
    m_handle.reset();
}

void Transaction::registerQuery(Query *query)
{
    if (!m_queries.contains(query))
        m_queries.append(query);
}

void Transaction::unregisterQuery(Query *query)
{
    m_queries.removeAll(query);
}

void Transaction::closeQueries()
{
    const QList<Query *> queries = m_queries;
    for (Query *query : queries)
        query->transactionEnded();
}

} // namespace tg::db
