#include "semaphores/TakenSemaphores.h"

#include "db/AllOrNothing.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "semaphores/SemaphoreChecks.h"

namespace tg {

TakenSemaphores::TakenSemaphores(db::Query &list, db::Query &aux, db::Transaction &transaction)
    : m_list(list), m_aux(aux), m_transaction(transaction)
{
}

void TakenSemaphores::restartTransaction()
{
    m_transaction.rollback();
    m_transaction.start();
}

void TakenSemaphores::svuota()
{
    m_list.close();
    m_columns.clear();
    m_rows.clear();
    m_holdersKnown = false;
    m_orphans.clear();
}

void TakenSemaphores::carica()
{
    svuota();
    m_list.sql() = QStringList{QStringLiteral("SELECT * FROM SEMAFORIF"), QStringLiteral("WHERE OCCUPATO=1"),
                               QStringLiteral("ORDER BY ID DESC")};
    try {
        m_list.open();
        QStringList columns;
        for (int i = 0; i < m_list.fieldCount(); ++i)
            columns << m_list.fieldName(i);
        QVector<QStringList> rows;
        for (; !m_list.eof(); m_list.next()) {
            QStringList row;
            for (int i = 0; i < m_list.fieldCount(); ++i)
                row << m_list.field(i).asText();
            rows << row;
        }
        m_columns = columns;
        m_rows = rows;
        markHolders();
    } catch (...) {
        svuota();
        throw;
    }
}

void TakenSemaphores::markHolders()
{
    const int user = m_columns.indexOf(QStringLiteral("UTENTE"));
    const int form = m_columns.indexOf(QStringLiteral("FORM"));
    QList<TakenWindow> windows;
    for (int row = 0; row < rowCount(); ++row)
        windows << TakenWindow{id(row).toInt(), m_rows[row].value(user).toInt(), m_rows[row].value(form)};
    const std::optional<QHash<int, bool>> holders = semaphoreHolders(windows);
    if (!holders)
        return;
    m_holdersKnown = true;
    m_columns << QStringLiteral("Connessa");
    for (int row = 0; row < rowCount(); ++row) {
        const QString key = id(row);
        bool number = false;
        const int value = key.toInt(&number);
        QString caption = QStringLiteral("?");
        if (number && holders->contains(value)) {
            caption = holders->value(value) ? QStringLiteral("Sì") : QStringLiteral("No");
            if (!holders->value(value) && !m_orphans.contains(key))
                m_orphans << key;
        }
        m_rows[row] << caption;
    }
}

QString TakenSemaphores::id(int row) const
{
    const int column = m_columns.indexOf(QStringLiteral("ID"));
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    return m_rows[row].value(column);
}

bool TakenSemaphores::libera(const QStringList &ids)
{
    return db::execAllOrNothing(
        m_aux, m_transaction, ids,
        [](const QString &id) {
            return QStringList{QStringLiteral("UPDATE SEMAFORIF SET"), QStringLiteral("OCCUPATO=0"),
                               QStringLiteral("WHERE ID='") + db::quotedValue(id) + QLatin1Char('\'')};
        },
        db::CommitMode::CommitRetaining);
}

void TakenSemaphores::registraAnomalia(int userNumber)
{
    m_aux.close();
    m_aux.sql() = QStringList{
        QStringLiteral("INSERT INTO SEMAFORIFANOMALIE(ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE) VALUES("),
        QStringLiteral(" GEN_ID(IDSEMAFORIFANOMALIECOUNTER,1), 'NOW', ") + QString::number(userNumber)
            + QStringLiteral(",'','','Libera semafori')")};
    m_aux.execSql();
    m_transaction.commitRetaining();
}

} // namespace tg
