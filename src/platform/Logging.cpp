#include "platform/Logging.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <cstdio>

// Everything below warning level is off until a logging rule asks for it.
Q_LOGGING_CATEGORY(lcDb, "taskgate.db", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDbStatements, "taskgate.db.statements", QtWarningMsg)
Q_LOGGING_CATEGORY(lcArchive, "taskgate.archive", QtWarningMsg)
Q_LOGGING_CATEGORY(lcData, "taskgate.data", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCatalogue, "taskgate.catalogue", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDispatch, "taskgate.dispatch", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlugin, "taskgate.plugin", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSessions, "taskgate.sessions", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSemaphores, "taskgate.semaphores", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCompanies, "taskgate.companies", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLayout, "taskgate.layout", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShell, "taskgate.shell", QtWarningMsg)

namespace tg {
namespace {

const char *const LinePattern = "%{time yyyy-MM-dd hh:mm:ss.zzz} %{category} %{type}: %{message}";

// Where the lines go. Never destroyed: objects torn down at exit may still log.
struct LogSink {
    QMutex mutex;
    QFile file;
};

LogSink &sink()
{
    static LogSink *instance = new LogSink;
    return *instance;
}

QByteArray oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    QByteArray bytes = text.toUtf8();
    bytes += '\n';
    return bytes;
}

void writeLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray line = oneLine(qFormatLogMessage(type, context, message));
    LogSink &out = sink();
    QMutexLocker lock(&out.mutex);
    if (out.file.isOpen()) {
        out.file.write(line);
        return;
    }
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void installLogOutput()
{
    qSetMessagePattern(QString::fromLatin1(LinePattern));
    LogSink &out = sink();
    QString failure;
    {
        QMutexLocker lock(&out.mutex);
        out.file.close();
        const QString path = qEnvironmentVariable("TASKGATE_LOG");
        if (!path.isEmpty()) {
            out.file.setFileName(path);
            // Unbuffered: each line reaches the file in one write, also when
            // several workstations append to the same file.
            if (!out.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
                failure = QStringLiteral("cannot open the log file %1 (%2); logging to standard error")
                              .arg(path, out.file.errorString());
        }
    }
    qInstallMessageHandler(writeLine);
    if (!failure.isEmpty())
        qCWarning(lcShell).noquote() << failure;
}

} // namespace tg
