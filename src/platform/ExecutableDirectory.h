#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg {

// The directory of the running executable, always ending with a '/'. Below it
// the program looks for user/, Grafica/, NOMIDIT/ and the plug-in libraries.
// Tests point it at a temporary directory.
class TASKGATE_CORE_EXPORT ExecutableDirectory {
public:
    static QString path();
    static void override(const QString &directory); // empty restores the real one
};

// Appends a '/' to a directory path that does not end with a separator.
TASKGATE_CORE_EXPORT QString withTrailingSeparator(const QString &directory);

} // namespace tg
