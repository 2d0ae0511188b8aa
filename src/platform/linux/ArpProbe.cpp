// The ARP probe of RFC 5227 over a packet socket (CAP_NET_RAW): requests
// with sender address 0.0.0.0, so that no host learns anything from them,
// on the interface of the route to the address; every host that claims the
// address in the meantime answers or gives itself away.
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/NeighbourTable.h"
#include "platform/linux/Waiting.h"

#include <arpa/inet.h>
#include <net/if_arp.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netpacket/packet.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// Three probes as RFC 5227 sends them, but closer together than its one to
// two seconds: the device is on the link next to us and a user is waiting.
constexpr int kProbeCount = 3;
constexpr auto kProbeInterval = std::chrono::milliseconds(200);
// How long answers to the last probe are awaited.
constexpr auto kAnswerWait = std::chrono::milliseconds(600);
// Bounds the reading in frames as the schedule bounds it in time: on a link
// this busy the answers count as heard so far.
constexpr int kMaxFrames = 8192;

constexpr size_t kArpSize = 28;
constexpr uint16_t kRequest = 1;
constexpr uint16_t kReply = 2;

// An ARP message for IPv4 over Ethernet, as on the wire.
struct ArpMessage {
    uint16_t operation = 0;
    MacAddress senderMac;
    uint32_t senderAddress = 0;  // network byte order
    MacAddress targetMac;
    uint32_t targetAddress = 0;  // network byte order
};

std::array<uint8_t, kArpSize> Encode(const ArpMessage& message) {
    std::array<uint8_t, kArpSize> bytes{};
    bytes[0] = 0;  // hardware type 1: Ethernet
    bytes[1] = 1;
    bytes[2] = 0x08;  // protocol type 0x0800: IPv4
    bytes[3] = 0x00;
    bytes[4] = 6;
    bytes[5] = 4;
    bytes[6] = static_cast<uint8_t>(message.operation >> 8);
    bytes[7] = static_cast<uint8_t>(message.operation);
    std::memcpy(&bytes[8], message.senderMac.GetBytes().data(), 6);
    std::memcpy(&bytes[14], &message.senderAddress, 4);
    std::memcpy(&bytes[18], message.targetMac.GetBytes().data(), 6);
    std::memcpy(&bytes[24], &message.targetAddress, 4);
    return bytes;
}

std::optional<ArpMessage> Decode(const uint8_t* bytes, size_t length) {
    if (length < kArpSize) return std::nullopt;
    if (bytes[0] != 0 || bytes[1] != 1 || bytes[2] != 0x08 || bytes[3] != 0x00 || bytes[4] != 6 || bytes[5] != 4)
        return std::nullopt;
    ArpMessage message;
    message.operation = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    MacAddress::Bytes mac;
    std::memcpy(mac.data(), &bytes[8], 6);
    message.senderMac = MacAddress(mac);
    std::memcpy(&message.senderAddress, &bytes[14], 4);
    std::memcpy(mac.data(), &bytes[18], 6);
    message.targetMac = MacAddress(mac);
    std::memcpy(&message.targetAddress, &bytes[24], 4);
    return message;
}

// Who, by this message, claims `target` (RFC 5227, 2.1.1): a host that
// sends from it, or another host probing for it at the same time.
std::optional<MacAddress> Claimant(const ArpMessage& message, uint32_t target, const MacAddress& own) {
    if (message.operation != kRequest && message.operation != kReply) return std::nullopt;
    if (message.senderMac == own) return std::nullopt;
    if (message.senderAddress == target) return message.senderMac;
    if (message.operation == kRequest && message.senderAddress == 0 && message.targetAddress == target)
        return message.senderMac;
    return std::nullopt;
}

class PacketSocket {
public:
    explicit PacketSocket(uint32_t interfaceIndex)
        // Protocol 0 hears nothing until the bind names interface and protocol.
        : descriptor_(::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, 0)),
          interfaceIndex_(interfaceIndex) {}
    ~PacketSocket() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    PacketSocket(const PacketSocket&) = delete;
    PacketSocket& operator=(const PacketSocket&) = delete;

    // Binds to the interface and learns its Ethernet address.
    bool Open() {
        if (descriptor_ < 0) return false;
        sockaddr_ll local{};
        local.sll_family = AF_PACKET;
        local.sll_protocol = htons(ETH_P_ARP);
        local.sll_ifindex = static_cast<int>(interfaceIndex_);
        if (::bind(descriptor_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
        ifreq request{};
        if (!::if_indextoname(interfaceIndex_, request.ifr_name)) return false;
        if (::ioctl(descriptor_, SIOCGIFHWADDR, &request) != 0 || request.ifr_hwaddr.sa_family != ARPHRD_ETHER)
            return false;
        MacAddress::Bytes bytes;
        std::memcpy(bytes.data(), request.ifr_hwaddr.sa_data, bytes.size());
        own_ = MacAddress(bytes);
        return true;
    }

    const MacAddress& Own() const { return own_; }
    int Descriptor() const { return descriptor_; }

    bool Broadcast(const std::array<uint8_t, kArpSize>& frame) const {
        sockaddr_ll target{};
        target.sll_family = AF_PACKET;
        target.sll_protocol = htons(ETH_P_ARP);
        target.sll_ifindex = static_cast<int>(interfaceIndex_);
        target.sll_halen = 6;
        std::fill_n(target.sll_addr, 6, 0xFF);
        return ::sendto(descriptor_, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                        sizeof target) == static_cast<ssize_t>(frame.size());
    }

    // The next ARP message that came in from the link, if one is waiting.
    std::optional<std::optional<ArpMessage>> Receive() const {
        uint8_t bytes[256];
        sockaddr_ll source{};
        socklen_t sourceSize = sizeof source;
        const ssize_t received = ::recvfrom(descriptor_, bytes, sizeof bytes, MSG_DONTWAIT,
                                            reinterpret_cast<sockaddr*>(&source), &sourceSize);
        if (received < 0) return std::nullopt;
        // Our own probes come back as outgoing frames.
        if (source.sll_pkttype == PACKET_OUTGOING) return std::optional<ArpMessage>();
        return Decode(bytes, static_cast<size_t>(received));
    }

private:
    int descriptor_;
    uint32_t interfaceIndex_;
    MacAddress own_;
};

}  // namespace

ArpProbeResult LinuxPlatform::ProbeArp(IPv4Address address, CancelEvent* cancel) {
    ArpProbeResult result;
    const std::optional<uint32_t> interfaceIndex = NeighbourTable::RouteInterface(address);
    PacketSocket socket(interfaceIndex.value_or(0));
    if (!interfaceIndex || !socket.Open()) {
        result.status = ArpProbeResult::Status::NotSent;
        return result;
    }

    ArpMessage probe;
    probe.operation = kRequest;
    probe.senderMac = socket.Own();
    probe.targetAddress = address.GetNetworkOrder();
    const auto frame = Encode(probe);

    const Clock::time_point start = Clock::now();
    int sent = 0;
    int frames = 0;
    while (frames < kMaxFrames) {
        const Clock::time_point nextEvent =
            sent < kProbeCount ? start + sent * kProbeInterval : start + (kProbeCount - 1) * kProbeInterval + kAnswerWait;
        short revents = 0;
        const WaitOutcome outcome = WaitForDescriptor(socket.Descriptor(), POLLIN, nextEvent, cancel, revents);
        if (outcome == WaitOutcome::Cancelled) {
            result.status = ArpProbeResult::Status::Cancelled;
            return result;
        }
        if (outcome == WaitOutcome::Failed) break;
        if (outcome == WaitOutcome::TimedOut) {
            if (sent == kProbeCount) break;
            if (!socket.Broadcast(frame) && sent == 0) {
                result.status = ArpProbeResult::Status::NotSent;
                return result;
            }
            ++sent;
            continue;
        }
        for (; frames < kMaxFrames; ++frames) {
            const auto received = socket.Receive();
            if (!received) break;
            if (!*received) continue;
            const std::optional<MacAddress> claimant = Claimant(**received, probe.targetAddress, socket.Own());
            if (claimant && std::find(result.answers.begin(), result.answers.end(), *claimant) == result.answers.end())
                result.answers.push_back(*claimant);
        }
    }
    return result;
}
