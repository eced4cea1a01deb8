#pragma once

#include <QLoggingCategory>

// One logging category per subsystem. Warnings are on by default; debug and
// info lines of a category are switched on with Qt's logging rules
// (QT_LOGGING_RULES="taskgate.plugin.debug=true"). Statement tracing,
// taskgate.db.statements, logs at debug level and is therefore off until a
// rule switches it on.
Q_DECLARE_LOGGING_CATEGORY(lcDb)
Q_DECLARE_LOGGING_CATEGORY(lcDbStatements)
Q_DECLARE_LOGGING_CATEGORY(lcArchive)
Q_DECLARE_LOGGING_CATEGORY(lcData)
Q_DECLARE_LOGGING_CATEGORY(lcCatalogue)
Q_DECLARE_LOGGING_CATEGORY(lcDispatch)
Q_DECLARE_LOGGING_CATEGORY(lcPlugin)
Q_DECLARE_LOGGING_CATEGORY(lcSessions)
Q_DECLARE_LOGGING_CATEGORY(lcSemaphores)
Q_DECLARE_LOGGING_CATEGORY(lcCompanies)
Q_DECLARE_LOGGING_CATEGORY(lcLayout)
Q_DECLARE_LOGGING_CATEGORY(lcShell)

namespace tg {

// Routes every log line of the process to one place: standard error, or the
// file named by the environment variable TASKGATE_LOG (appended). Each message
// becomes exactly one line "time category level: text"; line breaks inside a
// message (statement texts, the client's multi-line errors) become spaces.
// QT_MESSAGE_PATTERN, when set, replaces the line's layout. Called once at
// program start; calling it again reads TASKGATE_LOG anew.
void installLogOutput();

} // namespace tg
