#pragma once

#include <QString>
#include <stdexcept>

namespace tg::db {

// An error of the database client: the client's own text, its primary error
// code (an isc_* value) and the SQLSTATE.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString &message, long errorCode = 0, QString sqlState = {});

    QString message() const { return m_message; }
    long errorCode() const { return m_errorCode; }
    const QString &sqlState() const { return m_sqlState; }

private:
    QString m_message;
    long m_errorCode;
    QString m_sqlState;
};

// True when the error says that the connection to the server is gone (the
// server stopped, the network dropped it): the attachment is dead, and only
// a new one can go on.
bool isConnectionLost(const DatabaseError &error);

} // namespace tg::db
