#include "sessions/StatementDump.h"

#include "platform/Logging.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QSaveFile>

namespace tg {

bool saveStatementDump(const QString &operation, const QStringList &lines)
{
    QSaveFile file(QDir::current().filePath(QStringLiteral("Taskgate.") + operation + QStringLiteral(".sql")));
    if (file.open(QIODevice::WriteOnly)) {
        for (const QString &line : lines)
            file.write(toSuiteBytes(line + QStringLiteral("\r\n")));
        if (file.commit())
            return true;
    }
    qCWarning(lcSessions).noquote() << "Writing the statement dump" << file.fileName() << "failed:" << file.errorString();
    return false;
}

} // namespace tg
