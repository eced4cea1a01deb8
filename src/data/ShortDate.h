#pragma once

#include "taskgate_core_export.h"

#include <QDate>
#include <QString>

namespace tg {

// The program-wide short date format in which dates are typed and shown
// (day/month/year); the main window sets it at start.
TASKGATE_CORE_EXPORT const QString &shortDateFormat();
TASKGATE_CORE_EXPORT void setShortDateFormat(const QString &format);

// Reads a date in the short date format; throws ConversionError when the
// text is not such a date.
TASKGATE_CORE_EXPORT QDate parseShortDate(const QString &text);

} // namespace tg
