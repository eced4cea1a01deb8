#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "semaphores/TakenSemaphores.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// An archive with semaphores 12 and 5 taken and 7 released, attached twice:
// once for the screen's statements, once for another workstation.
class TakenSemaphoresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = app.createArchive(QStringLiteral("archivio.fdb"));
        AppDirectory::exec(path, {QStringLiteral("INSERT INTO SEMAFORIF VALUES(5,'a.dll','W',1,1,'NOW')"),
                                  QStringLiteral("INSERT INTO SEMAFORIF VALUES(12,'a.dll','V',2,1,'NOW')"),
                                  QStringLiteral("INSERT INTO SEMAFORIF VALUES(7,'b.dll','Z',2,0,'NOW')")});
        for (db::Database *database : {&archive, &otherWorkstation})
            attachTestDatabase(*database, path);
        transaction.setDefaultDatabase(&archive);
        transaction.params() << QStringLiteral("isc_tpb_concurrency") << QStringLiteral("isc_tpb_nowait");
        for (db::Query *query : {&list, &aux}) {
            query->setDatabase(&archive);
            query->setTransaction(&transaction);
        }
        semaphores.restartTransaction();
    }
    QStringList taken() const
    {
        return AppDirectory::queryRows(path, QStringLiteral("SELECT ID,OCCUPATO FROM SEMAFORIF ORDER BY ID"));
    }

    AppDirectory app;
    QString path;
    db::Database archive;
    db::Database otherWorkstation;
    db::Transaction transaction;
    db::Query list;
    db::Query aux;
    TakenSemaphores semaphores{list, aux, transaction};
};

TEST_F(TakenSemaphoresTest, ARowLockedElsewhereUndoesTheWholeRelease)
{
    semaphores.carica();
    ASSERT_EQ(semaphores.rowCount(), 2);
    EXPECT_EQ(semaphores.id(0), QStringLiteral("12"));

    // Another workstation is changing row 5 and has not committed yet.
    db::Transaction pending(&otherWorkstation);
    pending.params() << QStringLiteral("isc_tpb_concurrency") << QStringLiteral("isc_tpb_nowait");
    db::Query lock(&otherWorkstation, &pending);
    lock.sql() << QStringLiteral("UPDATE SEMAFORIF SET UTENTE=UTENTE WHERE ID=5");
    lock.execSql();

    const QStringList before = taken();
    EXPECT_FALSE(semaphores.libera({QStringLiteral("12"), QStringLiteral("5")}));
    pending.rollback();
    EXPECT_EQ(taken(), before) << "12 was released before 5 failed, and is taken again";

    EXPECT_TRUE(semaphores.libera({QStringLiteral("12"), QStringLiteral("5")})) << "the transaction was started again";
    EXPECT_EQ(taken(), (QStringList{QStringLiteral("5|0"), QStringLiteral("7|0"), QStringLiteral("12|0")}));
    EXPECT_TRUE(transaction.active()) << "the commit keeps the archive's transaction open";
}

TEST_F(TakenSemaphoresTest, AnUnreadableTableLeavesNoRows)
{
    semaphores.carica();
    ASSERT_EQ(semaphores.rowCount(), 2);
    transaction.rollback(); // frees the statement, so the table can be dropped
    AppDirectory::exec(path, {QStringLiteral("DROP TABLE SEMAFORIF")});
    EXPECT_THROW(semaphores.carica(), db::DatabaseError);
    EXPECT_EQ(semaphores.rowCount(), 0);
    EXPECT_TRUE(semaphores.columns().isEmpty());
    EXPECT_EQ(semaphores.id(0), QString());
}

} // namespace
