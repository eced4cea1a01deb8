#pragma once

#include <memory>

namespace tg::bench {

// A TCP proxy on loopback in front of a database server's port that counts
// round trips and can add latency, so that a client's cost over a network
// can be measured on one machine.
//
// A round trip is a burst of bytes from a client that follows an answer from
// the server on the same connection (the first burst of a connection counts
// too): each one is a time the client waited for the server. Bytes the
// client sent before the answer was passed on to it belong to the burst
// before, so packets a client sends without waiting are not counted apart.
// Round trips of all connections are summed.
//
// The added latency delays every byte by half of it in each direction, so a
// request and its answer cost the whole of it once. The TCP handshake of a
// new connection is not delayed.
//
// The proxy runs in a thread of its own; every member may be called from
// any thread.
class RoundTripProxy {
public:
    RoundTripProxy();
    ~RoundTripProxy();
    RoundTripProxy(const RoundTripProxy &) = delete;
    RoundTripProxy &operator=(const RoundTripProxy &) = delete;

    // Listens on an unused loopback port and forwards every connection to
    // 127.0.0.1:targetPort. Returns the port it listens on; throws
    // std::runtime_error when it cannot listen.
    int start(int targetPort);
    // Closes the listening socket and every connection.
    void stop();

    // Counted since start() or the last reset(). Each reading first lets
    // the proxy read what reached its sockets before the call, so that a
    // reading taken when a client has answered holds all the client sent.
    long roundTrips() const;
    long connections() const;
    // Connections open now (counted on both sides until both have closed).
    int openConnections() const;
    void reset();

    // Latency added to each round trip, in milliseconds.
    void setDelay(double milliseconds);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tg::bench
