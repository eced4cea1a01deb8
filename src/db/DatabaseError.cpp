#include "db/DatabaseError.h"

namespace tg::db {

DatabaseError::DatabaseError(const QString &message, long errorCode, QString sqlState)
    : std::runtime_error(message.toStdString()), m_message(message), m_errorCode(errorCode),
      m_sqlState(std::move(sqlState))
{
}

const QString LostConnectionLine = QStringLiteral("Connessione con il server del database interrotta.");

bool isConnectionLost(const DatabaseError &error)
{
    // isc_network_error, isc_net_connect_err, isc_net_read_err,
    // isc_net_write_err, isc_lost_db_connection, isc_shutdown,
    // isc_att_shutdown. Not the SQLSTATE class 08: a database file that
    // cannot be opened is one too.
    static const long codes[] = {335544721, 335544722, 335544726, 335544727, 335544741, 335544528, 335544856};
    for (const long code : codes) {
        if (error.errorCode() == code)
            return true;
    }
    return false;
}

} // namespace tg::db
