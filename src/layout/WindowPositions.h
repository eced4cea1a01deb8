#pragma once

#include "taskgate_core_export.h"

#include <QRect>
#include <QStringList>

namespace tg {

namespace db {
class Database;
class Query;
class Transaction;
} // namespace db

// The two statements with which a changed record of a query is written
// back: the modify statement and the insert statement, with one ":COLUMN"
// parameter per column of the query.
struct TASKGATE_CORE_EXPORT UpdateStatements {
    QStringList modifySql;
    QStringList insertSql;
};

// Fills the modify (kind "UPDATE") or insert (kind "INSERT") statement of a
// table from the columns the query's SELECT returns; the kind is compared in
// upper case and any other kind does nothing.
TASKGATE_CORE_EXPORT void PreparaAggiornamento(db::Query &query, const QString &tableName, const QString &kind, UpdateStatements &update);

// Stores a window's left, top, width and height in STOPOS1 for a situation,
// user and project, writing only when the stored row differs.
TASKGATE_CORE_EXPORT void SalvaPosizioneFinestra(const QRect &window, int userCode, int situationCode, int projectCode,
                            db::Database &database);
// The same within a running transaction of the database, which the caller
// commits: a closing writes the position with the session's close in one
// commit.
TASKGATE_CORE_EXPORT void SalvaPosizioneFinestra(const QRect &window, int userCode, int situationCode, int projectCode,
                            db::Transaction &transaction);

} // namespace tg
