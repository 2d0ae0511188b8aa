// An AF_PACKET socket on one interface in promiscuous mode: it receives
// every frame that arrives there, whatever its destination MAC, and sends
// frames as they are given.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class PacketSocket {
public:
    // Check `Error()` afterwards: empty when the socket is ready.
    explicit PacketSocket(const std::string& interface);
    ~PacketSocket();
    PacketSocket(const PacketSocket&) = delete;
    PacketSocket& operator=(const PacketSocket&) = delete;

    const std::string& Error() const { return error_; }
    int Descriptor() const { return fd_; }

    // The next frame that arrived from the wire, without waiting; false when
    // there is none. Frames this host sent itself are skipped.
    bool ReceiveFrame(std::vector<uint8_t>& frame);
    bool Send(std::span<const uint8_t> frame);

private:
    int fd_ = -1;
    int interfaceIndex_ = 0;
    std::string error_;
};
