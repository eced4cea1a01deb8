#include "db/Client.h"

#include "platform/TextCodec.h"

#include <ibase.h>

namespace tg::db::client {

Firebird::IMaster *master()
{
    static Firebird::IMaster *instance = Firebird::fb_get_master_interface();
    return instance;
}

Firebird::IUtil *util()
{
    return master()->getUtilInterface();
}

Firebird::IProvider *provider()
{
    // The dispatcher lives for the whole process: the client keeps its
    // plug-ins loaded until exit anyway.
    static Firebird::IProvider *instance = master()->getDispatcher();
    return instance;
}

DatabaseError toError(const Firebird::IStatus *status)
{
    auto *failed = const_cast<Firebird::IStatus *>(status);
    char text[2048] = {};
    util()->formatStatus(text, sizeof(text) - 1, failed);
    const intptr_t *vector = failed->getErrors();
    long code = 0;
    if (vector && vector[0] == isc_arg_gds)
        code = static_cast<long>(vector[1]);
    char state[6] = {};
    fb_sqlstate(state, vector);
    const DatabaseError error(fromSuiteBytes(QByteArray(text)), code, QString::fromLatin1(state, 5));
    // The user reads first what happened, then the client's own words.
    if (isConnectionLost(error))
        return DatabaseError(LostConnectionLine + QStringLiteral("\r\n") + error.message(), code, error.sqlState());
    return error;
}

Status::Status() : m_status(master()->getStatus()), m_wrapper(m_status) {}

Status::~Status()
{
    m_status->dispose();
}

} // namespace tg::db::client
