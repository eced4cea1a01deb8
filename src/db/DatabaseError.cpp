#include "db/DatabaseError.h"

namespace tg::db {

DatabaseError::DatabaseError(const QString &message, long errorCode, QString sqlState)
    : std::runtime_error(message.toStdString()), m_message(message), m_errorCode(errorCode),
      m_sqlState(std::move(sqlState))
{
}

} // namespace tg::db
