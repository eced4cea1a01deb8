#pragma once

#include "taskgate_core_export.h"

#include <QLoggingCategory>

// One logging category per subsystem. Warnings are on by default; debug and
// info lines of a category are switched on with Qt's logging rules
// (QT_LOGGING_RULES="taskgate.plugin.debug=true"). Statement tracing,
// taskgate.db.statements, logs at debug level and is therefore off until a
// rule switches it on.
TASKGATE_CORE_EXPORT const QLoggingCategory &lcDb();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcDbStatements();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcArchive();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcData();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcCatalogue();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcDispatch();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcPlugin();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcSessions();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcSemaphores();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcCompanies();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcLayout();
TASKGATE_CORE_EXPORT const QLoggingCategory &lcShell();

namespace tg {

// Routes every log line of the process to one place: standard error, or the
// file named by the environment variable TASKGATE_LOG (appended). Each message
// becomes exactly one line "time category level: text"; line breaks inside a
// message (statement texts, the client's multi-line errors) become spaces.
// QT_MESSAGE_PATTERN, when set, replaces the line's layout. Called once at
// program start; calling it again reads TASKGATE_LOG anew.
TASKGATE_CORE_EXPORT void installLogOutput();

} // namespace tg
