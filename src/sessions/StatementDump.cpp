#include "sessions/StatementDump.h"

#include "platform/TextCodec.h"

#include <QDir>
#include <QSaveFile>

namespace tg {

bool saveStatementDump(const QString &operation, const QStringList &lines)
{
    QSaveFile file(QDir::current().filePath(QStringLiteral("Taskgate.") + operation + QStringLiteral(".sql")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &line : lines)
        file.write(toSuiteBytes(line + QStringLiteral("\r\n")));
    return file.commit();
}

} // namespace tg
