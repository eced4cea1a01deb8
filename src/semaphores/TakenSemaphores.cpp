#include "semaphores/TakenSemaphores.h"

#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"

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
    } catch (...) {
        svuota();
        throw;
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
    try {
        for (const QString &id : ids) {
            m_aux.close();
            m_aux.sql() = QStringList{QStringLiteral("UPDATE SEMAFORIF SET"), QStringLiteral("OCCUPATO=0"),
                                      QStringLiteral("WHERE ID='") + db::quotedValue(id) + QLatin1Char('\'')};
            m_aux.execSql();
        }
        // A failed commit releases nothing either: it is undone like a failed update.
        m_transaction.commitRetaining();
        return true;
    } catch (const db::DatabaseError &) {
        rollbackAndRestart();
        return false;
    }
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

void TakenSemaphores::rollbackAndRestart() noexcept
{
    try {
        m_aux.close();
        m_transaction.rollback();
        m_transaction.start();
    } catch (const db::DatabaseError &) {
        // The connection is gone: the next statement reports it.
    }
}

} // namespace tg
