#pragma once

#include "taskgate_core_export.h"

// Internal to the database layer: the Firebird client's entry points, the
// status every call takes, which turns a failure into DatabaseError, and the
// owners of the client's interfaces.

#include "db/DatabaseError.h"
#include "db/Owned.h"

#include <firebird/Interface.h>

namespace tg::db::client {

TASKGATE_CORE_EXPORT Firebird::IMaster *master();
TASKGATE_CORE_EXPORT Firebird::IUtil *util();
TASKGATE_CORE_EXPORT Firebird::IProvider *provider();

// The client's message for a failed call, with its code and SQLSTATE.
TASKGATE_CORE_EXPORT DatabaseError toError(const Firebird::IStatus *status);

// The status wrapper of every call of the layer: a call that fails throws
// DatabaseError with the client's text, code and SQLSTATE.
class TASKGATE_CORE_EXPORT StatusWrapper : public Firebird::BaseStatusWrapper<StatusWrapper> {
public:
    explicit StatusWrapper(Firebird::IStatus *status) : BaseStatusWrapper(status) {}

    static void checkException(StatusWrapper *wrapper)
    {
        if (wrapper->dirty && (wrapper->getState() & Firebird::IStatus::STATE_ERRORS))
            throw toError(wrapper->status);
    }
};

// A status for the calls of one scope, disposed with its owner.
class TASKGATE_CORE_EXPORT Status {
public:
    Status();
    ~Status();
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;
    StatusWrapper *operator&() { return &m_wrapper; }

private:
    Firebird::IStatus *m_status;
    StatusWrapper m_wrapper;
};

// Disposes of a client object that is disposed rather than released (the
// parameter-block builders), for std::unique_ptr.
struct TASKGATE_CORE_EXPORT Dispose {
    template <typename Disposable>
    void operator()(Disposable *object) const
    {
        object->dispose();
    }
};

// Ends an interface with the call given (a free, a close), which releases it
// when it succeeds; for clean-ups, which must not throw: a failed call is
// ignored and the interface released all the same.
template <typename Interface, typename End>
void endQuietly(Owned<Interface> &owned, End &&end) noexcept
{
    if (!owned)
        return;
    try {
        Status status;
        end(owned.get(), &status);
        owned.ended();
    } catch (const DatabaseError &) {
        owned.reset();
    }
}

} // namespace tg::db::client
