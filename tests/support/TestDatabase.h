#pragma once

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QStringList>

// The tests' own connections to their databases: created the way the suite
// creates a database, attached with the tests' login, written in committed
// transactions outside the program's own.
namespace tg::test {

// The parameter lines of the tests' attachments.
inline QStringList testLogin()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")};
}

// Attaches to an existing database.
inline void attachTestDatabase(db::Database &database, const QString &path)
{
    database.setDatabaseName(path);
    database.params() = testLogin();
    database.connect();
}

// Creates a fresh database file at path the way the suite does (page size
// 4096, dialect 3) and leaves it attached.
inline void createTestDatabase(db::Database &database, const QString &path)
{
    database.setDatabaseName(path);
    database.params() = QStringList{QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbeam\""),
                                    QStringLiteral("PAGE_SIZE 4096")};
    database.setSqlDialect(3);
    database.createDatabase();
    database.params() = testLogin();
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
