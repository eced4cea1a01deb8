#pragma once

#include "taskgate_core_export.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace tg::db {

class Query;
class Transaction;

// How a run of statements that all went through is made lasting.
enum class CommitMode {
    Commit,          // the transaction ends
    CommitRetaining, // the transaction stays open
};

// Runs one statement for every value on the given query, all together or
// none: each statement is the text statementFor(value) builds, run after the
// query is closed. When every statement went through, the transaction is
// committed as mode says and the result is true. A database error of any
// statement, or of the commit itself, rolls back what the run wrote, starts
// the transaction again and gives false; when even that fails the
// connection is gone and the next statement reports it. Errors other than
// database errors reach the caller.
TASKGATE_CORE_EXPORT bool execAllOrNothing(Query &query, Transaction &transaction, const QStringList &values,
                      const std::function<QStringList(const QString &value)> &statementFor,
                      CommitMode mode);

} // namespace tg::db
