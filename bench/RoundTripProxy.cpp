#include "RoundTripProxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tg::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t ReadSize = 64 * 1024;
// While this much read from one side waits for the other, that side is not
// read further.
constexpr size_t Backlog = 4 * 1024 * 1024;

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of a connection: bytes read from `from`, written to `to`
// once their delay has passed, in the order they came.
struct Flow {
    int from = -1;
    int to = -1;
    std::deque<Chunk> delayed;
    std::string due;    // passed its delay, not yet written
    size_t queued = 0;  // bytes in `delayed` and `due`
    bool ended = false; // nothing more comes from `from`
    bool done = false;  // the end was passed on to `to`, or `to` is gone
};

struct Connection {
    int client = -1;
    int server = -1;
    Flow up;   // client -> server
    Flow down; // server -> client
    // Bytes of the server reached the client since its last burst: the
    // client's next burst is a new round trip. The first burst is one too.
    bool answerDelivered = true;
};

void closeDescriptor(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void prepareSocket(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    // The database client sends small packets and waits for each answer:
    // Nagle's delay would add tens of milliseconds to every round trip.
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Nothing more can be written to the flow's receiver: what waits is dropped.
void abandon(Flow &flow)
{
    flow.delayed.clear();
    flow.due.clear();
    flow.queued = 0;
    flow.done = true;
}

} // namespace

struct RoundTripProxy::State {
    int listener = -1;
    int wake = -1; // eventfd: stop, or a changed delay
    int target = 0;
    std::atomic<bool> stopping{false};
    std::atomic<long> roundTrips{0};
    std::atomic<long> connections{0};
    std::atomic<int> open{0};
    std::atomic<long long> halfDelayNs{0};
    std::thread thread;
    std::list<Connection> live; // touched by the thread only
    // Callers wait until the thread has read what reached its sockets.
    std::mutex settleMutex;
    std::condition_variable settled;
    uint64_t settleRequested = 0;
    uint64_t settleServed = 0;

    void notify() const
    {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
    }

    void run();
    void acceptAll();
    void readFrom(Connection &connection, bool fromClient);
    static void release(Flow &flow, Clock::time_point now);
    static void writeDue(Flow &flow);
    void deliver(Connection &connection, Clock::time_point now);
    void closeConnection(Connection &connection);
    void settle();
    void serveSettle();
};

void RoundTripProxy::State::acceptAll()
{
    for (;;) {
        int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return; // EAGAIN: none left
        int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = loopback(target);
        if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            closeDescriptor(server);
            closeDescriptor(client);
            continue;
        }
        prepareSocket(client);
        prepareSocket(server);
        Connection &connection = live.emplace_back();
        connection.client = client;
        connection.server = server;
        connection.up.from = client;
        connection.up.to = server;
        connection.down.from = server;
        connection.down.to = client;
        ++connections;
        ++open;
    }
}

void RoundTripProxy::State::readFrom(Connection &connection, bool fromClient)
{
    Flow &in = fromClient ? connection.up : connection.down;
    Flow &out = fromClient ? connection.down : connection.up;
    char buffer[ReadSize];
    while (in.queued < Backlog) {
        const ssize_t n = ::recv(in.from, buffer, sizeof buffer, 0);
        if (n > 0) {
            if (fromClient && connection.answerDelivered) {
                ++roundTrips;
                connection.answerDelivered = false;
            }
            const auto due = Clock::now() + std::chrono::nanoseconds(halfDelayNs.load());
            in.delayed.push_back(Chunk{due, std::string(buffer, static_cast<size_t>(n))});
            in.queued += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n < 0 && errno == EINTR)
            continue;
        in.ended = true;
        if (n < 0)
            abandon(out); // the socket is broken both ways
        return;
    }
}

void RoundTripProxy::State::release(Flow &flow, Clock::time_point now)
{
    while (!flow.delayed.empty() && flow.delayed.front().due <= now) {
        flow.due += flow.delayed.front().bytes;
        flow.delayed.pop_front();
    }
}

void RoundTripProxy::State::writeDue(Flow &flow)
{
    while (!flow.due.empty() && !flow.done) {
        const ssize_t n = ::send(flow.to, flow.due.data(), flow.due.size(), MSG_NOSIGNAL);
        if (n > 0) {
            flow.due.erase(0, static_cast<size_t>(n));
            flow.queued -= static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            abandon(flow);
        }
    }
    if (flow.ended && !flow.done && flow.queued == 0) {
        ::shutdown(flow.to, SHUT_WR);
        flow.done = true;
    }
}

void RoundTripProxy::State::deliver(Connection &connection, Clock::time_point now)
{
    release(connection.up, now);
    writeDue(connection.up);
    release(connection.down, now);
    if (connection.down.due.empty() || connection.down.done) {
        writeDue(connection.down); // passes an end on
        return;
    }
    // What the client sent before it can have seen this answer belongs to
    // its last burst, however the reads fell: on loopback a client's write
    // is in the proxy's socket when the write returns.
    if (!connection.up.ended)
        readFrom(connection, true);
    const size_t before = connection.down.queued;
    writeDue(connection.down);
    if (connection.down.queued < before)
        connection.answerDelivered = true;
}

void RoundTripProxy::State::settle()
{
    std::unique_lock lock(settleMutex);
    const uint64_t ticket = ++settleRequested;
    notify();
    settled.wait(lock, [&] { return settleServed >= ticket || !thread.joinable() || stopping; });
}

void RoundTripProxy::State::serveSettle()
{
    uint64_t requested = 0;
    {
        std::lock_guard lock(settleMutex);
        requested = settleRequested;
        if (requested == settleServed)
            return;
    }
    // Everything a peer wrote before the request is in the sockets by now
    // (loopback delivers a write before it returns): read it all.
    acceptAll();
    for (Connection &connection : live) {
        if (!connection.up.ended)
            readFrom(connection, true);
        if (!connection.down.ended)
            readFrom(connection, false);
    }
    {
        std::lock_guard lock(settleMutex);
        settleServed = requested;
    }
    settled.notify_all();
}

void RoundTripProxy::State::closeConnection(Connection &connection)
{
    closeDescriptor(connection.client);
    closeDescriptor(connection.server);
    --open;
}

void RoundTripProxy::State::run()
{
    // The delays are fractions of a millisecond: wake at them, not up to
    // the default 50 µs later.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::vector<pollfd> polled;
    std::vector<std::pair<Connection *, bool>> owners; // per polled socket: connection, is client
    while (!stopping) {
        const Clock::time_point now = Clock::now();
        std::optional<Clock::time_point> next;
        for (auto it = live.begin(); it != live.end();) {
            deliver(*it, now);
            for (const Flow *flow : {&it->up, &it->down}) {
                if (!flow->delayed.empty() && (!next || flow->delayed.front().due < *next))
                    next = flow->delayed.front().due;
            }
            if (it->up.done && it->down.done) {
                closeConnection(*it);
                it = live.erase(it);
            } else {
                ++it;
            }
        }

        polled.clear();
        owners.clear();
        polled.push_back({wake, POLLIN, 0});
        polled.push_back({listener, POLLIN, 0});
        for (Connection &connection : live) {
            for (const bool client : {true, false}) {
                const Flow &in = client ? connection.up : connection.down;
                const Flow &out = client ? connection.down : connection.up;
                short events = 0;
                if (!in.ended && in.queued < Backlog)
                    events |= POLLIN;
                if (!out.due.empty() && !out.done)
                    events |= POLLOUT;
                polled.push_back({client ? connection.client : connection.server, events, 0});
                owners.emplace_back(&connection, client);
            }
        }

        timespec timeout{};
        timespec *wait = nullptr;
        if (next) {
            const auto left = std::max<Clock::duration>(*next - Clock::now(), Clock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
            wait = &timeout;
        }
        if (::ppoll(polled.data(), polled.size(), wait, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (polled[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake, &count, sizeof count);
        }
        if (polled[1].revents & POLLIN)
            acceptAll();
        for (size_t i = 2; i < polled.size(); ++i) {
            const short revents = polled[i].revents;
            if (revents == 0)
                continue;
            auto [connection, client] = owners[i - 2];
            Flow &in = client ? connection->up : connection->down;
            Flow &out = client ? connection->down : connection->up;
            if ((polled[i].events & POLLIN) && (revents & (POLLIN | POLLHUP | POLLERR))) {
                readFrom(*connection, client);
            } else if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
                // Gone both ways while not read: what it sent is passed on,
                // what it was to receive is dropped.
                in.ended = true;
                abandon(out);
            }
        }
        serveSettle();
    }
    for (Connection &connection : live)
        closeConnection(connection);
    live.clear();
    {
        std::lock_guard lock(settleMutex);
        settleServed = settleRequested;
    }
    settled.notify_all();
}

RoundTripProxy::RoundTripProxy() : m_state(std::make_unique<State>()) {}

RoundTripProxy::~RoundTripProxy()
{
    stop();
}

int RoundTripProxy::start(int targetPort)
{
    stop();
    State &state = *m_state;
    state.stopping = false;
    state.target = targetPort;
    state.listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(0);
    if (state.listener < 0 || ::bind(state.listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(state.listener, 64) != 0) {
        const std::string reason = std::strerror(errno);
        closeDescriptor(state.listener);
        throw std::runtime_error("round-trip proxy: cannot listen on loopback: " + reason);
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(state.listener, reinterpret_cast<sockaddr *>(&bound), &length);
    state.wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    state.thread = std::thread([&state] { state.run(); });
    return ntohs(bound.sin_port);
}

void RoundTripProxy::stop()
{
    State &state = *m_state;
    if (!state.thread.joinable())
        return;
    state.stopping = true;
    state.notify();
    state.thread.join();
    closeDescriptor(state.listener);
    closeDescriptor(state.wake);
}

long RoundTripProxy::roundTrips() const
{
    if (m_state->thread.joinable())
        m_state->settle();
    return m_state->roundTrips.load();
}

long RoundTripProxy::connections() const
{
    if (m_state->thread.joinable())
        m_state->settle();
    return m_state->connections.load();
}

int RoundTripProxy::openConnections() const
{
    if (m_state->thread.joinable())
        m_state->settle();
    return m_state->open.load();
}

void RoundTripProxy::reset()
{
    if (m_state->thread.joinable())
        m_state->settle();
    m_state->roundTrips = 0;
    m_state->connections = 0;
}

void RoundTripProxy::setDelay(double milliseconds)
{
    m_state->halfDelayNs = static_cast<long long>(milliseconds * 1e6 / 2);
    if (m_state->thread.joinable())
        m_state->notify();
}

} // namespace tg::bench
