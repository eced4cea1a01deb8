#include "WorkstationProcess.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace tg::test {

WorkstationProcess::WorkstationProcess(const QString &applicationDirectory) : m_directory(applicationDirectory)
{
    // Its diagnostics go to the test's own output.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(TASKGATE_WORKSTATION), {applicationDirectory});
    EXPECT_TRUE(m_process.waitForStarted(10000)) << "workstation did not start: " << m_process.errorString().toStdString();
}

WorkstationProcess::~WorkstationProcess()
{
    if (running())
        quit();
}

void WorkstationProcess::send(const QString &command)
{
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
}

WorkstationReply WorkstationProcess::answer(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running) {
            ADD_FAILURE() << "workstation " << m_directory.toStdString() << " ended, exit code " << m_process.exitCode();
            return {};
        }
        const int left = timeoutMs - int(timer.elapsed());
        if (left <= 0) {
            ADD_FAILURE() << "workstation " << m_directory.toStdString() << " gave no answer in " << timeoutMs << " ms";
            return {};
        }
        m_process.waitForReadyRead(left);
    }
    const QStringList fields = QString::fromUtf8(m_process.readLine()).chopped(1).split(QLatin1Char('\t'));
    WorkstationReply reply;
    reply.ok = fields.value(0) == QLatin1String("ok");
    reply.detail = fields.value(1);
    if (!fields.value(2).isEmpty())
        reply.messages = fields.value(2).split(QStringLiteral("¦"));
    return reply;
}

WorkstationReply WorkstationProcess::run(const QString &command, int timeoutMs)
{
    send(command);
    return answer(timeoutMs);
}

int WorkstationProcess::quit()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(30000)) {
        ADD_FAILURE() << "workstation " << m_directory.toStdString() << " did not end";
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    return m_process.exitCode();
}

} // namespace tg::test

namespace tg::test {

void WorkstationProcess::killHard()
{
    if (!running())
        return;
    ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL);
    EXPECT_TRUE(m_process.waitForFinished(10000)) << "workstation " << m_directory.toStdString() << " did not die";
}

} // namespace tg::test
