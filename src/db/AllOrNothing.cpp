#include "db/AllOrNothing.h"

#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Logging.h"

namespace tg::db {
namespace {

void rollbackAndRestart(Query &query, Transaction &transaction) noexcept
{
    try {
        query.close();
        transaction.rollback();
        transaction.start();
    } catch (const DatabaseError &error) {
        // The connection is gone: the next statement reports it.
        qCWarning(lcDb).noquote() << "Rollback after a failed batch failed:" << error.message();
    }
}

} // namespace

bool execAllOrNothing(Query &query, Transaction &transaction, const QStringList &values,
                      const std::function<QStringList(const QString &value)> &statementFor,
                      CommitMode mode)
{
    try {
        for (const QString &value : values) {
            query.close();
            query.sql() = statementFor(value);
            query.execSql();
        }
        // A failed commit writes nothing either: it is undone like a failed statement.
        if (mode == CommitMode::CommitRetaining)
            transaction.commitRetaining();
        else
            transaction.commit();
        return true;
    } catch (const DatabaseError &error) {
        qCWarning(lcDb).noquote() << "A batch of statements failed and is undone:" << error.message();
        rollbackAndRestart(query, transaction);
        return false;
    }
}

} // namespace tg::db
