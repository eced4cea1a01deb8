// Several workstations, each a process of its own, on one user database and
// one company archive served by the private Firebird server.

#include "ServerSuite.h"
#include "WorkstationProcess.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

using namespace tg::test;

namespace {

const QString SemaphoreTaken = QStringLiteral("Errore: ci sono altre finestre critiche aperte");
const QString SessionClosed =
    QStringLiteral("Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare");
const QString RowLocked = QStringLiteral("Attenzione: altri utenti stanno lavorando su questo record.");
const QString OrphanReleased =
    QStringLiteral("Semaforo liberato: la postazione che lo aveva occupato non risulta più connessa");

class Workstations : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(serverPort(QStringLiteral(TASKGATE_TEST_SERVER_DIR)), 0)
            << "the private Firebird server is not running (CTest starts it with firebird_server_start)";
        suite = std::make_unique<ServerSuite>(QStringLiteral(TASKGATE_TEST_SERVER_DIR));
    }

    // Starts a workstation and logs the user in; returns it.
    WorkstationProcess &loggedIn(const QString &user)
    {
        workstations.push_back(std::make_unique<WorkstationProcess>(suite->workstationDirectory()));
        const WorkstationReply reply = workstations.back()->run(QStringLiteral("login ") + user);
        EXPECT_TRUE(reply.ok) << reply.detail.toStdString();
        EXPECT_TRUE(reply.messages.isEmpty()) << reply.messages.join(QLatin1Char('|')).toStdString();
        return *workstations.back();
    }
    QString user(const QString &statement) const { return suite->value(suite->userDatabase(), statement); }
    QString archive(const QString &statement) const { return suite->value(suite->rossi(), statement); }

    std::unique_ptr<ServerSuite> suite;
    std::vector<std::unique_ptr<WorkstationProcess>> workstations;
};

TEST_F(Workstations, SessionCodesAndWindowIdsNeverCollideUnderConcurrentLoginsAndCalls)
{
    const QStringList users{QStringLiteral("MARIO"), QStringLiteral("ANNA"), QStringLiteral("GINO"), QStringLiteral("LUCA")};
    constexpr int Calls = 200;
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < users.size(); ++i)
        workstations.push_back(std::make_unique<WorkstationProcess>(suite->workstationDirectory()));
    for (int i = 0; i < users.size(); ++i)
        workstations[i]->send(QStringLiteral("login ") + users[i]);
    QStringList sessions;
    for (auto &workstation : workstations) {
        const WorkstationReply reply = workstation->answer();
        ASSERT_TRUE(reply.ok) << reply.detail.toStdString();
        sessions << reply.detail;
    }
    for (auto &workstation : workstations)
        workstation->send(QStringLiteral("repeat %1 1 1").arg(Calls));
    for (auto &workstation : workstations) {
        const WorkstationReply reply = workstation->answer(240000);
        EXPECT_TRUE(reply.ok && reply.messages.isEmpty()) << reply.messages.join(QLatin1Char('|')).toStdString();
    }
    const qint64 elapsed = wall.elapsed();

    sessions.removeDuplicates();
    EXPECT_EQ(sessions.size(), users.size()) << "each login has a session code of its own";
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(DISTINCT CODICESESSIONE) FROM MARTILOG")), QString::number(users.size()));
    const int total = int(users.size()) * Calls;
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ WHERE FUNZIONECHIAMATA='RecX'")),
              QString::number(total))
        << "every call is logged";
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(DISTINCT IDFINESTRA) FROM MARTILOGFUNZ")), QString::number(total))
        << "every window id is distinct";
    EXPECT_EQ(suite->rows(suite->userDatabase(),
                          QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ GROUP BY CODICESESSIONE HAVING COUNT(*)<>%1")
                              .arg(Calls)),
              QStringList())
        << "each session logged its own calls";
    std::cout << "[ figures  ] " << users.size() << " workstations x " << Calls << " calls: " << total
              << " calls logged, " << user(QStringLiteral("SELECT COUNT(DISTINCT IDFINESTRA) FROM MARTILOGFUNZ")).toStdString()
              << " distinct window ids, " << sessions.size() << " sessions, " << elapsed << " ms wall time\n";
    RecordProperty("wall_ms", int(elapsed));
}

TEST_F(Workstations, CriticalWindowBlocksItsLinkedWindowElsewhereUntilReleasedFromTheSemaphoresScreen)
{
    WorkstationProcess &first = loggedIn(QStringLiteral("MARIO"));
    WorkstationProcess &second = loggedIn(QStringLiteral("ANNA"));

    EXPECT_TRUE(first.run(QStringLiteral("choose 1 2")).messages.isEmpty());
    EXPECT_EQ(first.run(QStringLiteral("windows")).detail, QStringLiteral("1")) << "the critical window is open";
    EXPECT_EQ(archive(QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE FORM='FinestraX' AND OCCUPATO=1")),
              QStringLiteral("1"));

    const WorkstationReply refused = second.run(QStringLiteral("choose 1 3"));
    ASSERT_EQ(refused.messages.size(), 1);
    EXPECT_TRUE(refused.messages.first().startsWith(SemaphoreTaken)) << refused.messages.first().toStdString();
    EXPECT_EQ(archive(QStringLiteral("SELECT UTENTE||'|'||FORM||'|'||DESCRIZIONE FROM SEMAFORIFANOMALIE")),
              QStringLiteral("2|RecY|Semaforo occupato"));
    EXPECT_EQ(archive(QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE FORM='RecY'")), QStringLiteral("0"))
        << "nothing was opened";

    // The second workstation frees it from its semaphores screen.
    EXPECT_EQ(second.run(QStringLiteral("release-semaphores")).detail, QStringLiteral("1"));
    EXPECT_EQ(archive(QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE OCCUPATO=1")), QStringLiteral("0"));
    const WorkstationReply allowed = second.run(QStringLiteral("choose 1 3"));
    EXPECT_TRUE(allowed.messages.isEmpty()) << allowed.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(archive(QStringLiteral("SELECT UTENTE||'|'||OCCUPATO FROM SEMAFORIF WHERE FORM='RecY'")),
              QStringLiteral("2|1"))
        << "opened by the second workstation";
}

TEST_F(Workstations, OfEightWorkstationsOpeningLinkedCriticalWindowsInOneInstantExactlyOneWins)
{
    // Each window of the pair blocks the other and itself.
    suite->exec(suite->rossi(), {QStringLiteral("UPDATE SEMAFORIFCRITICHE SET OSSERVATASPECIALE=1"),
                                 QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,"
                                                "FORMCOLLEGATA) VALUES ('taskgatetest.dll','FinestraX',"
                                                "'taskgatetest.dll','RecY')")});
    constexpr int Workstations = 8;
    constexpr int Rounds = 50;
    for (int i = 0; i < Workstations; ++i)
        loggedIn(i % 2 ? QStringLiteral("ANNA") : QStringLiteral("MARIO"));
    QList<int> winners;
    int refusals = 0;
    for (int round = 0; round < Rounds; ++round) {
        for (int i = 0; i < Workstations; ++i)
            workstations[i]->send(i % 2 ? QStringLiteral("choose 1 3") : QStringLiteral("choose 1 2"));
        int won = 0;
        for (int i = 0; i < Workstations; ++i) {
            const WorkstationReply reply = workstations[i]->answer();
            if (reply.messages.isEmpty()) {
                ++won;
                continue;
            }
            ++refusals;
            EXPECT_EQ(reply.messages.size(), 1) << reply.messages.join(QLatin1Char('|')).toStdString();
            EXPECT_TRUE(reply.messages.first().startsWith(SemaphoreTaken)) << reply.messages.first().toStdString();
        }
        winners << won;
        EXPECT_EQ(archive(QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE OCCUPATO=1")), QStringLiteral("1"))
            << "round " << round;
        // The winner's semaphore is freed from the semaphores screen for the next round.
        workstations[0]->run(QStringLiteral("release-semaphores"));
    }
    EXPECT_EQ(winners, QList<int>(Rounds, 1)) << "one winner in every round";
    std::cout << "[ figures  ] " << Workstations << " workstations x " << Rounds << " rounds: "
              << std::count(winners.cbegin(), winners.cend(), 1) << " rounds with exactly one winner, " << refusals
              << " refusals\n";
}

TEST_F(Workstations, KilledWorkstationsCriticalWindowIsTakenOverOnTheNextTryAndItsSessionIsClosedAsOrphaned)
{
    WorkstationProcess &dying = loggedIn(QStringLiteral("MARIO"));
    const QString dyingSession = user(QStringLiteral("SELECT MAX(CODICESESSIONE) FROM MARTILOG"));
    WorkstationProcess &other = loggedIn(QStringLiteral("MARIO"));
    const QString otherSession = user(QStringLiteral("SELECT MAX(CODICESESSIONE) FROM MARTILOG"));
    ASSERT_TRUE(dying.run(QStringLiteral("choose 1 2")).messages.isEmpty()) << "the critical window opens";

    // Alive, it blocks, and nothing of it counts as orphaned.
    const WorkstationReply blocked = other.run(QStringLiteral("choose 1 3"));
    ASSERT_EQ(blocked.messages.size(), 1);
    EXPECT_TRUE(blocked.messages.first().startsWith(SemaphoreTaken));
    QStringList sessions = other.run(QStringLiteral("sessions")).detail.split(QLatin1Char(','));
    sessions.sort();
    EXPECT_EQ(sessions, (QStringList{dyingSession + QStringLiteral(":Sì"), otherSession + QStringLiteral(":Sì")}));
    EXPECT_EQ(other.run(QStringLiteral("close-orphan-sessions")).detail, QString());
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NULL")), QStringLiteral("2"));

    dying.killHard();
    QElapsedTimer sinceKill;
    sinceKill.start();
    int tries = 0;
    WorkstationReply taken;
    do {
        ++tries;
        taken = other.run(QStringLiteral("choose 1 3"));
        if (taken.messages.isEmpty())
            break;
        EXPECT_TRUE(taken.messages.first().startsWith(SemaphoreTaken)) << taken.messages.first().toStdString();
        QThread::msleep(100);
    } while (sinceKill.elapsed() < 20000);
    const qint64 takeoverMs = sinceKill.elapsed();
    ASSERT_TRUE(taken.messages.isEmpty()) << "the dead workstation's window still blocks after " << takeoverMs << " ms";

    // Released as the semaphores screen releases it, with a row that says why.
    EXPECT_EQ(archive(QStringLiteral("SELECT OCCUPATO FROM SEMAFORIF WHERE FORM='FinestraX'")), QStringLiteral("0"));
    EXPECT_EQ(archive(QStringLiteral("SELECT UTENTE||'|'||FORM||'|'||DESCRIZIONE FROM SEMAFORIFANOMALIE "
                                     "WHERE DESCRIZIONE<>'Semaforo occupato'")),
              QStringLiteral("1|FinestraX|") + OrphanReleased);
    EXPECT_EQ(archive(QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE FORM='RecY' AND OCCUPATO=1")),
              QStringLiteral("1"))
        << "the window opened, with its own semaphore";

    // The open-sessions screen tells the dead session, and its command marks
    // it alone, so that the closing closes it.
    sessions = other.run(QStringLiteral("sessions")).detail.split(QLatin1Char(','));
    sessions.sort();
    EXPECT_EQ(sessions, (QStringList{dyingSession + QStringLiteral(":No"), otherSession + QStringLiteral(":Sì")}));
    EXPECT_EQ(other.run(QStringLiteral("close-orphan-sessions")).detail, dyingSession);
    EXPECT_EQ(user(QStringLiteral("SELECT CODICESESSIONE FROM MARTILOG WHERE DATACHIUSURA IS NULL")), otherSession);
    std::cout << "[ figures  ] killed workstation's critical window taken over " << takeoverMs
              << " ms after the kill, on try " << tries << "\n";
    RecordProperty("takeover_ms", int(takeoverMs));
}

TEST_F(Workstations, SemaphoresScreenSelectsOnlyTheSemaphoresOfWorkstationsThatAreGone)
{
    WorkstationProcess &dying = loggedIn(QStringLiteral("MARIO"));
    WorkstationProcess &living = loggedIn(QStringLiteral("ANNA"));
    // The critical window is not under special watch: both open it.
    ASSERT_TRUE(dying.run(QStringLiteral("choose 1 2")).messages.isEmpty());
    ASSERT_TRUE(living.run(QStringLiteral("choose 1 2")).messages.isEmpty());
    const QString dyingId = archive(QStringLiteral("SELECT ID FROM SEMAFORIF WHERE UTENTE=1"));
    const QString livingId = archive(QStringLiteral("SELECT ID FROM SEMAFORIF WHERE UTENTE=2"));
    EXPECT_EQ(living.run(QStringLiteral("release-orphan-semaphores")).detail, QString()) << "none while both live";

    dying.killHard();
    QElapsedTimer sinceKill;
    sinceKill.start();
    QString listed = living.run(QStringLiteral("semaphores")).detail;
    while (!listed.contains(dyingId + QStringLiteral(":No")) && sinceKill.elapsed() < 20000) {
        QThread::msleep(100);
        listed = living.run(QStringLiteral("semaphores")).detail;
    }
    const qint64 recognisedMs = sinceKill.elapsed();
    EXPECT_EQ(listed, livingId + QStringLiteral(":Sì,") + dyingId + QStringLiteral(":No")) << "highest ID first";

    EXPECT_EQ(living.run(QStringLiteral("release-orphan-semaphores")).detail, dyingId);
    EXPECT_EQ(archive(QStringLiteral("SELECT LIST(ID||':'||OCCUPATO) FROM (SELECT ID,OCCUPATO FROM SEMAFORIF ORDER BY ID)")),
              dyingId + QStringLiteral(":0,") + livingId + QStringLiteral(":1"));
    EXPECT_EQ(archive(QStringLiteral("SELECT UTENTE||'|'||DESCRIZIONE FROM SEMAFORIFANOMALIE")),
              QStringLiteral("2|Libera semafori"))
        << "the same anomaly row as a release by hand";
    std::cout << "[ figures  ] dead workstation's semaphore listed as not connected " << recognisedMs
              << " ms after the kill\n";
}

TEST_F(Workstations, SessionClosedElsewhereIsSeenAtTheNextChoiceAndItsClosingWritesNothing)
{
    WorkstationProcess &first = loggedIn(QStringLiteral("MARIO"));
    const QString session = user(QStringLiteral("SELECT CODICESESSIONE FROM MARTILOG WHERE CODICEUTENTE=1"));
    WorkstationProcess &second = loggedIn(QStringLiteral("ANNA"));
    EXPECT_TRUE(first.run(QStringLiteral("choose 1 1")).messages.isEmpty());

    EXPECT_TRUE(second.run(QStringLiteral("close-session ") + session).ok);
    const QString closedAt = user(
        QStringLiteral("SELECT DATACHIUSURA||' '||ORACHIUSURA FROM MARTILOG WHERE CODICESESSIONE=") + session);
    ASSERT_FALSE(closedAt.isEmpty()) << "closed by the other workstation";

    const WorkstationReply refused = first.run(QStringLiteral("choose 1 1"));
    EXPECT_EQ(refused.messages, QStringList{SessionClosed});
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ WHERE CODICESESSIONE=") + session),
              QStringLiteral("1"))
        << "the refused choice is not logged";

    // The clock moves on before the first workstation closes.
    QThread::msleep(1100);
    EXPECT_EQ(first.run(QStringLiteral("close")).detail, QStringLiteral("closed"));
    EXPECT_EQ(user(QStringLiteral("SELECT DATACHIUSURA||' '||ORACHIUSURA FROM MARTILOG WHERE CODICESESSIONE=") +
                   session),
              closedAt)
        << "closing a session closed elsewhere writes nothing";
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NULL")), QStringLiteral("1"))
        << "the other session stays open";
}

TEST_F(Workstations, RowEditedOnOneWorkstationIsRefusedAtOnceToAnotherUntilSavedOrCancelled)
{
    WorkstationProcess &first = loggedIn(QStringLiteral("MARIO"));
    WorkstationProcess &second = loggedIn(QStringLiteral("ANNA"));

    EXPECT_EQ(first.run(QStringLiteral("edit 2 da primo")).detail, QStringLiteral("locked"));
    QElapsedTimer refusal;
    refusal.start();
    const WorkstationReply refused = second.run(QStringLiteral("edit 2 da secondo"));
    const qint64 refusalMs = refusal.elapsed();
    EXPECT_EQ(refused.detail, QStringLiteral("refused"));
    ASSERT_EQ(refused.messages.size(), 1);
    EXPECT_TRUE(refused.messages.first().startsWith(RowLocked));
    EXPECT_LT(refusalMs, 3000) << "no waiting on the lock";
    EXPECT_EQ(second.run(QStringLiteral("edit 1 altra riga")).detail, QStringLiteral("locked")) << "other rows stay free";
    second.run(QStringLiteral("cancel"));

    first.run(QStringLiteral("save"));
    EXPECT_EQ(archive(QStringLiteral("SELECT TESTO FROM TABX WHERE CODICE=2")), QStringLiteral("da primo"));
    EXPECT_EQ(second.run(QStringLiteral("edit 2 da secondo")).detail, QStringLiteral("locked")) << "free after the save";

    EXPECT_EQ(first.run(QStringLiteral("edit 2 ancora")).detail, QStringLiteral("refused"));
    second.run(QStringLiteral("cancel"));
    EXPECT_EQ(first.run(QStringLiteral("edit 2 ancora")).detail, QStringLiteral("locked")) << "free after the cancel";
    first.run(QStringLiteral("save"));
    EXPECT_EQ(archive(QStringLiteral("SELECT TESTO FROM TABX WHERE CODICE=2")), QStringLiteral("ancora"));
}

TEST_F(Workstations, CompanyOfTheUserIsTheOneItsLastWriterSet)
{
    WorkstationProcess &first = loggedIn(QStringLiteral("MARIO"));
    WorkstationProcess &second = loggedIn(QStringLiteral("MARIO"));
    const QString company = QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1");

    EXPECT_EQ(second.run(QStringLiteral("key F12")).detail, QStringLiteral("VERDI SRL"));
    EXPECT_EQ(user(company), QStringLiteral("VERDI SRL"));

    // The first workstation still works on ROSSI SPA: its next call writes it back.
    EXPECT_EQ(first.run(QStringLiteral("company")).detail, QStringLiteral("ROSSI SPA"));
    EXPECT_TRUE(first.run(QStringLiteral("choose 1 1")).messages.isEmpty());
    EXPECT_EQ(user(company), QStringLiteral("ROSSI SPA"));

    EXPECT_EQ(second.run(QStringLiteral("choose 1 1")).messages, QStringList());
    EXPECT_EQ(user(company), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(first.run(QStringLiteral("key F12")).detail, QStringLiteral("VERDI SRL"));
    EXPECT_EQ(second.run(QStringLiteral("key F12")).detail, QStringLiteral("ROSSI SPA"));
    EXPECT_EQ(user(company), QStringLiteral("ROSSI SPA"));
}

} // namespace
