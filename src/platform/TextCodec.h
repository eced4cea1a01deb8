#pragma once

#include "taskgate_core_export.h"

#include <QByteArray>
#include <QString>

namespace tg {

// The suite's single-byte code page (Windows-1252), used for every text that
// crosses into the database client, INI files and plug-in libraries.
TASKGATE_CORE_EXPORT QByteArray toSuiteBytes(const QString &text);
TASKGATE_CORE_EXPORT QString fromSuiteBytes(const char *bytes, qsizetype length);
inline QString fromSuiteBytes(const QByteArray &bytes)
{
    return fromSuiteBytes(bytes.constData(), bytes.size());
}

} // namespace tg
