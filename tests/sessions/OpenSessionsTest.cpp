#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "sessions/OpenSessions.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

QString session(int code, int user, const QString &closing = QStringLiteral("NULL,NULL"))
{
    return QStringLiteral("INSERT INTO MARTILOG (CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,"
                          "ORACHIUSURA) VALUES (%1,'03/01/2024','08:%2:00',%3,%4)")
        .arg(code)
        .arg(code % 60, 2, 10, QLatin1Char('0'))
        .arg(user)
        .arg(closing);
}

class OpenSessionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({session(10, 1), session(11, 1), session(12, 1, QStringLiteral("'03/02/2024','18:00:00'")),
                      session(13, 2)});
        attachTestDatabase(database, app.userDatabasePath());
        transaction.setDefaultDatabase(&database);
        for (db::Query *query : {&list, &aux}) {
            query->setDatabase(&database);
            query->setTransaction(&transaction);
        }
        sessions.restartTransaction();
    }
    QStringList closings() const
    {
        return app.queryUserRows(QStringLiteral(
            "SELECT CODICESESSIONE,DATACHIUSURA,ORACHIUSURA FROM MARTILOG ORDER BY CODICESESSIONE"));
    }

    AppDirectory app;
    db::Database database;
    db::Transaction transaction;
    db::Query list;
    db::Query aux;
    OpenSessions sessions{list, aux, transaction};
    const QDateTime moment{QDate(2024, 3, 9), QTime(17, 5, 7)};
};

TEST_F(OpenSessionsTest, ClosingIsAllOrNothingAndTheTransactionStaysUsable)
{
    app.execUser({QStringLiteral("CREATE EXCEPTION E_SESSIONE 'sessione bloccata'"),
                  QStringLiteral("CREATE TRIGGER T_SESSIONE FOR MARTILOG BEFORE UPDATE AS BEGIN "
                                 "IF (NEW.CODICESESSIONE = 11) THEN EXCEPTION E_SESSIONE; END")});
    const QStringList before = closings();
    EXPECT_FALSE(sessions.chiudi({QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("13")}, moment));
    EXPECT_EQ(closings(), before) << "the update of 10 that went through is undone";

    EXPECT_TRUE(sessions.chiudi({QStringLiteral("10")}, moment));
    EXPECT_EQ(closings()[0], QStringLiteral("10|09/03/2024|17:05:07"));
    sessions.carica(1);
    EXPECT_EQ(sessions.code(0), QStringLiteral("11"));
    EXPECT_EQ(sessions.rowCount(), 1) << "only 11 is left open";
}

TEST_F(OpenSessionsTest, AClosedSessionKeepsItsClosingMoment)
{
    EXPECT_TRUE(sessions.chiudi({QStringLiteral("12"), QStringLiteral("10")}, moment));
    EXPECT_EQ(closings()[2], QStringLiteral("12|02/03/2024|18:00:00"));
    EXPECT_EQ(closings()[0], QStringLiteral("10|09/03/2024|17:05:07"));
    EXPECT_TRUE(sessions.chiudi({QStringLiteral("10")}, moment.addDays(1)));
    EXPECT_EQ(closings()[0], QStringLiteral("10|09/03/2024|17:05:07"));
}

} // namespace
