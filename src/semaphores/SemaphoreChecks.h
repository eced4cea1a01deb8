#pragma once

#include <QString>

namespace tg {

namespace db {
class Database;
}

// Window semaphores in the archive: critical windows are kept exclusive
// across workstations. Each routine works with a statement and a
// transaction of its own on the given connection.

// True when the window may be opened: no window linked to it holds a taken
// semaphore, and, for a window under special watch, it holds none itself.
// Any error allows the opening.
bool VerificaSemaforiCritici(const QString &dll, const QString &form, db::Database &database);

// Takes the semaphore of a critical window for a window id; errors are
// ignored (no semaphore is then taken).
void OccupaSemaforo(const QString &dll, const QString &form, int utente, int idFinestra, db::Database &database);

// Writes a "Semaforo occupato" anomaly row; errors are ignored.
void RegistraAnomaliaSemaforo(int utente, const QString &dll, const QString &form, db::Database &database);

// The refusal: the anomaly row, then the message to the user.
void SegnalaSemaforoOccupato(int utente, const QString &dll, const QString &form, db::Database &database);

// Releases the semaphore rows of a window id (OCCUPATO to 0) in the archive
// where OccupaSemaforo took it, which need not be `database`, the archive
// connected now; true when the release was committed.
bool LiberaSemaforoFinestra(int idFinestra, db::Database &database);

} // namespace tg
