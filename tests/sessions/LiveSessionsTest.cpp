#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "sessions/LiveSessions.h"
#include "sessions/OpenSessions.h"
#include "sessions/WorkSessions.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// An embedded engine sees the attachments of its own process only: a
// session that no attachment here carries may well be alive on another
// workstation, so nothing is told gone, although the attachment is marked.
TEST(LiveSessionsEmbedded, LoginMarksTheAttachmentButNothingIsToldGoneAndTheListShowsNoConnectionColumn)
{
    AppDirectory app;
    // Session 40: another workstation's, never seen here.
    app.execUser({QStringLiteral("INSERT INTO MARTILOG (CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE) "
                                 "VALUES (40,CURRENT_DATE,CURRENT_TIME,1)")});
    RecordingPrompter prompter;
    db::Database database;
    attachTestDatabase(database, app.userDatabasePath());
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    int sessionCode = 0;
    const bool logWindows = true;
    WorkSessions sessions(query, transaction, sessionCode, logWindows);
    sessions.ApriSessione(1);
    ASSERT_TRUE(prompter.messages.isEmpty());

    query.close();
    query.sql() = QStringList{QStringLiteral("SELECT RDB$GET_CONTEXT('USER_SESSION','TASKGATE_SESSION_%1') FROM RDB$DATABASE")
                                  .arg(sessionCode)};
    query.open();
    EXPECT_EQ(query.field(0).asText(), QString::number(sessionCode)) << "the login marks its attachment";
    query.close();

    const LiveSessions live = LiveSessions::read(database);
    EXPECT_FALSE(live.known());
    EXPECT_EQ(live.connected(40, QDateTime::currentDateTime()), std::nullopt);
    EXPECT_EQ(live.connected(sessionCode, QDateTime::currentDateTime()), std::nullopt);
    EXPECT_EQ(LiveSessions::windows(database, {{1, 1, QStringLiteral("FinestraX")}}), std::nullopt);

    db::Query list(&database, &transaction);
    db::Query aux(&database, &transaction);
    OpenSessions open(list, aux, transaction);
    open.restartTransaction();
    open.carica(1, &live);
    EXPECT_EQ(open.rowCount(), 2);
    EXPECT_EQ(open.columns().join(QLatin1Char(',')), QStringLiteral("CODICESESSIONE,DATAAPERTURA,ORAAPERTURA"));
    EXPECT_TRUE(open.orfane().isEmpty());
}

} // namespace
