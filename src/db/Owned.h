#pragma once

// Internal to the database layer: owners for the client's interfaces, kept
// free of the client's headers so that the layer's own headers can hold them.

#include <utility>

namespace tg::db::client {

// Holds one reference to a client interface and releases it when it goes,
// so that no path, an exception's included, forgets one. The calls that end
// an interface (a commit, a rollback, a statement's free, a cursor's close, a
// detach) release it themselves when they succeed: ended() then lets it go
// without a second release; when they fail the owner still releases it.
template <typename Interface>
class Owned {
public:
    Owned() = default;
    explicit Owned(Interface *pointer) : m_pointer(pointer) {}
    ~Owned() { reset(); }
    Owned(Owned &&other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    Owned &operator=(Owned &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_pointer, nullptr));
        return *this;
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;

    Interface *get() const { return m_pointer; }
    Interface *operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Releases the interface held, if any, and holds pointer instead.
    void reset(Interface *pointer = nullptr)
    {
        if (Interface *old = std::exchange(m_pointer, pointer))
            old->release();
    }
    // The interface was released by the call that ended it.
    void ended() { m_pointer = nullptr; }

private:
    Interface *m_pointer = nullptr;
};

} // namespace tg::db::client
