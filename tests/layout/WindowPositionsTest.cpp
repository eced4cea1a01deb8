#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "layout/WindowPositions.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class WindowPositions : public ::testing::Test {
protected:
    void SetUp() override
    {
        attachTestDatabase(database, app.userDatabasePath());
    }
    QStringList rows() const
    {
        return app.queryUserRows(QStringLiteral(
            "SELECT CODICESITUAZIONE,CODICEUTENTE,CODICEPROGETTO,POSX,POSY,DIMX,DIMY FROM \"STOPOS1\" ORDER BY CODICEUTENTE"));
    }

    AppDirectory app;
    db::Database database;
};

TEST_F(WindowPositions, WritesOnlyWhenTheGeometryDiffers)
{
    const QString select = QStringLiteral("SELECT * FROM \"STOPOS1\"\nWHERE (CodiceSituazione=1)\n"
                                          "AND (CodiceUtente=3)\nAND (CodiceProgetto=1)");
    RecordingObserver observer;
    SalvaPosizioneFinestra(QRect(0, 0, 460, 600), 3, 1, 1, database);
    // The row's SELECT, whose columns the write statements take, and the
    // insert: no second reading over the network.
    ASSERT_EQ(observer.statements.size(), 2);
    EXPECT_EQ(observer.statements[0], select);
    EXPECT_TRUE(observer.statements[1].startsWith(QStringLiteral("INSERT INTO \"STOPOS1\"\n(\n")));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("1|3|1|0|0|460|600")});

    observer.statements.clear();
    SalvaPosizioneFinestra(QRect(0, 0, 460, 600), 3, 1, 1, database);
    EXPECT_EQ(observer.statements, QStringList{select}) << "nothing but the SELECT runs for an unchanged window";

    observer.statements.clear();
    SalvaPosizioneFinestra(QRect(5, 0, 460, 600), 3, 1, 1, database);
    ASSERT_EQ(observer.statements.size(), 2);
    EXPECT_TRUE(observer.statements[1].startsWith(
        QStringLiteral("UPDATE \"STOPOS1\"\nSET\nCODICESITUAZIONE=:CODICESITUAZIONE,\n")));
    EXPECT_TRUE(observer.statements[1].endsWith(QStringLiteral(
        "DIMY=:DIMY\nWHERE (CodiceSituazione=1)\nAND (CodiceUtente=3)\nAND (CodiceProgetto=1)")));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("1|3|1|5|0|460|600")});

    // The height is the last of the four compared: a change of it alone is a change.
    observer.statements.clear();
    SalvaPosizioneFinestra(QRect(5, 0, 460, 640), 3, 1, 1, database);
    ASSERT_EQ(observer.statements.size(), 2) << "a window whose height alone changed is saved";
    EXPECT_TRUE(observer.statements[1].startsWith(QStringLiteral("UPDATE \"STOPOS1\"\n")));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("1|3|1|5|0|460|640")});

    SalvaPosizioneFinestra(QRect(1, 2, 3, 4), 4, 1, 1, database);
    EXPECT_EQ(rows().size(), 2) << "another user gets a row of their own";
}

TEST_F(WindowPositions, FurtherColumnsAreCarriedAlong)
{
    // Each goes back as its own type: a date stays a date, a number keeps
    // its fraction.
    app.execUser({QStringLiteral("ALTER TABLE \"STOPOS1\" ADD NOTA VARCHAR(20), ADD SALVATA DATE, ADD SCALA DOUBLE PRECISION"),
                  QStringLiteral("INSERT INTO \"STOPOS1\" (CODICESITUAZIONE,CODICEUTENTE,CODICEPROGETTO,POSX,POSY,DIMX,"
                                 "DIMY,NOTA,SALVATA,SCALA) VALUES (1,3,1,0,0,10,10,'l''ultima',DATE '2023-12-31',1.5)")});
    SalvaPosizioneFinestra(QRect(0, 0, 460, 600), 3, 1, 1, database);
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT DIMX,NOTA,SALVATA,SCALA FROM \"STOPOS1\"")),
              QStringList{QStringLiteral("460|l'ultima|31/12/2023|1.5")});
}

TEST_F(WindowPositions, StatementsFollowTheColumnsAndTheKindIgnoresCase)
{
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("SELECT POSX, DIMY FROM \"STOPOS1\"");
    UpdateStatements upper;
    UpdateStatements lower;
    PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("UPDATE"), upper);
    PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("update"), lower);
    PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("Insert"), lower);
    EXPECT_EQ(upper.modifySql, (QStringList{QStringLiteral("UPDATE \"STOPOS1\""), QStringLiteral("SET"),
                                            QStringLiteral("POSX=:POSX,"), QStringLiteral("DIMY=:DIMY")}));
    EXPECT_EQ(lower.modifySql, upper.modifySql);
    EXPECT_EQ(lower.insertSql, (QStringList{QStringLiteral("INSERT INTO \"STOPOS1\""), QStringLiteral("("),
                                            QStringLiteral("POSX,"), QStringLiteral("DIMY"), QStringLiteral(")"),
                                            QStringLiteral("VALUES"), QStringLiteral("("), QStringLiteral(":POSX,"),
                                            QStringLiteral(":DIMY"), QStringLiteral(")")}));
    UpdateStatements none;
    PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("DELETE"), none);
    EXPECT_TRUE(none.modifySql.isEmpty());
    EXPECT_TRUE(none.insertSql.isEmpty());
}

} // namespace
