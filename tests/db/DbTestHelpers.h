#pragma once

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QStringList>

namespace tg::test {

// Creates a fresh database file at path the way the suite does (page size
// 4096, dialect 3) and leaves it attached.
inline void createTestDatabase(db::Database &database, const QString &path)
{
    database.setDatabaseName(path);
    database.params() = QStringList{QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbeam\""),
                                    QStringLiteral("PAGE_SIZE 4096")};
    database.setSqlDialect(3);
    database.createDatabase();
    database.params() = QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")};
}

// Runs one statement in its own committed transaction.
inline void execCommitted(db::Database &database, const QString &statement)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << statement;
    query.execSql();
    transaction.commit();
}

} // namespace tg::test
