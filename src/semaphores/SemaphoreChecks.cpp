#include "semaphores/SemaphoreChecks.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <iterator>

namespace tg {
namespace {

const QString CriticalJoin = QStringLiteral(
    "SELECT COALESCE(COUNT(*),0) FROM SEMAFORIFCRITICHE C INNER JOIN SEMAFORIFCRITICHECOLL L ON "
    "(C.DLL=L.DLLPRIN AND C.FORM=L.FORMPRIN)");

QString windowCondition(const QString &dll, const QString &form)
{
    return QStringLiteral("WHERE F.OCCUPATO=1 AND C.DLL='") + db::quotedValue(dll) + QStringLiteral("' AND C.FORM='")
           + db::quotedValue(form) + QLatin1Char('\'');
}

// The three counts of the check in one statement: over a network each
// statement and each transaction costs round trips.
QStringList checkStatement(const QString &dll, const QString &form)
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("(") + CriticalJoin,
            QStringLiteral("INNER JOIN SEMAFORIF F ON (L.DLLCOLLEGATA=F.DLL AND L.FORMCOLLEGATA=F.FORM)"),
            windowCondition(dll, form) + QStringLiteral(") LINKED,"),
            QStringLiteral("(") + CriticalJoin,
            QStringLiteral("INNER JOIN SEMAFORIF F ON (C.DLL=F.DLL AND C.FORM=F.FORM)"),
            windowCondition(dll, form) + QStringLiteral(" AND C.OSSERVATASPECIALE=1) ITSELF,"),
            QStringLiteral("(SELECT COALESCE(COUNT(*),0) FROM SEMAFORIFCRITICHE"),
            QStringLiteral("WHERE DLL='") + db::quotedValue(dll) + QStringLiteral("' AND FORM='") + db::quotedValue(form)
                + QStringLiteral("') CRITICAL"),
            QStringLiteral("FROM RDB$DATABASE")};
}

// Whether the row of checkStatement() blocks the window: a linked window
// holds a taken semaphore, or the window under special watch holds one
// itself.
bool blocks(const db::Query &row)
{
    return row.fieldByName(QStringLiteral("LINKED")).asInteger() > 0
           || row.fieldByName(QStringLiteral("ITSELF")).asInteger() > 0;
}

// Executes a write in its own transaction and commits it; false on failure.
bool executeCommitted(db::Database &database, const QStringList &lines)
{
    try {
        db::Transaction transaction(&database);
        db::Query query(&database, &transaction);
        query.sql() = lines;
        query.execSql();
        transaction.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcSemaphores).noquote() << "Writing to" << database.databaseName() << "failed ("
                                                 + lines.value(0).trimmed() + "):" << error.message();
        return false;
    }
}

// The archive where each window's semaphore was taken: the company (and
// with it the archive connection) may change while the window is open, and
// its semaphore must be released where it lives.
struct ArchiveIdentity {
    QString name;
    QStringList params;
};
QHash<int, ArchiveIdentity> &takenInArchive()
{
    static QHash<int, ArchiveIdentity> archives;
    return archives;
}

bool releaseWindow(int idFinestra, db::Database &database)
{
    return executeCommitted(database, {QStringLiteral("UPDATE SEMAFORIF SET"), QStringLiteral("OCCUPATO=0"),
                                       QStringLiteral("WHERE ID='%1'").arg(idFinestra)});
}

} // namespace

namespace {

SemaphoreHolders &installedHolders()
{
    static SemaphoreHolders holders;
    return holders;
}

// The taken semaphores that block a window: those of the windows linked to
// it and, under special watch, its own (which the check counts only with a
// linked-window row, as here).
QStringList blockersStatement(const QString &dll, const QString &form)
{
    return {QStringLiteral("SELECT DISTINCT F.ID,F.DLL,F.FORM,F.UTENTE FROM SEMAFORIFCRITICHE C INNER JOIN SEMAFORIFCRITICHECOLL L ON "
                           "(C.DLL=L.DLLPRIN AND C.FORM=L.FORMPRIN)"),
            QStringLiteral("INNER JOIN SEMAFORIF F ON ((L.DLLCOLLEGATA=F.DLL AND L.FORMCOLLEGATA=F.FORM) OR"),
            QStringLiteral("(C.OSSERVATASPECIALE=1 AND C.DLL=F.DLL AND C.FORM=F.FORM))"),
            windowCondition(dll, form)};
}

// Releases the semaphores blocking the window whose workstations are
// provably gone, each with an anomaly row, all in one transaction; true
// when any was released.
bool releaseOrphanedBlockers(const QString &dll, const QString &form, int utente, db::Database &database,
                             db::Transaction &reading)
{
    if (!installedHolders())
        return false;
    struct Blocker {
        int id;
        QString dll;
        QString form;
    };
    QList<Blocker> blockers;
    QList<TakenWindow> windows;
    try {
        db::Query query(&database, &reading);
        query.sql() = blockersStatement(dll, form);
        for (query.open(); !query.eof(); query.next()) {
            blockers << Blocker{static_cast<int>(query.field(0).asInteger()), query.field(1).asText(),
                                query.field(2).asText()};
            windows << TakenWindow{blockers.last().id, static_cast<int>(query.field(3).asInteger()),
                                   blockers.last().form};
        }
        query.close();
    } catch (const db::DatabaseError &error) {
        // The window stays blocked, as the check found it.
        qCWarning(lcSemaphores).noquote() << "Reading the semaphores that block" << dll << form
                                          << "failed:" << error.message();
        return false;
    }
    const std::optional<QHash<int, bool>> holders = semaphoreHolders(windows);
    if (!holders)
        return false;
    QStringList lines;
    QList<int> released;
    for (const Blocker &blocker : std::as_const(blockers)) {
        // Window id 0 names every untracked call: never released here.
        if (blocker.id <= 0 || holders->value(blocker.id, true) || released.contains(blocker.id))
            continue;
        released << blocker.id;
        lines << QStringLiteral("UPDATE SEMAFORIF SET OCCUPATO=0 WHERE ID='%1';").arg(blocker.id)
              << QStringLiteral("INSERT INTO SEMAFORIFANOMALIE(ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE) VALUES(")
                     + QStringLiteral(" GEN_ID(IDSEMAFORIFANOMALIECOUNTER,1), 'NOW', %1,'").arg(utente)
                     + db::quotedValue(blocker.dll) + QStringLiteral("','") + db::quotedValue(blocker.form)
                     + QStringLiteral("','") + db::quotedValue(OrphanReleasedText) + QStringLiteral("');");
    }
    if (released.isEmpty())
        return false;
    // One statement for all of them: the releases and their anomaly rows go
    // together or not at all.
    lines.prepend(QStringLiteral("EXECUTE BLOCK AS BEGIN"));
    lines << QStringLiteral("END");
    if (!executeCommitted(database, lines))
        return false;
    qCInfo(lcSemaphores).noquote() << "Semaphores of windows" << released << "released: their workstations are gone";
    return true;
}

CriticalWindowState checkOnce(const QString &dll, const QString &form, db::Database &database,
                              db::Transaction *readCommitted, std::optional<int> releaseAs)
{
    CriticalWindowState state;
    // A read-committed transaction, or one of its own started now, sees
    // every semaphore committed by now.
    std::optional<db::Transaction> own;
    db::Transaction *transaction = readCommitted;
    if (!transaction)
        transaction = &own.emplace(&database);
    db::Query query(&database, transaction);
    for (int round = 0; round < 2; ++round) {
        query.sql() = checkStatement(dll, form);
        query.open();
        state.mayOpen = !blocks(query);
        state.critical = query.fieldByName(QStringLiteral("CRITICAL")).asInteger() > 0;
        query.close();
        // Blocked: semaphores left by workstations that are gone go, and the
        // check is made again (seeing the releases: read committed, or a
        // transaction started again).
        if (state.mayOpen || !releaseAs || round > 0
            || !releaseOrphanedBlockers(dll, form, *releaseAs, database, *transaction))
            break;
        if (own) {
            own->rollback();
            own->start();
        }
    }
    if (own)
        own->rollback();
    return state;
}

} // namespace

const QString OrphanReleasedText =
    QStringLiteral("Semaforo liberato: la postazione che lo aveva occupato non risulta più connessa");

void installSemaphoreHolders(SemaphoreHolders holders)
{
    installedHolders() = std::move(holders);
}

std::optional<QHash<int, bool>> semaphoreHolders(const QList<TakenWindow> &windows)
{
    if (!installedHolders())
        return std::nullopt;
    return installedHolders()(windows);
}

CriticalWindowState ControllaFinestraCritica(const QString &dll, const QString &form, db::Database &database,
                                             db::Transaction *readCommitted, std::optional<int> releaseAs)
{
    // Archives whose connection was lost and not yet attached again: an
    // archive that was never attached is not tried at every call.
    static QSet<const db::Database *> lost;
    for (int attempt = 0;; ++attempt) {
        try {
            if (!database.connected() && lost.contains(&database) && attempt == 0)
                throw db::DatabaseError(QStringLiteral("Database not open"));
            const CriticalWindowState state = checkOnce(dll, form, database, readCommitted, releaseAs);
            lost.remove(&database);
            return state;
        } catch (const db::DatabaseError &error) {
            // The archive's connection lost (the server restarted): attached
            // again once per check, so that the semaphores work again.
            if (db::isConnectionLost(error))
                lost.insert(&database);
            if (attempt == 0 && lost.contains(&database)) {
                try {
                    qCWarning(lcSemaphores).noquote() << "The connection to" << database.databaseName()
                                                      << "was lost, attaching again:" << error.message();
                    database.reconnect();
                    continue;
                } catch (const db::DatabaseError &again) {
                    qCWarning(lcSemaphores).noquote() << "Attaching" << database.databaseName()
                                                      << "again failed:" << again.message();
                }
            }
            qCWarning(lcSemaphores).noquote() << "Checking the critical semaphores of" << dll << form
                                              << "failed, the window may open:" << error.message();
            return CriticalWindowState{}; // the check fails open
        }
    }
}

bool VerificaSemaforiCritici(const QString &dll, const QString &form, db::Database &database)
{
    return ControllaFinestraCritica(dll, form, database).mayOpen;
}

namespace {

// The critical rows of a window and of every window linked with it, either
// way, locked in one order: two workstations opening linked windows lock
// the same rows, and the second finds them locked until the first has
// taken its semaphore.
QStringList lockStatement(const QString &dll, const QString &form)
{
    const QString d = db::quotedValue(dll);
    const QString f = db::quotedValue(form);
    return {QStringLiteral("SELECT C.DLL,C.FORM FROM SEMAFORIFCRITICHE C WHERE"),
            QStringLiteral("(C.DLL='%1' AND C.FORM='%2') OR EXISTS (SELECT 1 FROM SEMAFORIFCRITICHECOLL L WHERE").arg(d, f),
            QStringLiteral("(L.DLLPRIN='%1' AND L.FORMPRIN='%2' AND L.DLLCOLLEGATA=C.DLL AND L.FORMCOLLEGATA=C.FORM) OR").arg(d, f),
            QStringLiteral("(L.DLLCOLLEGATA='%1' AND L.FORMCOLLEGATA='%2' AND L.DLLPRIN=C.DLL AND L.FORMPRIN=C.FORM))").arg(d, f),
            QStringLiteral("ORDER BY C.DLL,C.FORM WITH LOCK")};
}

bool isLockConflict(const db::DatabaseError &error)
{
    // isc_deadlock, isc_update_conflict, isc_concurrent_transaction,
    // isc_lock_timeout and isc_lock_conflict: another workstation holds the
    // rows.
    static const long codes[] = {335544336, 335544451, 335544878, 335544510, 335544345};
    return error.sqlState() == QLatin1String("40001")
           || std::find(std::begin(codes), std::end(codes), error.errorCode()) != std::end(codes);
}

} // namespace

bool OccupaSemaforo(const QString &dll, const QString &form, int utente, int idFinestra, db::Database &database,
                    std::optional<bool> critical)
{
    if (critical == false)
        return true; // the check has just told: no critical window, nothing to take
    try {
        // The rows stay locked until the commit: the check made again under
        // the lock and the take are one step for every other workstation.
        // No wait: rows locked by another workstation mean that it is
        // opening a window that blocks this one, and waiting would only
        // delay the same refusal (or freeze this one behind a workstation
        // that died holding them).
        db::Transaction transaction(&database);
        transaction.params() = QStringList{QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                                           QStringLiteral("isc_tpb_write"), QStringLiteral("isc_tpb_nowait")};
        db::Query query(&database, &transaction);
        query.sql() = lockStatement(dll, form);
        query.open();
        query.fetchAll(); // each row is locked as it is fetched
        query.close();
        query.sql() = checkStatement(dll, form);
        query.open();
        const bool isCritical = query.fieldByName(QStringLiteral("CRITICAL")).asInteger() > 0;
        const bool blocked = blocks(query);
        query.close();
        if (!isCritical)
            return true; // not a critical window: nothing to take
        if (blocked) {
            transaction.rollback();
            return false;
        }
        query.sql() = QStringList{QStringLiteral("INSERT INTO SEMAFORIF VALUES("),
                                  QStringLiteral("'%1',").arg(idFinestra),
                                  QLatin1Char('\'') + db::quotedValue(dll) + QStringLiteral("',"),
                                  QLatin1Char('\'') + db::quotedValue(form) + QStringLiteral("',"),
                                  QStringLiteral("%1,").arg(utente), QStringLiteral("1,"), QStringLiteral("'NOW')")};
        query.execSql();
        transaction.commit();
        takenInArchive().insert(idFinestra, {database.databaseName(), database.params()});
    } catch (const db::DatabaseError &error) {
        if (isLockConflict(error)) {
            qCInfo(lcSemaphores).noquote() << "Window" << idFinestra << "(" + dll + ' ' + form + ")"
                                           << "refused: a linked critical window is being taken elsewhere:"
                                           << error.message();
            return false;
        }
        // No semaphore is taken; the window opens all the same.
        qCWarning(lcSemaphores).noquote() << "Taking the semaphore of window" << idFinestra << "(" + dll + ' ' + form + ")"
                                          << "failed, the window opens without it:" << error.message();
    }
    return true;
}

void RegistraAnomaliaSemaforo(int utente, const QString &dll, const QString &form, db::Database &database)
{
    executeCommitted(database,
                     {QStringLiteral("INSERT INTO SEMAFORIFANOMALIE(ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE) VALUES("),
                      QStringLiteral(" GEN_ID(IDSEMAFORIFANOMALIECOUNTER,1), 'NOW', %1,'").arg(utente)
                          + db::quotedValue(dll) + QStringLiteral("','") + db::quotedValue(form)
                          + QStringLiteral("','Semaforo occupato')")});
}

void SegnalaSemaforoOccupato(int utente, const QString &dll, const QString &form, db::Database &database)
{
    RegistraAnomaliaSemaforo(utente, dll, form, database);
    showMessage(MessageKind::Error,
                QStringLiteral("Errore: ci sono altre finestre critiche aperte da questo utente o da altri utenti che "
                               "bloccano l'apertura di questa finestra.\r\nChiudere prima le altre finestre e "
                               "riprovare.\r\nVedere Gestione semafori per maggiori dettagli."));
}

bool LiberaSemaforoFinestra(int idFinestra, db::Database &database)
{
    const auto taken = takenInArchive().constFind(idFinestra);
    bool released = false;
    if (taken == takenInArchive().cend() || taken->name == database.databaseName()) {
        released = releaseWindow(idFinestra, database);
    } else {
        // The archive has changed since: the release goes to the one where
        // the semaphore was taken, on a connection of its own.
        db::Database archive;
        archive.setDatabaseName(taken->name);
        archive.params() = taken->params;
        archive.setLoginPrompt(false);
        try {
            archive.connect();
        } catch (const db::DatabaseError &error) {
            qCWarning(lcSemaphores).noquote() << "Semaphore of window" << idFinestra << "not released: attaching"
                                              << taken->name << "failed:" << error.message();
            return false;
        }
        released = releaseWindow(idFinestra, archive);
        archive.disconnect();
    }
    if (released)
        takenInArchive().remove(idFinestra);
    return released;
}

} // namespace tg
