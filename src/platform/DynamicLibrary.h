#pragma once

#include "taskgate_core_export.h"

#include <QString>
#include <QStringList>

namespace tg {

// Plug-in libraries, named as the suite stores them. A name is looked for in
// the executable's directory first, then by the system loader; a name ending
// in ".dll" (any case) is also tried with the platform's extension in place
// of it, and a name without extension gets the platform's extension. Each
// name stands for the file it names ignoring letter case, "\" separating
// folders, when no file has the name as written (SuiteFileName).
class TASKGATE_CORE_EXPORT DynamicLibrary {
public:
    // The file names tried for a library name, in order.
    static QStringList candidates(const QString &name);
    // A handle of the loaded library, or nullptr when no candidate loads.
    static void *load(const QString &name);
    // The exported entry of that exact, case-sensitive name, or nullptr.
    static void *symbol(void *library, const QString &name);
    static void unload(void *library);
};

} // namespace tg
