#pragma once

#include "taskgate_core_export.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tg {

namespace db {
class Database;
class Transaction;
} // namespace db

// Window semaphores in the archive: critical windows are kept exclusive
// across workstations. Each routine works with a statement and a
// transaction of its own on the given connection.

// What the check of a window found: whether it may be opened (no window
// linked to it holds a taken semaphore, and, for a window under special
// watch, it holds none itself), and whether it is a critical window at all
// (unknown when the check failed). Any error allows the opening.
struct TASKGATE_CORE_EXPORT CriticalWindowState {
    bool mayOpen = true;
    std::optional<bool> critical;
};
// `readCommitted`, when given, is a read-committed transaction of the
// database, kept open between checks; otherwise the check runs in a
// transaction of its own.
//
// With `releaseAs` (the asking user's number), a window blocked by
// semaphores whose workstations are provably gone (semaphoreHolders())
// has those semaphores released as the semaphores screen releases them,
// each with an anomaly row that says why, and is checked again; where the
// holders cannot be told, the check is what it always was.
TASKGATE_CORE_EXPORT CriticalWindowState ControllaFinestraCritica(const QString &dll, const QString &form, db::Database &database,
                                             db::Transaction *readCommitted = nullptr,
                                             std::optional<int> releaseAs = std::nullopt);

// A taken semaphore as its row tells it: the window id, the user who took
// it and the window's entry point (FORM).
struct TASKGATE_CORE_EXPORT TakenWindow {
    int id = 0;
    int user = 0;
    QString form;
};
// Whether the workstations that took semaphores are still connected, by the
// semaphores' window ids: true connected, false provably gone; a window id
// left out cannot be told; nothing at all when nobody can tell. The program
// installs the answer of its user database's monitoring; without one every
// holder is unknown.
using SemaphoreHolders = std::function<std::optional<QHash<int, bool>>(const QList<TakenWindow> &windows)>;
TASKGATE_CORE_EXPORT void installSemaphoreHolders(SemaphoreHolders holders);
TASKGATE_CORE_EXPORT std::optional<QHash<int, bool>> semaphoreHolders(const QList<TakenWindow> &windows);

// The anomaly row's text for a semaphore released because its workstation
// is gone.
extern TASKGATE_CORE_EXPORT const QString OrphanReleasedText;

// True when the window may be opened (ControllaFinestraCritica).
TASKGATE_CORE_EXPORT bool VerificaSemaforiCritici(const QString &dll, const QString &form, db::Database &database);

// Takes the semaphore of a critical window for a window id. The critical
// rows of the window and of the windows linked with it are locked, the
// check is made again under the lock and the row is written in the same
// transaction: of two workstations opening linked windows in one instant,
// one takes and the other finds it taken. False when the window is blocked
// after all (the caller refuses it as the check would); other errors are
// ignored (no semaphore is then taken, the window opens). `critical`, when
// the check has just told, spares the work for a window that is not.
TASKGATE_CORE_EXPORT bool OccupaSemaforo(const QString &dll, const QString &form, int utente, int idFinestra, db::Database &database,
                    std::optional<bool> critical = std::nullopt);

// Writes a "Semaforo occupato" anomaly row; errors are ignored.
TASKGATE_CORE_EXPORT void RegistraAnomaliaSemaforo(int utente, const QString &dll, const QString &form, db::Database &database);

// The refusal: the anomaly row, then the message to the user.
TASKGATE_CORE_EXPORT void SegnalaSemaforoOccupato(int utente, const QString &dll, const QString &form, db::Database &database);

// Releases the semaphore rows of a window id (OCCUPATO to 0) in the archive
// where OccupaSemaforo took it, which need not be `database`, the archive
// connected now; true when the release was committed.
TASKGATE_CORE_EXPORT bool LiberaSemaforoFinestra(int idFinestra, db::Database &database);

} // namespace tg
