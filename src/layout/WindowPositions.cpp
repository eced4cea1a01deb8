#include "layout/WindowPositions.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Logging.h"

#include <QMap>
#include <functional>

namespace tg {
namespace {

QString quotedTable(const QString &table)
{
    return QLatin1Char('"') + table + QLatin1Char('"');
}

// The key lines of a STOPOS1 row, codes as bare numbers.
QStringList keyLines(int situationCode, int userCode, int projectCode)
{
    return {QStringLiteral("WHERE (CodiceSituazione=%1)").arg(situationCode),
            QStringLiteral("AND (CodiceUtente=%1)").arg(userCode),
            QStringLiteral("AND (CodiceProgetto=%1)").arg(projectCode)};
}

// Runs one of the update statements with the record's values bound to its
// parameters.
void post(db::Database &database, db::Transaction &transaction, const QStringList &statement,
          const QMap<QString, QVariant> &record)
{
    db::Query query(&database, &transaction);
    query.sql() = statement;
    query.prepare();
    for (const QString &name : query.paramNames())
        query.setParam(name, record.value(name.toUpper()));
    query.execSql();
}

} // namespace

void PreparaAggiornamento(db::Query &query, const QString &tableName, const QString &kind, UpdateStatements &update)
{
    // The columns of the statement's result: an open statement tells them
    // itself; a closed one is run once for them.
    QStringList names;
    if (query.active()) {
        for (int i = 0; i < query.fieldCount(); ++i)
            names << query.fieldName(i);
    } else {
        db::Query columns(query.database(), query.transaction());
        columns.sql() = query.sql();
        columns.open();
        for (int i = 0; i < columns.fieldCount(); ++i)
            names << columns.fieldName(i);
        columns.close();
    }
    // One line per column, every line but the last ending with a comma.
    const auto lines = [&names](const std::function<QString(const QString &)> &line) {
        QStringList result;
        for (int i = 0; i < names.size(); ++i)
            result << line(names[i]) + (i + 1 < names.size() ? QStringLiteral(",") : QString());
        return result;
    };
    const QString upper = kind.toUpper();
    if (upper == QLatin1String("UPDATE")) {
        update.modifySql = QStringList{QStringLiteral("UPDATE ") + quotedTable(tableName), QStringLiteral("SET")}
                           + lines([](const QString &name) { return name + QStringLiteral("=:") + name; });
    } else if (upper == QLatin1String("INSERT")) {
        update.insertSql = QStringList{QStringLiteral("INSERT INTO ") + quotedTable(tableName), QStringLiteral("(")}
                           + lines([](const QString &name) { return name; })
                           + QStringList{QStringLiteral(")"), QStringLiteral("VALUES"), QStringLiteral("(")}
                           + lines([](const QString &name) { return QLatin1Char(':') + name; })
                           + QStringList{QStringLiteral(")")};
    }
}

void SalvaPosizioneFinestra(const QRect &window, int userCode, int situationCode, int projectCode,
                            db::Transaction &transaction)
try {
    db::Database &database = *transaction.defaultDatabase();
    db::Query query(&database, &transaction);
    query.sql() = QStringList{QStringLiteral("SELECT * FROM ") + quotedTable(QStringLiteral("STOPOS1"))}
                  + keyLines(situationCode, userCode, projectCode);
    query.open();
    const bool found = !query.eof();
    const auto stored = [&query](const char *column) { return query.fieldByName(QLatin1String(column)).asInteger(); };
    const bool same = found && stored("PosX") == window.left() && stored("PosY") == window.top()
                      && stored("DimX") == window.width() && stored("DimY") == window.height();
    if (!same) {
        QMap<QString, QVariant> record;
        for (int i = 0; found && i < query.fieldCount(); ++i)
            record.insert(query.fieldName(i).toUpper(), query.field(i).raw());
        if (!found) {
            record.insert(QStringLiteral("CODICEPROGETTO"), projectCode);
            record.insert(QStringLiteral("CODICESITUAZIONE"), situationCode);
            record.insert(QStringLiteral("CODICEUTENTE"), userCode);
        }
        record.insert(QStringLiteral("POSX"), window.left());
        record.insert(QStringLiteral("POSY"), window.top());
        record.insert(QStringLiteral("DIMX"), window.width());
        record.insert(QStringLiteral("DIMY"), window.height());
        UpdateStatements update;
        PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("UPDATE"), update);
        PreparaAggiornamento(query, QStringLiteral("STOPOS1"), QStringLiteral("INSERT"), update);
        update.modifySql << keyLines(situationCode, userCode, projectCode);
        query.close();
        post(database, transaction, found ? update.modifySql : update.insertSql, record);
    }
    query.close();
} catch (const db::DatabaseError &error) {
    // The caller reports the client's text; the log says what was being saved.
    qCWarning(lcLayout).noquote() << "Saving the window position of user" << userCode << "in"
                                  << transaction.defaultDatabase()->databaseName() << "failed:" << error.message();
    throw;
}

void SalvaPosizioneFinestra(const QRect &window, int userCode, int situationCode, int projectCode,
                            db::Database &database)
{
    db::Transaction transaction(&database);
    SalvaPosizioneFinestra(window, userCode, situationCode, projectCode, transaction);
    if (transaction.active())
        transaction.commit();
}

} // namespace tg
