// One ICMP echo request and the wait for its reply, over a socket of its own:
// an unprivileged ICMP datagram socket where net.ipv4.ping_group_range allows
// it, otherwise a raw ICMP socket (CAP_NET_RAW).
#pragma once

#include "platform/Platform.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

class EchoSocket {
public:
    enum class Kind { Datagram, Raw };

    // Null when the process may open neither kind of socket.
    static std::unique_ptr<EchoSocket> Open();

    ~EchoSocket();
    EchoSocket(const EchoSocket&) = delete;
    EchoSocket& operator=(const EchoSocket&) = delete;

    Kind GetKind() const { return kind_; }

    // Sends one request with `payloadSize` zero bytes to `address` (network
    // byte order) and waits until `timeout` has passed since the call. True
    // only for the echo reply to this very request from that address; an
    // ICMP error about the request, a failed send or `cancel` (may be null)
    // firing ends the wait early with false.
    bool Exchange(uint32_t address, size_t payloadSize, std::chrono::milliseconds timeout, CancelEvent* cancel);

private:
    EchoSocket(int descriptor, Kind kind) : descriptor_(descriptor), kind_(kind) {}

    int descriptor_;
    Kind kind_;
};
