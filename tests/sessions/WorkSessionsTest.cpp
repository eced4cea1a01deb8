#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Clock.h"
#include "sessions/WorkSessions.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class Sessions : public ::testing::Test {
protected:
    void SetUp() override
    {
        attachTestDatabase(database, app.userDatabasePath());
        transaction.setDefaultDatabase(&database);
        transaction.params() << QStringLiteral("isc_tpb_concurrency") << QStringLiteral("isc_tpb_nowait");
        query.setDatabase(&database);
        query.setTransaction(&transaction);
    }
    QStringList sessionRows() const
    {
        return app.queryUserRows(QStringLiteral(
            "SELECT CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,ORACHIUSURA FROM MARTILOG"));
    }
    QStringList callRows() const
    {
        return app.queryUserRows(QStringLiteral("SELECT CODICESESSIONE,FUNZIONECHIAMATA,IDFINESTRA FROM MARTILOGFUNZ "
                                                "ORDER BY IDFINESTRA"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    SteppingClock clock;
    db::Database database;
    db::Transaction transaction;
    db::Query query;
    int sessionCode = 0;
    bool logWindows = true;
    WorkSessions sessions{query, transaction, sessionCode, logWindows};
};

TEST_F(Sessions, SessionIsOpenedWithGeneratedCodeAndClosedOnce)
{
    sessions.ApriSessione(12);
    sessions.ApriSessione(12);
    EXPECT_EQ(sessionCode, 2);
    EXPECT_EQ(sessionRows().last(), QStringLiteral("2|09/03/2024|09:00:03|12||"))
        << "date and time come from two readings of the clock";
    EXPECT_TRUE(sessions.VerificaStatoSessione(true));
    sessions.ChiudiSessione();
    EXPECT_EQ(sessionRows().last(), QStringLiteral("2|09/03/2024|09:00:03|12|09/03/2024|09:00:05"));
    EXPECT_FALSE(sessions.VerificaStatoSessione(false));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Sessions, SessionClosedOrDeletedElsewhereIsSeenAndNotWrittenAgain)
{
    sessions.ApriSessione(1);
    ASSERT_TRUE(sessions.VerificaStatoSessione(true));
    app.execUser({QStringLiteral("UPDATE MARTILOG SET DATACHIUSURA='01/02/2024', ORACHIUSURA='10:00:00'")});
    EXPECT_FALSE(sessions.VerificaStatoSessione(true));
    sessions.ChiudiSessione();
    EXPECT_EQ(sessionRows().first().section(QLatin1Char('|'), 4), QStringLiteral("02/01/2024|10:00:00"));
    app.execUser({QStringLiteral("DELETE FROM MARTILOG")});
    EXPECT_FALSE(sessions.VerificaStatoSessione(true));
    EXPECT_FALSE(sessions.VerificaStatoSessione(false));
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Warning,
                   QStringLiteral("Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare")},
                  {MessageKind::Warning, QStringLiteral("Attenzione: non risulta aperta nessuna sessione di lavoro")}}));
}

TEST_F(Sessions, EveryCallGetsItsOwnWindowIdAndTheNameAsTyped)
{
    sessions.ApriSessione(1);
    QSet<int> ids;
    for (int i = 0; i < 5; ++i)
        ids.insert(sessions.AggiornaMartiLogFunz(QStringLiteral("ApriAnagrafica")));
    EXPECT_EQ(ids.size(), 5);
    EXPECT_FALSE(ids.contains(0));
    const int quoted = sessions.AggiornaMartiLogFunz(QStringLiteral("Apri'Clienti"));
    EXPECT_EQ(callRows().last(), QStringLiteral("1|Apri'Clienti|%1").arg(quoted));
    EXPECT_EQ(callRows().size(), 6);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Sessions, WithoutWindowTrackingCallsAreLoggedWithoutId)
{
    logWindows = false;
    sessions.ApriSessione(1);
    RecordingObserver observer;
    EXPECT_EQ(sessions.AggiornaMartiLogFunz(QStringLiteral("Funzione")), 0);
    ASSERT_EQ(observer.statements.size(), 1) << "no generator is read";
    EXPECT_EQ(observer.statements.first(),
              QStringLiteral("INSERT INTO MARTILOGFUNZ (CODICESESSIONE,DATACHIAMATAFUNZIONE,\n"
                             "ORACHIAMATAFUNZIONE,FUNZIONECHIAMATA\n) VALUES(\n'1',\n'03/09/2024',\n'09:00:03',\n"
                             "'Funzione'\n)"));
    EXPECT_EQ(callRows(), QStringList{QStringLiteral("1|Funzione|")});
}

class SessionWriteFailures : public Sessions {
protected:
    void SetUp() override
    {
        Sessions::SetUp();
        previous = QDir::currentPath();
        QDir::setCurrent(dumpDir.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    TempDir dumpDir;
    QString previous;
};

TEST_F(SessionWriteFailures, FailedWriteIsDumpedReportedAndTheCallGoesOn)
{
    sessions.ApriSessione(1);
    app.execUser({QStringLiteral("ALTER TABLE MARTILOGFUNZ ADD OBBLIGO INTEGER NOT NULL")});
    const int id = sessions.AggiornaMartiLogFunz(QStringLiteral("Funzione"));
    EXPECT_GT(id, 0) << "the id taken before the failed insert is still handed out";
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Warning,
                   QStringLiteral("Errore interno di INSERT: impossibile aggiornare il log delle voci di menu chiamata. "
                                  "Sarà comunque possibile continuare ad usare il programma")}}));
    QFile dump(dumpDir.file(QStringLiteral("Taskgate.AggiornaMartiLogFunz.sql")));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    const QByteArray contents = dump.readAll();
    EXPECT_TRUE(contents.startsWith("INSERT INTO MARTILOGFUNZ (CODICESESSIONE,DATACHIAMATAFUNZIONE,\r\n"));
    EXPECT_TRUE(contents.endsWith(QStringLiteral(",'%1'\r\n)\r\n").arg(id).toLatin1()));
}

TEST_F(SessionWriteFailures, UnwritableDumpStillTellsTheUser)
{
    app.execUser({QStringLiteral("DROP TABLE MARTILOG")});
    app.execUser({QStringLiteral("CREATE TABLE MARTILOG (CODICESESSIONE INTEGER)")});
    // The current directory disappears, so no dump file can be made there.
    QDir(dumpDir.path()).removeRecursively();
    sessions.ApriSessione(1);
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Error, QStringLiteral("Errore interno: impossibile aprire la sessione utente")}}));
    EXPECT_EQ(sessionCode, 1) << "the new code is kept";
}

TEST_F(Sessions, RecordedWindowCountsAsOpenUntilItIsClosed)
{
    sessions.ApriSessione(1);
    EXPECT_TRUE(sessions.VerificaFinestreAperte()) << "no calls, no windows";
    const int id = sessions.AggiornaMartiLogFunz(QStringLiteral("ApriFinestra"));
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    app.execUser({QStringLiteral("UPDATE MARTILOGFUNZ SET HANDLEFINESTRA=%1 WHERE IDFINESTRA=%2")
                      .arg(static_cast<qint64>(window->winId()))
                      .arg(id)});
    EXPECT_FALSE(sessions.VerificaFinestreAperte());
    window->close();
    EXPECT_TRUE(sessions.VerificaFinestreAperte());
}

} // namespace
