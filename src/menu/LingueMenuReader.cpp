#include "menu/LingueMenuReader.h"

namespace tg {

TLingueMenuReader::TLingueMenuReader(QObject *owner, db::Database *connection)
    : QObject(owner), m_connection(connection), m_transaction(connection)
{
    m_transaction.start();
}

} // namespace tg
