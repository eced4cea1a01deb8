#include "platform/DynamicLibrary.h"

#include "platform/ExecutableDirectory.h"
#include "platform/Logging.h"
#include "platform/SuiteFileName.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace tg {
namespace {

const QString PlatformExtension = QStringLiteral(".so");

// The name as stored and the names with the platform's extension.
QStringList fileNames(const QString &name)
{
    QStringList names{name};
    const QString file = QFileInfo(name).fileName();
    if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        names << name.left(name.size() - 4) + PlatformExtension;
    else if (!file.contains(QLatin1Char('.')))
        names << name + PlatformExtension;
    return names;
}

bool hasDirectory(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

} // namespace

QStringList DynamicLibrary::candidates(const QString &name)
{
    if (name.isEmpty())
        return {};
    // A file name that no file has as written stands for the file it names
    // ignoring letter case (SuiteFileName).
    const QStringList names = fileNames(name);
    QStringList result;
    if (hasDirectory(name)) {
        for (const QString &file : names)
            result << SuiteFileName::resolve(QString(), file);
        return result;
    }
    for (const QString &file : names)
        result << SuiteFileName::resolve(ExecutableDirectory::path(), file);
    return result + names;
}

void *DynamicLibrary::load(const QString &name)
{
    QStringList failures;
    for (const QString &candidate : candidates(name)) {
        if (void *library = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL))
            return library;
        const char *error = dlerror();
        failures << (error ? QString::fromLocal8Bit(error) : candidate);
    }
    qCWarning(lcPlugin).noquote() << "Library" << name << "not loaded:"
                                  << (failures.isEmpty() ? QStringLiteral("no name") : failures.join(QStringLiteral("; ")));
    return nullptr;
}

void *DynamicLibrary::symbol(void *library, const QString &name)
{
    if (!library)
        return nullptr; // its loading has been logged
    dlerror();
    void *entry = dlsym(library, name.toLatin1().constData());
    if (!entry) {
        const char *error = dlerror();
        qCWarning(lcPlugin).noquote() << "Entry point" << name << "not found:"
                                      << (error ? QString::fromLocal8Bit(error) : QStringLiteral("null address"));
    }
    return entry;
}

void DynamicLibrary::unload(void *library)
{
    if (library)
        dlclose(library);
}

} // namespace tg
