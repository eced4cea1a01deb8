#pragma once

#include "taskgate_core_export.h"

#include <QStringList>
#include <QVector>

namespace tg {

namespace db {
class Query;
class Transaction;
} // namespace db

// The semaphores taken in the company archive and their release by hand.
// The statements and the transaction are the semaphores screen's, bound to
// the archive connection; this class reads the rows the screen shows and
// writes the releases and the anomaly log.
class TASKGATE_CORE_EXPORT TakenSemaphores {
public:
    TakenSemaphores(db::Query &list, db::Query &aux, db::Transaction &transaction);

    // Ends whatever the transaction held and starts it again.
    void restartTransaction();

    // Reads every taken semaphore row, highest ID first, all columns. When
    // the workstations holding them can be told (semaphoreHolders()), a last
    // column "Connessa" says for each row "Sì", "No" or "?". A failure (no
    // SEMAFORIF in the archive) leaves the list empty and reaches the
    // caller.
    void carica();
    // Forgets the rows of the last reading.
    void svuota();

    // The columns and rows of the last reading, every value as text.
    const QStringList &columns() const { return m_columns; }
    const QVector<QStringList> &rows() const { return m_rows; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // ID of a row as text; empty for a NULL ID or a row that does not exist.
    QString id(int row) const;
    // Whether the last reading could tell the holders' workstations.
    bool holdersKnown() const { return m_holdersKnown; }
    // The IDs of the rows whose workstation is provably gone, each once, in
    // row order.
    const QStringList &orfani() const { return m_orphans; }

    // Releases every row of the given IDs, all together or none: true when
    // every update went through and was committed (the transaction stays
    // open). On a failure the transaction is rolled back and started again.
    bool libera(const QStringList &ids);

    // Records a use of the release command in the anomaly log and commits
    // it; a failure reaches the caller.
    void registraAnomalia(int userNumber);

private:
    void markHolders();

    db::Query &m_list;
    db::Query &m_aux;
    db::Transaction &m_transaction;
    QStringList m_columns;
    QVector<QStringList> m_rows;
    bool m_holdersKnown = false;
    QStringList m_orphans;
};

} // namespace tg
