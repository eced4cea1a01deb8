#pragma once

#include "taskgate_core_export.h"

#include <QStringList>

namespace tg {

// Saves the lines of a statement whose write failed to "Taskgate.<operation>.sql"
// in the process's current directory, replacing an older file; each line
// ends with a carriage return and a line feed. Returns false when the file
// cannot be written.
TASKGATE_CORE_EXPORT bool saveStatementDump(const QString &operation, const QStringList &lines);

} // namespace tg
