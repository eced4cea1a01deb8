#pragma once

#include "taskgate_core_export.h"

#include <QString>
#include <stdexcept>

namespace tg::db {

// An error of the database client: the client's own text, its primary error
// code (an isc_* value) and the SQLSTATE.
class TASKGATE_CORE_EXPORT DatabaseError : public std::runtime_error {
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
TASKGATE_CORE_EXPORT bool isConnectionLost(const DatabaseError &error);

// The line that heads the client's text of such an error, for the user.
extern TASKGATE_CORE_EXPORT const QString LostConnectionLine;

} // namespace tg::db
