#pragma once

// Internal to the database layer: the Firebird client's entry points and the
// conversion of its errors into DatabaseError.

#include "db/DatabaseError.h"

#include <firebird/Interface.h>
#include <utility>

namespace tg::db::client {

Firebird::IMaster *master();
Firebird::IUtil *util();
Firebird::IProvider *provider();

// The client's message for a failed call, with its code and SQLSTATE.
DatabaseError toError(const Firebird::FbException &error);

// A status wrapper that throws FbException, disposed with its owner.
class Status {
public:
    Status();
    ~Status();
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;
    Firebird::ThrowStatusWrapper *operator&() { return &m_wrapper; }

private:
    Firebird::IStatus *m_status;
    Firebird::ThrowStatusWrapper m_wrapper;
};

// Runs a client call, turning its FbException into DatabaseError.
template <typename Call>
auto guarded(Call &&call) -> decltype(call())
{
    try {
        return call();
    } catch (const Firebird::FbException &error) {
        throw toError(error);
    }
}

} // namespace tg::db::client
