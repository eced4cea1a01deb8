#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg::db {

// Sees what reaches the database client: each connection string tried, each
// database creation and each statement text. Tests and benchmarks install one.
class TASKGATE_CORE_EXPORT StatementObserver {
public:
    virtual ~StatementObserver() = default;
    virtual void connectionTried(const QString &databaseName) { (void)databaseName; }
    virtual void creationTried(const QString &statement) { (void)statement; }
    virtual void statementRun(const QString &text) { (void)text; }
    // A transaction was committed (retaining: it stays open).
    virtual void committed(bool retaining) { (void)retaining; }

    static StatementObserver *current();
    static void install(StatementObserver *observer); // not owned; nullptr removes it
};

} // namespace tg::db
