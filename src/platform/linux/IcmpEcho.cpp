// ICMP echo through an ICMP datagram socket, or a raw one where that is refused.
#include "platform/linux/EchoSocket.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/Capabilities.h"
#include "platform/linux/Waiting.h"

#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kIcmpHeaderSize = 8;
constexpr size_t kMaxIpHeaderSize = 60;
// ICMP errors quote at most this much of the offending datagram (RFC 1812).
constexpr size_t kMaxErrorSize = 576;
// Bounds the wait for a reply in packets as the deadline bounds it in time:
// a flood of foreign packets this large counts as no answer.
constexpr int kMaxWakeUps = 65536;
constexpr int kMaxSendAttempts = 8;
constexpr size_t kErrorQueueControlSize = 512;

// Sequence numbers are unique in the process, so that concurrent requests to
// the same host never take each other's replies.
std::atomic<uint16_t> nextSequence{1};

// What this exchange sent: the reply or error must name all of it.
struct Request {
    uint32_t address;     // network byte order
    uint16_t identifier;  // host byte order; only raw sockets keep it
    uint16_t sequence;    // host byte order
};

enum class Verdict {
    Foreign,   // not about this request: keep waiting
    Answered,  // the echo reply to this request
    Refused,   // an ICMP error about this request
};

uint16_t ReadBigEndian16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]); }

uint32_t ReadAddress(const uint8_t* bytes) {
    uint32_t address;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

uint16_t InternetChecksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2) sum += ReadBigEndian16(data + i);
    if (length % 2) sum += static_cast<uint32_t>(data[length - 1]) << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

uint16_t NewIdentifier() {
    uint16_t identifier = 0;
    if (::getrandom(&identifier, sizeof identifier, GRND_NONBLOCK) != sizeof identifier)
        identifier = static_cast<uint16_t>(::getpid());
    return identifier;
}

std::vector<uint8_t> BuildRequest(const Request& request, size_t payloadSize) {
    std::vector<uint8_t> packet(kIcmpHeaderSize + payloadSize, 0);
    packet[0] = ICMP_ECHO;
    packet[4] = static_cast<uint8_t>(request.identifier >> 8);
    packet[5] = static_cast<uint8_t>(request.identifier);
    packet[6] = static_cast<uint8_t>(request.sequence >> 8);
    packet[7] = static_cast<uint8_t>(request.sequence);
    const uint16_t checksum = InternetChecksum(packet.data(), packet.size());
    packet[2] = static_cast<uint8_t>(checksum >> 8);
    packet[3] = static_cast<uint8_t>(checksum);
    return packet;
}

bool IsErrorType(uint8_t type) {
    return type == ICMP_DEST_UNREACH || type == ICMP_SOURCE_QUENCH || type == ICMP_TIME_EXCEEDED ||
           type == ICMP_PARAMETERPROB;
}

bool NamesRequest(const uint8_t* icmp, const Request& request, bool withIdentifier) {
    return ReadBigEndian16(icmp + 6) == request.sequence &&
           (!withIdentifier || ReadBigEndian16(icmp + 4) == request.identifier);
}

// A whole IPv4 datagram as a raw socket delivers it.
Verdict JudgeRawPacket(const uint8_t* packet, size_t length, const Request& request) {
    if (length < 20 || packet[0] >> 4 != 4 || packet[9] != IPPROTO_ICMP) return Verdict::Foreign;
    const size_t headerSize = static_cast<size_t>(packet[0] & 0x0F) * 4;
    if (headerSize < 20 || length < headerSize + kIcmpHeaderSize) return Verdict::Foreign;
    const uint8_t* icmp = packet + headerSize;
    const size_t icmpSize = length - headerSize;
    if (InternetChecksum(icmp, icmpSize) != 0) return Verdict::Foreign;

    if (icmp[0] == ICMP_ECHOREPLY)
        return ReadAddress(packet + 12) == request.address && NamesRequest(icmp, request, true) ? Verdict::Answered
                                                                                                : Verdict::Foreign;
    if (!IsErrorType(icmp[0])) return Verdict::Foreign;

    // The error quotes the offending datagram: its IP header and at least
    // the first eight bytes of its ICMP message.
    const uint8_t* quoted = icmp + kIcmpHeaderSize;
    const size_t quotedSize = icmpSize - kIcmpHeaderSize;
    if (quotedSize < 20 || quoted[0] >> 4 != 4 || quoted[9] != IPPROTO_ICMP) return Verdict::Foreign;
    const size_t quotedHeaderSize = static_cast<size_t>(quoted[0] & 0x0F) * 4;
    if (quotedHeaderSize < 20 || quotedSize < quotedHeaderSize + kIcmpHeaderSize) return Verdict::Foreign;
    const uint8_t* quotedIcmp = quoted + quotedHeaderSize;
    return ReadAddress(quoted + 16) == request.address && quotedIcmp[0] == ICMP_ECHO &&
                   NamesRequest(quotedIcmp, request, true)
               ? Verdict::Refused
               : Verdict::Foreign;
}

// An ICMP message as a datagram socket delivers it; the kernel has already
// matched the identifier, which it chose itself.
Verdict JudgeDatagram(const uint8_t* icmp, size_t length, uint32_t source, const Request& request) {
    if (length < kIcmpHeaderSize || icmp[0] != ICMP_ECHOREPLY) return Verdict::Foreign;
    return source == request.address && NamesRequest(icmp, request, false) ? Verdict::Answered : Verdict::Foreign;
}

class PendingEcho {
public:
    PendingEcho(int descriptor, EchoSocket::Kind kind, const Request& request, size_t payloadSize)
        : descriptor_(descriptor),
          kind_(kind),
          request_(request),
          buffer_(kMaxIpHeaderSize + kIcmpHeaderSize + payloadSize + kMaxErrorSize) {}

    bool Send(const std::vector<uint8_t>& packet) const {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_addr.s_addr = request_.address;
        for (int attempt = 0; attempt < kMaxSendAttempts; ++attempt) {
            const ssize_t sent = ::sendto(descriptor_, packet.data(), packet.size(), 0,
                                          reinterpret_cast<const sockaddr*>(&target), sizeof target);
            if (sent == static_cast<ssize_t>(packet.size())) return true;
            // Dropped by a full queue or a link on the way out: as with a
            // request lost on the wire, the wait runs out its time-out.
            if (sent < 0 && errno == ENOBUFS) return true;
            if (sent >= 0 || errno != EINTR) return false;
        }
        return false;
    }

    // False also as soon as `cancel` (may be null) fires.
    bool AwaitReply(std::chrono::steady_clock::time_point deadline, CancelEvent* cancel) {
        for (int wakeUp = 0; wakeUp < kMaxWakeUps; ++wakeUp) {
            short revents = 0;
            if (WaitForDescriptor(descriptor_, POLLIN, deadline, cancel, revents) != WaitOutcome::Ready) return false;
            Verdict verdict = Verdict::Foreign;
            if (revents & POLLERR) verdict = ReadQueuedError();
            // A pending socket error without a queued entry is cleared by the read.
            if (verdict == Verdict::Foreign && (revents & (POLLIN | POLLERR))) verdict = ReadPacket();
            if (verdict != Verdict::Foreign) return verdict == Verdict::Answered;
        }
        return false;
    }

private:
    Verdict ReadPacket() {
        sockaddr_in source{};
        socklen_t sourceSize = sizeof source;
        const ssize_t received = ::recvfrom(descriptor_, buffer_.data(), buffer_.size(), MSG_DONTWAIT | MSG_TRUNC,
                                            reinterpret_cast<sockaddr*>(&source), &sourceSize);
        // Failures (EINTR, EAGAIN, a pending socket error) and cut-off
        // datagrams are not the reply; the deadline still holds.
        if (received < 0 || static_cast<size_t>(received) > buffer_.size()) return Verdict::Foreign;
        const size_t length = static_cast<size_t>(received);
        if (kind_ == EchoSocket::Kind::Raw) return JudgeRawPacket(buffer_.data(), length, request_);
        return JudgeDatagram(buffer_.data(), length, source.sin_addr.s_addr, request_);
    }

    // The datagram socket's error queue (IP_RECVERR): each entry carries the
    // ICMP message this socket sent and the address it went to.
    Verdict ReadQueuedError() {
        sockaddr_in target{};
        alignas(cmsghdr) uint8_t control[kErrorQueueControlSize];
        iovec data{buffer_.data(), buffer_.size()};
        msghdr message{};
        message.msg_name = &target;
        message.msg_namelen = sizeof target;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = ::recvmsg(descriptor_, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
        if (received < static_cast<ssize_t>(kIcmpHeaderSize)) return Verdict::Foreign;
        for (cmsghdr* entry = CMSG_FIRSTHDR(&message); entry; entry = CMSG_NXTHDR(&message, entry)) {
            if (entry->cmsg_level != IPPROTO_IP || entry->cmsg_type != IP_RECVERR) continue;
            sock_extended_err error;
            std::memcpy(&error, CMSG_DATA(entry), sizeof error);
            if (error.ee_origin != SO_EE_ORIGIN_ICMP && error.ee_origin != SO_EE_ORIGIN_LOCAL) continue;
            if (target.sin_addr.s_addr == request_.address && NamesRequest(buffer_.data(), request_, false))
                return Verdict::Refused;
        }
        return Verdict::Foreign;
    }

    int descriptor_;
    EchoSocket::Kind kind_;
    Request request_;
    std::vector<uint8_t> buffer_;
};

// Lets through only what can concern an echo request: replies and errors.
void FilterRawSocket(int descriptor) {
    icmp_filter filter{};
    filter.data = ~((1u << ICMP_ECHOREPLY) | (1u << ICMP_DEST_UNREACH) | (1u << ICMP_SOURCE_QUENCH) |
                    (1u << ICMP_TIME_EXCEEDED) | (1u << ICMP_PARAMETERPROB));
    // Without the filter the socket only sees more foreign packets.
    (void)::setsockopt(descriptor, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
}

}  // namespace

std::unique_ptr<EchoSocket> EchoSocket::Open() {
    int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (descriptor >= 0) {
        const int on = 1;
        if (::setsockopt(descriptor, IPPROTO_IP, IP_RECVERR, &on, sizeof on) == 0)
            return std::unique_ptr<EchoSocket>(new EchoSocket(descriptor, Kind::Datagram));
        ::close(descriptor);
    }
    descriptor = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (descriptor < 0) return nullptr;
    FilterRawSocket(descriptor);
    return std::unique_ptr<EchoSocket>(new EchoSocket(descriptor, Kind::Raw));
}

EchoSocket::~EchoSocket() { ::close(descriptor_); }

bool EchoSocket::Exchange(uint32_t address, size_t payloadSize, std::chrono::milliseconds timeout,
                          CancelEvent* cancel) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const Request request{address, NewIdentifier(), nextSequence.fetch_add(1, std::memory_order_relaxed)};
    PendingEcho echo(descriptor_, kind_, request, payloadSize);
    return echo.Send(BuildRequest(request, payloadSize)) && echo.AwaitReply(deadline, cancel);
}

bool LinuxPlatform::SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) {
    const std::unique_ptr<EchoSocket> socket = EchoSocket::Open();
    return socket && socket->Exchange(address, payloadSize, std::chrono::milliseconds(timeoutMs), cancel);
}

NetworkRights LinuxPlatform::GetNetworkRights() {
    NetworkRights rights;
    rights.canSendEcho = EchoSocket::Open() != nullptr;
    rights.canChangeNeighbours = HasEffectiveCapability(CAP_NET_ADMIN);
    return rights;
}
