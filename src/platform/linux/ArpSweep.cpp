// ARP requests to many addresses through one packet socket: the kernel adds
// the Ethernet header (a broadcast), this code writes the ARP body and reads
// the answers. The kernel makes no neighbour entry of these answers, which
// answer requests it did not send.
#include "platform/linux/LinuxPlatform.h"

#include <arpa/inet.h>
#include <net/if_arp.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kArpBody = 28;
constexpr uint16_t kOpRequest = 1;
constexpr uint16_t kOpReply = 2;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

void Write16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }

// Ethernet hardware, IPv4 protocol, 6- and 4-byte addresses.
bool IsEthernetIpv4(const uint8_t* body) {
    return Read16(body) == ARPHRD_ETHER && Read16(body + 2) == ETH_P_IP && body[4] == 6 && body[5] == 4;
}

std::array<uint8_t, kArpBody> Request(const std::array<uint8_t, 6>& ownMac, uint32_t sender, uint32_t target) {
    std::array<uint8_t, kArpBody> body{};
    Write16(body.data(), ARPHRD_ETHER);
    Write16(body.data() + 2, ETH_P_IP);
    body[4] = 6;
    body[5] = 4;
    Write16(body.data() + 6, kOpRequest);
    std::memcpy(body.data() + 8, ownMac.data(), 6);
    std::memcpy(body.data() + 14, &sender, 4);
    // The target's hardware address stays zero: that is what is asked.
    std::memcpy(body.data() + 24, &target, 4);
    return body;
}

std::optional<std::array<uint8_t, 6>> InterfaceMac(int fd, const std::string& name) {
    ifreq request{};
    if (name.size() >= sizeof request.ifr_name) return std::nullopt;
    std::memcpy(request.ifr_name, name.c_str(), name.size());
    if (::ioctl(fd, SIOCGIFHWADDR, &request) != 0 || request.ifr_hwaddr.sa_family != ARPHRD_ETHER) return std::nullopt;
    std::array<uint8_t, 6> mac{};
    std::memcpy(mac.data(), request.ifr_hwaddr.sa_data, 6);
    return mac;
}

}  // namespace

std::optional<std::vector<ArpSweepAnswer>> LinuxPlatform::SweepArp(const std::string& interfaceName,
                                                                   uint32_t senderAddress,
                                                                   const std::vector<uint32_t>& targets,
                                                                   unsigned requestsPerSecond, uint32_t lingerMs) {
    const int index = static_cast<int>(::if_nametoindex(interfaceName.c_str()));
    if (index == 0 || requestsPerSecond == 0) return std::nullopt;
    Descriptor socket(::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, htons(ETH_P_ARP)));
    if (socket.Get() < 0) return std::nullopt;
    sockaddr_ll local{};
    local.sll_family = AF_PACKET;
    local.sll_protocol = htons(ETH_P_ARP);
    local.sll_ifindex = index;
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return std::nullopt;
    const std::optional<std::array<uint8_t, 6>> ownMac = InterfaceMac(socket.Get(), interfaceName);
    if (!ownMac) return std::nullopt;

    sockaddr_ll broadcast = local;
    broadcast.sll_halen = 6;
    std::memset(broadcast.sll_addr, 0xFF, 6);

    std::map<uint32_t, Clock::time_point> asked;  // target -> when its request went out
    std::map<uint32_t, bool> answered;
    std::vector<ArpSweepAnswer> answers;
    // Answers are read between requests, so that each is timed when it comes.
    auto readAnswers = [&](Clock::time_point until) {
        for (Clock::time_point now = Clock::now();; now = Clock::now()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
            pollfd readable{socket.Get(), POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(std::max<decltype(wait)>(wait, 0))) <= 0) return;
            uint8_t body[64];
            ssize_t length;
            while ((length = ::recv(socket.Get(), body, sizeof body, 0)) >= static_cast<ssize_t>(kArpBody)) {
                const Clock::time_point arrived = Clock::now();
                if (!IsEthernetIpv4(body) || Read16(body + 6) != kOpReply) continue;
                uint32_t from = 0;
                std::memcpy(&from, body + 14, 4);
                auto request = asked.find(from);
                if (request == asked.end() || answered[from]) continue;
                answered[from] = true;
                ArpSweepAnswer answer;
                answer.address = from;
                std::memcpy(answer.mac.data(), body + 8, 6);
                answer.roundTripUs = static_cast<uint32_t>(
                    std::chrono::duration_cast<std::chrono::microseconds>(arrived - request->second).count());
                answers.push_back(answer);
            }
            if (Clock::now() >= until) return;
        }
    };

    const auto spacing = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / requestsPerSecond;
    Clock::time_point next = Clock::now();
    for (uint32_t target : targets) {
        readAnswers(next);
        const auto body = Request(*ownMac, senderAddress, target);
        asked[target] = Clock::now();
        ::sendto(socket.Get(), body.data(), body.size(), 0, reinterpret_cast<const sockaddr*>(&broadcast),
                 sizeof broadcast);
        next += spacing;
    }
    readAnswers(Clock::now() + std::chrono::milliseconds(lingerMs));
    return answers;
}
