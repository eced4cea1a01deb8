#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg::db {

// Makes a text safe to stand between single quotes in a statement: every
// apostrophe is doubled, so the server reads the text back unchanged. Every
// quoted text value of every statement goes through here; a value without
// apostrophes comes back as it is.
TASKGATE_CORE_EXPORT QString quotedValue(const QString &text);

} // namespace tg::db
