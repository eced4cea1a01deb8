#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/DatabaseError.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tg;
using namespace tg::test;

namespace {

qint64 countRows(db::Database &database, const QString &table)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("SELECT COUNT(*) FROM %1").arg(table);
    query.open();
    return query.field(0).asInteger();
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        createTestDatabase(database, dir.file(QStringLiteral("test.fdb")));
        execCommitted(database, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, TXT VARCHAR(60))"));
        execCommitted(database, QStringLiteral("INSERT INTO T VALUES (1, 'uno')"));
    }

    TempDir dir;
    db::Database database;
};

TEST_F(DatabaseTest, CreatedWithSuitePageSizeAndDialect)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("SELECT MON$PAGE_SIZE, MON$SQL_DIALECT FROM MON$DATABASE");
    query.open();
    EXPECT_EQ(query.field(0).asInteger(), 4096);
    EXPECT_EQ(query.field(1).asInteger(), 3);
}

TEST_F(DatabaseTest, DisconnectCommitsOpenTransactionsAndReconnectSeesThem)
{
    db::Transaction transaction(&database);
    db::Query insert(&database, &transaction);
    insert.sql() << QStringLiteral("INSERT INTO T VALUES (2, 'due')");
    insert.execSql();
    ASSERT_TRUE(transaction.active());
    database.disconnect();
    EXPECT_FALSE(transaction.active());
    database.connect();
    EXPECT_EQ(countRows(database, QStringLiteral("T")), 2);
}

TEST_F(DatabaseTest, RollbackDiscardsAndCommitRetainingKeepsCursorOpen)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("INSERT INTO T VALUES (3, 'tre')");
    query.execSql();
    transaction.rollback();
    EXPECT_EQ(countRows(database, QStringLiteral("T")), 1);

    execCommitted(database, QStringLiteral("INSERT INTO T VALUES (4, 'quattro')"));
    db::Query reader(&database, &transaction);
    reader.sql() << QStringLiteral("SELECT ID FROM T ORDER BY ID");
    reader.open();
    transaction.commitRetaining();
    ASSERT_TRUE(reader.active());
    reader.next();
    EXPECT_EQ(reader.field(0).asInteger(), 4);
    transaction.commit();
    EXPECT_FALSE(reader.active()) << "a hard commit closes the cursors of the transaction";
}

// Writes one row through a transaction of its own scope when it goes: a
// clean-up that runs while an exception unwinds past it.
struct WritesWhenDestroyed {
    db::Database &database;
    ~WritesWhenDestroyed()
    {
        db::Transaction transaction(&database);
        db::Query insert(&database, &transaction);
        insert.sql() << QStringLiteral("INSERT INTO T VALUES (5, 'cinque')");
        insert.execSql();
    }
};

TEST_F(DatabaseTest, ScopeLeftByAnExceptionRollsBackAndAScopeLeftNormallyCommits)
{
    const auto failingOperation = [this] {
        WritesWhenDestroyed cleanUp{database};
        db::Transaction transaction(&database);
        db::Query insert(&database, &transaction);
        insert.sql() << QStringLiteral("INSERT INTO T VALUES (2, 'due')");
        insert.execSql();
        throw std::runtime_error("the operation fails after its first write");
    };
    EXPECT_THROW(failingOperation(), std::runtime_error);
    EXPECT_EQ(countRows(database, QStringLiteral("T WHERE ID = 2")), 0)
        << "half of a failed operation was committed";
    EXPECT_EQ(countRows(database, QStringLiteral("T WHERE ID = 5")), 1)
        << "a transaction begun and ended inside the unwinding is not part of the failure";

    {
        db::Transaction transaction(&database);
        db::Query insert(&database, &transaction);
        insert.sql() << QStringLiteral("INSERT INTO T VALUES (3, 'tre')");
        insert.execSql();
    }
    EXPECT_EQ(countRows(database, QStringLiteral("T WHERE ID = 3")), 1);
}

TEST_F(DatabaseTest, ClientErrorsBecomeExceptionsWithTheClientText)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("SELECT * FROM NO_SUCH_TABLE");
    try {
        query.open();
        FAIL() << "a missing table must throw";
    } catch (const db::DatabaseError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("NO_SUCH_TABLE"))) << error.message().toStdString();
        EXPECT_EQ(error.sqlState(), QStringLiteral("42S02"));
    }
    EXPECT_FALSE(query.active());
    // The transaction is still usable after the failed statement.
    query.sql().clear();
    query.sql() << QStringLiteral("SELECT COUNT(*) FROM T");
    query.open();
    EXPECT_EQ(query.field(0).asInteger(), 1);
}

TEST_F(DatabaseTest, NowaitConcurrencyConflictFailsAtOnce)
{
    db::Database other;
    other.setDatabaseName(database.databaseName());
    other.params() = database.params();
    other.connect();
    db::Transaction first(&database);
    db::Transaction second(&other);
    for (auto *transaction : {&first, &second})
        transaction->params() = QStringList{QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")};
    db::Query update1(&database, &first);
    update1.sql() << QStringLiteral("UPDATE T SET TXT='a' WHERE ID=1");
    update1.execSql();
    db::Query update2(&other, &second);
    update2.sql() << QStringLiteral("UPDATE T SET TXT='b' WHERE ID=1");
    QElapsedTimer timer;
    timer.start();
    try {
        update2.execSql();
        FAIL() << "the second writer must be refused";
    } catch (const db::DatabaseError &error) {
        EXPECT_EQ(error.sqlState(), QStringLiteral("40001"));
    }
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(second.active()) << "a failed statement leaves the transaction open";
    first.commit();
}

TEST(DatabaseConnection, MissingFileAndUnreachableServerFailQuickly)
{
    TempDir dir;
    db::Database database;
    database.params() = testLogin();
    database.setDatabaseName(dir.file(QStringLiteral("absent.fdb")));
    EXPECT_THROW(database.connect(), db::DatabaseError);
    EXPECT_FALSE(database.connected());

    database.setDatabaseName(QStringLiteral("127.0.0.1/1:") + dir.file(QStringLiteral("absent.fdb")));
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(database.connect(), db::DatabaseError);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST(DatabaseConnection, ReconnectsWithTheLinesOfItsCreation)
{
    TempDir dir;
    db::Database database;
    database.setDatabaseName(dir.file(QStringLiteral("r.fdb")));
    database.params() = QStringList{QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbeam\""),
                                    QStringLiteral("PAGE_SIZE 4096")};
    database.createDatabase();
    database.disconnect();
    EXPECT_NO_THROW(database.connect());
    EXPECT_TRUE(database.connected());
    database.params() << QStringLiteral("nonsense_key=1");
    database.disconnect();
    EXPECT_THROW(database.connect(), db::DatabaseError);
}

TEST(DatabaseConnection, ObserverSeesConnectionsCreationsAndStatements)
{
    TempDir dir;
    RecordingObserver observer;
    db::Database database;
    createTestDatabase(database, dir.file(QStringLiteral("o.fdb")));
    database.disconnect();
    database.connect();
    execCommitted(database, QStringLiteral("CREATE TABLE X (A INTEGER)"));
    ASSERT_EQ(observer.creations.size(), 1);
    EXPECT_EQ(observer.creations.first(),
              QStringLiteral("CREATE DATABASE '%1' USER \"SYSDBA\" PASSWORD \"quillbeam\" PAGE_SIZE 4096")
                  .arg(dir.file(QStringLiteral("o.fdb"))));
    EXPECT_EQ(observer.connections, QStringList{dir.file(QStringLiteral("o.fdb"))});
    EXPECT_EQ(observer.statements, QStringList{QStringLiteral("CREATE TABLE X (A INTEGER)")});
}

} // namespace
