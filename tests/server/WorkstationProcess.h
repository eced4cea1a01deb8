#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tg::test {

// What a workstation answered to one command.
struct WorkstationReply {
    bool ok = false;
    QString detail;
    QStringList messages; // what its user was shown meanwhile
};

// A workstation process (taskgate_workstation) run from an application
// directory and driven one command at a time. A command that gets no answer
// within the time-out, or a process that ends, fails the current test.
class WorkstationProcess {
public:
    explicit WorkstationProcess(const QString &applicationDirectory);
    ~WorkstationProcess();
    WorkstationProcess(const WorkstationProcess &) = delete;
    WorkstationProcess &operator=(const WorkstationProcess &) = delete;

    // Sends a command and waits for its answer.
    WorkstationReply run(const QString &command, int timeoutMs = 60000);
    // Sends a command without waiting; collect the answer with answer().
    void send(const QString &command);
    WorkstationReply answer(int timeoutMs = 60000);

    bool running() const { return m_process.state() == QProcess::Running; }
    // Ends the process (closing its standard input) and returns its exit code.
    int quit();
    // Kills the process with SIGKILL, as a workstation dies: nothing of it
    // runs any more, its connections are simply dropped.
    void killHard();

private:
    QProcess m_process;
    QString m_directory;
};

} // namespace tg::test
