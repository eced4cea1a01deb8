// A server that goes away while people work, and one that never answers.

#include "ServerSuite.h"
#include "WorkstationProcess.h"

#include "archive/ArchiveLocator.h"
#include "data/TabX.h"
#include "shell/BaseMain.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/ExecutableDirectory.h"
#include "platform/IniFile.h"
#include "sessions/LiveSessions.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

using namespace tg;
using namespace tg::test;

namespace {

// Runs the private server script on `directory`; true when it succeeded.
bool serverScript(const QString &command, const QString &directory)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral(TASKGATE_SERVER_SCRIPT), {command, directory});
    return script.waitForFinished(60000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
}

const QString Unreachable = QStringLiteral("Connessione con il server del database interrotta: il collegamento non è "
                                           "ancora ripristinabile. Riprovare tra qualche istante.");

// A server of this test's own, so that stopping it disturbs no other test.
class ServerGoingAway : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(serverScript(QStringLiteral("start"), serverDirectory()));
        suite = std::make_unique<ServerSuite>(serverDirectory());
    }
    void TearDown() override
    {
        workstation.reset();
        suite.reset();
        EXPECT_TRUE(serverScript(QStringLiteral("stop"), serverDirectory()));
    }
    QString serverDirectory() const { return home.file(QStringLiteral("server")); }
    QString user(const QString &statement) const { return suite->value(suite->userDatabase(), statement); }

    TempDir home;
    std::unique_ptr<ServerSuite> suite;
    std::unique_ptr<WorkstationProcess> workstation;
};

TEST_F(ServerGoingAway, NextActionReportsTheClientsErrorTheProgramStaysUpAndNothingIsHalfWritten)
{
    workstation = std::make_unique<WorkstationProcess>(suite->workstationDirectory());
    ASSERT_TRUE(workstation->run(QStringLiteral("login MARIO")).ok);
    ASSERT_TRUE(workstation->run(QStringLiteral("choose 1 1")).messages.isEmpty());
    ASSERT_TRUE(workstation->run(QStringLiteral("edit 2 mai salvato")).detail == QStringLiteral("locked"));

    ASSERT_TRUE(serverScript(QStringLiteral("stop"), serverDirectory()));
    QElapsedTimer timer;
    timer.start();
    const WorkstationReply failed = workstation->run(QStringLiteral("choose 1 1"));
    EXPECT_LT(timer.elapsed(), 15000) << "the failure is reported, not waited out";
    ASSERT_FALSE(failed.messages.isEmpty()) << "the user is told";
    EXPECT_TRUE(failed.messages.join(QLatin1Char('|')).contains(QStringLiteral("connection"), Qt::CaseInsensitive))
        << "the database client's own text: " << failed.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(workstation->run(QStringLiteral("ping")).detail, QStringLiteral("pong")) << "the program stays up";
    EXPECT_FALSE(workstation->run(QStringLiteral("save")).messages.isEmpty()) << "saving fails with a message";

    ASSERT_TRUE(serverScript(QStringLiteral("resume"), serverDirectory()));
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ")), QStringLiteral("1"))
        << "only the call made before the server stopped";
    EXPECT_EQ(suite->value(suite->rossi(), QStringLiteral("SELECT TESTO FROM TABX WHERE CODICE=2")), QStringLiteral("b"))
        << "the unsaved change is gone, the row as it was";
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NULL")), QStringLiteral("1"));

    // The workstation's connections are gone for good: it still answers and closes.
    EXPECT_EQ(workstation->run(QStringLiteral("ping")).detail, QStringLiteral("pong"));
    EXPECT_EQ(workstation->run(QStringLiteral("close")).detail, QStringLiteral("closed"));
    EXPECT_EQ(workstation->quit(), 0);
}

TEST_F(ServerGoingAway, WorkstationsCallingWhileTheServerStopsAndResumesRecoverAndLogEveryAnsweredCallOnce)
{
    const QStringList users{QStringLiteral("MARIO"), QStringLiteral("ANNA"), QStringLiteral("GINO"), QStringLiteral("LUCA")};
    constexpr int Calls = 200;
    std::vector<std::unique_ptr<WorkstationProcess>> workstations;
    for (const QString &name : users) {
        workstations.push_back(std::make_unique<WorkstationProcess>(suite->workstationDirectory()));
        ASSERT_TRUE(workstations.back()->run(QStringLiteral("login ") + name).ok);
    }
    // The calls are paced so that the server goes away in their midst and
    // comes back well before their end.
    for (auto &workstation : workstations)
        workstation->send(QStringLiteral("calls %1 1 1 40").arg(Calls));
    QThread::msleep(1000);
    ASSERT_TRUE(serverScript(QStringLiteral("stop"), serverDirectory()));
    QThread::msleep(1000);
    ASSERT_TRUE(serverScript(QStringLiteral("resume"), serverDirectory()));

    int answered = 0;
    int failed = 0;
    QStringList answeredIds;
    QStringList told;
    for (auto &workstation : workstations) {
        const WorkstationReply reply = workstation->answer(300000);
        ASSERT_TRUE(reply.ok) << reply.detail.toStdString();
        const QStringList figures = reply.detail.split(QLatin1Char(' '));
        answered += figures.value(0).toInt();
        failed += figures.value(1).toInt();
        EXPECT_GT(figures.value(1).toInt(), 0) << "the workstation saw the server go away";
        EXPECT_LT(figures.value(2).toInt(), Calls - 10) << "and worked again without a restart of the program";
        if (!figures.value(3).isEmpty())
            answeredIds << figures.value(3).split(QLatin1Char(','));
        told << reply.messages;
    }
    EXPECT_EQ(answered + failed, int(users.size()) * Calls);
    EXPECT_TRUE(std::any_of(told.cbegin(), told.cend(), [](const QString &text) { return text.startsWith(Unreachable); }))
        << "until the server is back the user is told so, in Italian";
    told.removeDuplicates();
    for (const QString &text : std::as_const(told))
        EXPECT_TRUE(text.startsWith(QStringLiteral("Connessione con il server del database interrotta")) ||
                    text.startsWith(QStringLiteral("Errore interno di INSERT")))
            << "what happened comes first, in Italian: " << text.toStdString();

    const int rows = user(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ")).toInt();
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(DISTINCT IDFINESTRA) FROM MARTILOGFUNZ")), QString::number(rows))
        << "no call is logged twice";
    EXPECT_EQ(user(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ WHERE IDFINESTRA IN (") +
                   answeredIds.join(QLatin1Char(',')) + QLatin1Char(')')),
              QString::number(answered))
        << "every answered call is logged";
    EXPECT_LE(rows - answered, failed) << "no row without a call";
    // The company archive is attached again too: a critical window takes its semaphore.
    EXPECT_TRUE(workstations.front()->run(QStringLiteral("choose 1 2")).messages.isEmpty());
    EXPECT_EQ(suite->value(suite->rossi(), QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF WHERE OCCUPATO=1")),
              QStringLiteral("1"));
    std::cout << "[ figures  ] " << users.size() << " workstations x " << Calls
              << " calls across a server stop and resume: " << answered << " answered, " << failed
              << " failed while the server was away, " << rows << " call-log rows; messages: "
              << told.join(QStringLiteral(" | ")).toStdString() << "\n";
}

// The monitoring tables on a server of its own, attached as different users.
class MonitoringRights : public ServerGoingAway {
protected:
    void attachAs(db::Database &database, const QString &user, const QString &password) const
    {
        database.setDatabaseName(suite->userDatabase());
        database.params() = QStringList{QStringLiteral("user_name=") + user, QStringLiteral("password=") + password};
        database.connect();
    }
};

TEST_F(MonitoringRights, OnlyAnAttachmentThatSeesEveryAttachmentTellsASessionGone)
{
    suite->exec(suite->userDatabase(), {QStringLiteral("CREATE USER CLERK PASSWORD 'clerk'")});
    // A workstation's attachment, marked with its session 7 as a login marks it.
    db::Database workstation;
    attachAs(workstation, QStringLiteral("SYSDBA"), QStringLiteral("quillbeam"));
    {
        db::Transaction transaction(&workstation);
        db::Query mark(&workstation, &transaction);
        mark.sql() = LiveSessions::markStatement({7});
        mark.execSql();
        transaction.commit();
    }
    const QDateTime opened = QDateTime::currentDateTime();

    db::Database administrator;
    attachAs(administrator, QStringLiteral("SYSDBA"), QStringLiteral("quillbeam"));
    const LiveSessions seen = LiveSessions::read(administrator);
    ASSERT_TRUE(seen.known());
    EXPECT_EQ(seen.connected(7, opened), true);
    EXPECT_EQ(seen.connected(8, opened), false) << "opened while the database was up, carried by no attachment";
    EXPECT_EQ(seen.connected(8, opened.addSecs(-3600)), std::nullopt)
        << "opened before the database was last opened: its workstation may be idle since";

    db::Database clerk;
    attachAs(clerk, QStringLiteral("CLERK"), QStringLiteral("clerk"));
    const LiveSessions own = LiveSessions::read(clerk);
    EXPECT_FALSE(own.known()) << "a user who sees only his own attachments can tell nothing gone";
    EXPECT_EQ(own.connected(8, opened), std::nullopt);

    workstation.disconnect();
    EXPECT_EQ(LiveSessions::read(administrator).connected(7, opened), false) << "gone with its attachment";
}

// A listening socket that never accepts: the connection is made by the
// kernel, and then nothing ever answers.
class SilentServer {
public:
    SilentServer()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) == 0 && ::listen(m_socket, 16) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(m_socket); }
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

TEST(ServerNotAnswering, StartGivesUpOnTheUserDatabaseWithinSecondsWithTheModulesMessage)
{
    SilentServer silent;
    ASSERT_NE(silent.port(), 0);
    TempDir application;
    const QString userDirectory = application.file(QStringLiteral("user/"));
    // A directory where the database file should be: no local database can
    // take the server's place either.
    ASSERT_TRUE(QDir().mkpath(userDirectory + QStringLiteral("user.fdb")));
    IniFile datiIni(archive::datiIniPath(userDirectory));
    datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"),
                        QStringLiteral("127.0.0.1/%1").arg(silent.port()));
    datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Alias"), QStringLiteral("/srv/suite/user.fdb"));
    ExecutableDirectory::override(application.path());
    RecordingPrompter prompter;

    QElapsedTimer timer;
    timer.start();
    {
        TBaseMainForm form;
        EXPECT_FALSE(form.PTabX->TabX->IBDatabaseUser.connected());
    }
    const qint64 elapsed = timer.elapsed();
    ExecutableDirectory::override(QString());
    std::cout << "[ figures  ] gave up after " << elapsed << " ms\n";
    EXPECT_LT(elapsed, 30000);
    ASSERT_FALSE(prompter.texts().isEmpty());
    EXPECT_EQ(prompter.texts().first(), QStringLiteral("Errore inizializzazione database utenti"))
        << "the steps themselves fail silently; the module says what failed";
}

} // namespace
