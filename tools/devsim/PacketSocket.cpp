#include "PacketSocket.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

PacketSocket::PacketSocket(const std::string& interface) {
    interfaceIndex_ = static_cast<int>(::if_nametoindex(interface.c_str()));
    if (interfaceIndex_ == 0) {
        error_ = "no interface " + interface;
        return;
    }
    fd_ = ::socket(AF_PACKET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, htons(ETH_P_ALL));
    if (fd_ < 0) {
        error_ = std::string("packet socket: ") + std::strerror(errno);
        return;
    }
    sockaddr_ll address{};
    address.sll_family = AF_PACKET;
    address.sll_protocol = htons(ETH_P_ALL);
    address.sll_ifindex = interfaceIndex_;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error_ = std::string("bind to ") + interface + ": " + std::strerror(errno);
        return;
    }
    packet_mreq membership{};
    membership.mr_ifindex = interfaceIndex_;
    membership.mr_type = PACKET_MR_PROMISC;
    if (::setsockopt(fd_, SOL_PACKET, PACKET_ADD_MEMBERSHIP, &membership, sizeof membership) != 0)
        error_ = std::string("promiscuous mode on ") + interface + ": " + std::strerror(errno);
}

PacketSocket::~PacketSocket() {
    if (fd_ >= 0) ::close(fd_);
}

bool PacketSocket::ReceiveFrame(std::vector<uint8_t>& frame) {
    constexpr size_t kMaxFrame = 65536;
    for (;;) {
        frame.resize(kMaxFrame);
        sockaddr_ll from{};
        socklen_t fromLength = sizeof from;
        ssize_t length = ::recvfrom(fd_, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (from.sll_pkttype == PACKET_OUTGOING) continue;
        frame.resize(static_cast<size_t>(length));
        return true;
    }
}

bool PacketSocket::Send(std::span<const uint8_t> frame) {
    sockaddr_ll to{};
    to.sll_family = AF_PACKET;
    to.sll_ifindex = interfaceIndex_;
    to.sll_halen = 6;
    std::memcpy(to.sll_addr, frame.data(), 6);
    ssize_t sent = ::sendto(fd_, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    return sent == static_cast<ssize_t>(frame.size());
}
