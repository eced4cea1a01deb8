// Round trips and wall time of the workstation's operations on a Firebird
// server, with latency added per round trip.
//
// A private loopback server (tests/server/firebird-server.sh) holds a suite;
// the workstation (taskgate_workstation: the real main window in a process
// of its own) reaches the user database and every company archive through
// a RoundTripProxy, which counts round trips and adds 0, 1 and 20 ms to
// each. Two users log in: one whose project holds 20 entries, one with 50
// programs of 40 entries (2,000, half of them quick entries), both with menu
// translations in two languages. Per user the workstation starts, logs in,
// clicks a quick entry that calls a plug-in function without semaphore,
// steps to the next company (F12), goes back to the login page (F8), logs
// in again and closes. Before the measured passes one unmeasured pass
// leaves the databases as every later pass finds them.
//
//   bench_round_trips [--delays 0,1,20] [--server-dir DIR]
//
// Without a server running in DIR (by default one in the build tree) it
// starts one there and stops it at the end.

#include "GeneratedCatalogue.h"
#include "RoundTripProxy.h"
#include "ServerSuite.h"
#include "WorkstationProcess.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace tg;
using namespace tg::test;

namespace {

constexpr int CommandTimeoutMs = 10 * 60 * 1000;

struct Measure {
    long roundTrips = 0;
    double ms = 0;
};

// The operations in the order of the table; the catalogue size is appended
// to those measured for both users.
struct Operation {
    QString key;
    QString caption;
};

const QList<Operation> Operations{
    {QStringLiteral("start"), QStringLiteral("start-up, process start → login window")},
    {QStringLiteral("login"), QStringLiteral("login, OK → navigation bar ready")},
    {QStringLiteral("click"), QStringLiteral("click on a quick entry (plug-in function, no semaphore)")},
    {QStringLiteral("F12"), QStringLiteral("F12 company change")},
    {QStringLiteral("F8"), QStringLiteral("F8 back to the login page")},
    {QStringLiteral("relogin"), QStringLiteral("login again after F8")},
    {QStringLiteral("close"), QStringLiteral("closing after a login, close → process ended")},
};

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

class RoundTripBench {
public:
    RoundTripBench(ServerSuite &suite, bench::RoundTripProxy &proxy, int proxyPort)
        : m_suite(suite), m_proxy(proxy), m_proxied(QStringLiteral("localhost/%1").arg(proxyPort))
    {
    }

    // A database of the suite as the workstation names it: through the proxy.
    QString viaProxy(const QString &onServer) const { return m_proxied + onServer.mid(m_suite.server().size()); }

    // One pass of a user: the measures of every operation.
    std::map<QString, Measure> run(const GeneratedCatalogue &catalogue)
    {
        std::map<QString, Measure> measures;
        // F12 of the last pass recorded the next company as the user's:
        // every pass starts from the first.
        m_suite.exec(m_suite.userDatabase(), {QStringLiteral("UPDATE UTENTI SET DITTA='ROSSI SPA' WHERE CODICE=%1")
                                                  .arg(catalogue.user)});
        const QString directory = m_suite.workstationDirectory();
        IniFile(directory + QStringLiteral("user/dati.ini"))
            .writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), m_proxied);

        m_proxy.reset();
        m_connections = 0;
        QElapsedTimer timer;
        timer.start();
        auto workstation = std::make_unique<WorkstationProcess>(directory);
        expectOk(workstation->run(QStringLiteral("open"), CommandTimeoutMs), QStringLiteral("open"));
        measures[QStringLiteral("start")] = taken(timer);

        const QString enter = QStringLiteral("enter ") + catalogue.name;
        const WorkstationReply login = measure(*workstation, enter, measures[QStringLiteral("login")]);
        if (login.detail.toInt() <= 0)
            fail(QStringLiteral("the login of %1 opened no session: %2").arg(catalogue.name, login.detail));
        checkEveryConnectionProxied();

        const QString callCount = QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ WHERE FUNZIONECHIAMATA='RecX'");
        const int callsBefore = m_suite.value(m_suite.userDatabase(), callCount).toInt();
        measure(*workstation, QStringLiteral("choose %1 %2").arg(catalogue.quickProgram()).arg(catalogue.quickMenu()),
                measures[QStringLiteral("click")]);
        if (m_suite.value(m_suite.userDatabase(), callCount).toInt() != callsBefore + 1)
            fail(QStringLiteral("the click on the quick entry of %1 called no function").arg(catalogue.name));

        const WorkstationReply next = measure(*workstation, QStringLiteral("key F12"), measures[QStringLiteral("F12")]);
        if (next.detail != QLatin1String("VERDI SRL"))
            fail(QStringLiteral("F12 led to company \"%1\", not VERDI SRL").arg(next.detail));
        checkEveryConnectionProxied();

        measure(*workstation, QStringLiteral("key F8"), measures[QStringLiteral("F8")]);
        const WorkstationReply again = measure(*workstation, enter, measures[QStringLiteral("relogin")]);
        if (again.detail.toInt() <= 0 || again.detail == login.detail)
            fail(QStringLiteral("the second login of %1 opened no new session: %2").arg(catalogue.name, again.detail));

        checkQuietSinceLastCommand();
        m_proxy.reset();
        timer.restart();
        const WorkstationReply closed = workstation->run(QStringLiteral("close"), CommandTimeoutMs);
        expectOk(closed, QStringLiteral("close"));
        if (closed.detail != QLatin1String("closed"))
            fail(QStringLiteral("the main window of %1 did not close").arg(catalogue.name));
        if (workstation->quit() != 0)
            fail(QStringLiteral("the workstation of %1 did not end cleanly").arg(catalogue.name));
        // The last bytes may still be on their way through the proxy.
        for (int waited = 0; m_proxy.openConnections() > 0 && waited < 1000; ++waited)
            QThread::msleep(5);
        if (m_proxy.openConnections() > 0)
            fail(QStringLiteral("connections of %1 stayed open after the process ended").arg(catalogue.name));
        measures[QStringLiteral("close")] = taken(timer);
        return measures;
    }

    // Connections the workstation made through the proxy in the last pass.
    long connections() const { return m_connections; }

private:
    Measure taken(const QElapsedTimer &timer)
    {
        m_connections += m_proxy.connections();
        m_lastCount = m_proxy.roundTrips();
        return {m_lastCount, static_cast<double>(timer.nsecsElapsed()) / 1e6};
    }

    WorkstationReply measure(WorkstationProcess &workstation, const QString &command, Measure &into)
    {
        checkQuietSinceLastCommand();
        m_proxy.reset();
        QElapsedTimer timer;
        timer.start();
        const WorkstationReply reply = workstation.run(command, CommandTimeoutMs);
        into = taken(timer);
        expectOk(reply, command);
        return reply;
    }

    static void expectOk(const WorkstationReply &reply, const QString &command)
    {
        if (!reply.ok)
            fail(QStringLiteral("\"%1\" failed: %2").arg(command, reply.detail));
        if (!reply.messages.isEmpty())
            fail(QStringLiteral("\"%1\" showed: %2").arg(command, reply.messages.join(QStringLiteral(" | "))));
    }

    // Round trips between two commands would belong to neither.
    void checkQuietSinceLastCommand()
    {
        const long late = m_proxy.roundTrips() - m_lastCount;
        if (late != 0)
            std::cerr << "warning: " << late << " round trips after the answer of the last command\n";
    }

    // Every attachment the workstation holds on the suite's databases came
    // through the proxy: the server's attachments of the workstation's
    // process are as many as the proxy's open connections.
    void checkEveryConnectionProxied()
    {
        const QString count = QStringLiteral(
            "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID<>CURRENT_CONNECTION "
            "AND MON$REMOTE_PROCESS CONTAINING 'taskgate_workstation'");
        int attachments = 0;
        for (const QString &database : {m_suite.userDatabase(), m_suite.rossi(), m_suite.verdi()})
            attachments += m_suite.value(database, count).toInt();
        if (attachments == 0 || attachments != m_proxy.openConnections())
            fail(QStringLiteral("the workstation holds %1 attachments on the server and %2 connections through the proxy")
                     .arg(attachments)
                     .arg(m_proxy.openConnections()));
    }

    ServerSuite &m_suite;
    bench::RoundTripProxy &m_proxy;
    QString m_proxied;
    long m_lastCount = 0;
    long m_connections = 0;
};

QString milliseconds(double ms)
{
    return ms < 100 ? QString::number(ms, 'f', 1) : QString::number(qRound64(ms));
}

struct Options {
    QList<double> delays{0, 1, 20};
    QString serverDirectory = QStringLiteral(TASKGATE_BENCH_SERVER_DIR);
};

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--delays") && i + 1 < arguments.size()) {
            options.delays.clear();
            for (const QString &delay : arguments.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts))
                options.delays << delay.toDouble();
        } else if (argument == QLatin1String("--server-dir") && i + 1 < arguments.size()) {
            options.serverDirectory = arguments.at(++i);
        } else {
            fail(QStringLiteral("usage: bench_round_trips [--delays 0,1,20] [--server-dir DIR]"));
        }
    }
    return options;
}

int runBench(const Options &options)
{
    const GeneratedCatalogue small{.user = 20, .name = QStringLiteral("PICCOLO"), .project = 20,
                                   .firstProgram = 2000, .programs = 1, .entriesPerProgram = 20};
    const GeneratedCatalogue large{.user = 21, .name = QStringLiteral("GRANDE"), .project = 21,
                                   .firstProgram = 3000, .programs = 50, .entriesPerProgram = 40};
    const QList<const GeneratedCatalogue *> catalogues{&small, &large};

    ServerSuite suite(options.serverDirectory);
    bench::RoundTripProxy proxy;
    const int proxyPort = proxy.start(serverPort(options.serverDirectory));
    RoundTripBench bench(suite, proxy, proxyPort);
    const QList<std::pair<QString, QString>> companies{{QStringLiteral("ROSSI SPA"), bench.viaProxy(suite.rossi())},
                                                       {QStringLiteral("VERDI SRL"), bench.viaProxy(suite.verdi())}};
    for (const GeneratedCatalogue *catalogue : catalogues)
        suite.exec(suite.userDatabase(), catalogue->rows(companies));
    std::cerr << "server " << suite.server().toStdString() << ", proxy on port " << proxyPort << '\n';

    // measures[delay index][catalogue index]
    std::vector<std::vector<std::map<QString, Measure>>> measures;
    long connections = -1;
    for (int pass = -1; pass < options.delays.size(); ++pass) {
        const double delay = pass < 0 ? 0 : options.delays.at(pass);
        proxy.setDelay(delay);
        std::vector<std::map<QString, Measure>> byCatalogue;
        for (const GeneratedCatalogue *catalogue : catalogues) {
            std::cerr << (pass < 0 ? "unmeasured pass" : "pass at +" + QString::number(delay).toStdString() + " ms")
                      << ": " << catalogue->name.toStdString() << " (" << catalogue->entries() << " entries)\n";
            byCatalogue.push_back(bench.run(*catalogue));
            connections = std::max(connections, bench.connections());
        }
        if (pass >= 0)
            measures.push_back(std::move(byCatalogue));
    }

    QString header = QStringLiteral("| operation | round trips |");
    QString rule = QStringLiteral("|---|---:|");
    for (int pass = 0; pass < options.delays.size(); ++pass) {
        header += pass == 0 ? QStringLiteral(" wall ms at +%1 |").arg(options.delays.at(pass))
                            : QStringLiteral(" at +%1 ms |").arg(options.delays.at(pass));
        rule += QStringLiteral("---:|");
    }
    std::cout << header.toStdString() << '\n' << rule.toStdString() << '\n';
    // With latency added, the network orders the packets: a packet the
    // client sends without waiting always reaches the proxy before the
    // answer to the one before it reaches the client. Without, the server
    // may answer first now and then, and the packet counts as a round trip
    // of its own. The counts with latency are the ones shown.
    bool stable = true;
    bool zeroDiffers = false;
    for (const Operation &operation : Operations) {
        for (int c = 0; c < catalogues.size(); ++c) {
            // The start-up reads no catalogue: the first user's stands for both.
            if (operation.key == QLatin1String("start") && c > 0)
                continue;
            QString caption = operation.caption;
            if (operation.key != QLatin1String("start"))
                caption += QStringLiteral(", %L1 entries").arg(catalogues.at(c)->entries());
            QStringList withLatency;
            QStringList without;
            QString times;
            for (size_t pass = 0; pass < measures.size(); ++pass) {
                const Measure &measure = measures.at(pass).at(c).at(operation.key);
                (options.delays.at(int(pass)) > 0 ? withLatency : without) << QString::number(measure.roundTrips);
                times += QStringLiteral(" %1 |").arg(milliseconds(measure.ms));
            }
            withLatency.removeDuplicates();
            without.removeDuplicates();
            QStringList &shown = withLatency.isEmpty() ? without : withLatency;
            if (shown.size() > 1)
                stable = false;
            QString trips = shown.join(QStringLiteral(" / "));
            if (&shown != &without && !without.isEmpty() && without != shown) {
                trips += QStringLiteral(" (+0: %1)").arg(without.join(QStringLiteral(" / ")));
                zeroDiffers = true;
            }
            std::cout << QStringLiteral("| %1 | %2 |").arg(caption, trips).toStdString() << times.toStdString() << '\n';
        }
    }
    std::cout << "\nConnections through the proxy per workstation: " << connections << ".\n"
              << (stable ? "Round trips equal in every pass with latency added.\n"
                         : "Round trips differ between passes with latency added (each value shown).\n");
    if (zeroDiffers)
        std::cout << "(+0: n): without added latency a packet the client sent without waiting was answered "
                     "before the next one came, and counted apart.\n";
    return 0;
}

// Runs the private server's script; what it says goes to standard error,
// away from the table.
bool serverScript(const QString &command, const QString &directory)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(TASKGATE_SERVER_SCRIPT), {command, directory});
    const bool finished = script.waitForFinished(120000);
    std::cerr << script.readAll().toStdString();
    return finished && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    // The workstations inherit it: they run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    bool startedServer = false;
    QString serverDirectory;
    int result = 1;
    try {
        const Options options = parse(QCoreApplication::arguments());
        serverDirectory = options.serverDirectory;
        if (serverPort(serverDirectory) == 0) {
            if (!serverScript(QStringLiteral("start"), serverDirectory))
                fail(QStringLiteral("the private Firebird server did not start in ") + serverDirectory);
            startedServer = true;
        }
        result = runBench(options);
    } catch (const std::exception &error) {
        std::cerr << "bench_round_trips: " << error.what() << '\n';
    }
    if (startedServer)
        serverScript(QStringLiteral("stop"), serverDirectory);
    return result;
}
