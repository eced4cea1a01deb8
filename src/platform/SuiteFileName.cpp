#include "platform/SuiteFileName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tg {
namespace {

// The entry of `folder` named `component` ignoring letter case: the exact
// spelling when it exists, else the first match in code-point order. Only
// folders match when `wantFolder`, only files otherwise.
QString matchingEntry(const QString &folder, const QString &component, bool wantFolder)
{
    const QFileInfo exact(folder + component);
    if (wantFolder ? exact.isDir() : exact.isFile())
        return component;
    const QDir::Filters kind = wantFolder ? QDir::Dirs : QDir::Files;
    QStringList entries = QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                              .entryList(kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(entries.begin(), entries.end());
    for (const QString &entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString SuiteFileName::find(const QString &directory, const QString &storedName)
{
    if (storedName.isEmpty())
        return {};
    if (QFileInfo(directory + storedName).isFile())
        return directory + storedName;

    // Walk the name below the directory; an absolute name without one starts
    // at the root.
    QString folder = directory;
    if (folder.isEmpty() && storedName.startsWith(QLatin1Char('/')))
        folder = QStringLiteral("/");
    const QStringList components =
        QString(storedName).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString &component = components[i];
        const bool last = i + 1 == components.size();
        if (!last && (component == QLatin1String(".") || component == QLatin1String(".."))) {
            folder += component + QLatin1Char('/');
            continue;
        }
        const QString entry = matchingEntry(folder, component, !last);
        if (entry.isEmpty())
            return {};
        folder += entry;
        if (!last)
            folder += QLatin1Char('/');
    }
    return folder;
}

QString SuiteFileName::resolve(const QString &directory, const QString &storedName)
{
    const QString found = find(directory, storedName);
    return found.isEmpty() ? directory + storedName : found;
}

} // namespace tg
