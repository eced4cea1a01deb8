#include "platform/ExecutableDirectory.h"

#include <QCoreApplication>

namespace tg {
namespace {
QString overriddenDirectory;
}

QString withTrailingSeparator(const QString &directory)
{
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\')))
        return directory;
    return directory + QLatin1Char('/');
}

QString ExecutableDirectory::path()
{
    if (!overriddenDirectory.isEmpty())
        return overriddenDirectory;
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

void ExecutableDirectory::override(const QString &directory)
{
    overriddenDirectory = directory.isEmpty() ? QString() : withTrailingSeparator(directory);
}

} // namespace tg
