#include "platform/linux/NeighbourTable.h"

#include "platform/linux/NetlinkReply.h"

#include <libmnl/libmnl.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace {

// How long the kernel may take to answer one request before it counts as
// refused; it answers at once.
constexpr time_t kAnswerTimeoutSeconds = 2;
// Bounds the reading of one answer in datagrams, as the time-out bounds it
// in time.
constexpr int kMaxAnswerDatagrams = 64;

// One rtnetlink socket, used for a single request and its answer.
class RouteSocket {
public:
    RouteSocket() : socket_(mnl_socket_open(NETLINK_ROUTE)), buffer_(MNL_SOCKET_BUFFER_SIZE) {
        if (!socket_) return;
        const timeval timeout{kAnswerTimeoutSeconds, 0};
        if (mnl_socket_bind(socket_, 0, MNL_SOCKET_AUTOPID) != 0 ||
            ::setsockopt(mnl_socket_get_fd(socket_), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0) {
            mnl_socket_close(socket_);
            socket_ = nullptr;
        }
    }
    ~RouteSocket() {
        if (socket_) mnl_socket_close(socket_);
    }
    RouteSocket(const RouteSocket&) = delete;
    RouteSocket& operator=(const RouteSocket&) = delete;

    // A fresh request of `type` with `flags` (NLM_F_REQUEST added, and
    // NLM_F_ACK unless it is a dump, which ends in NLMSG_DONE), in the
    // socket's buffer.
    nlmsghdr* Begin(uint16_t type, uint16_t flags) {
        nlmsghdr* request = mnl_nlmsg_put_header(buffer_.data());
        request->nlmsg_type = type;
        request->nlmsg_flags = NLM_F_REQUEST | flags;
        if ((flags & NLM_F_DUMP) != NLM_F_DUMP) request->nlmsg_flags |= NLM_F_ACK;
        request->nlmsg_seq = ++sequence_;
        return request;
    }

    // Sends the request and reads the answer up to the kernel's
    // acknowledgement or the end of its dump, over as many datagrams as it
    // takes; the last route message of the answer goes to `route`, its
    // neighbour messages to `neighbours`. False when the kernel refused it
    // (errno tells why) or did not answer in time.
    bool Transact(nlmsghdr* request, std::optional<NetlinkRoute>* route = nullptr,
                  std::vector<NetlinkNeighbour>* neighbours = nullptr) {
        if (!socket_ || mnl_socket_sendto(socket_, request, request->nlmsg_len) < 0) return false;
        const unsigned int portId = mnl_socket_get_portid(socket_);
        const unsigned int sequence = request->nlmsg_seq;
        for (int datagram = 0; datagram < kMaxAnswerDatagrams; ++datagram) {
            const ssize_t received = mnl_socket_recvfrom(socket_, buffer_.data(), buffer_.size());
            if (received < 0 && errno == EINTR) continue;
            if (received <= 0) return false;
            const NetlinkReply reply =
                ParseNetlinkReply({buffer_.data(), static_cast<size_t>(received)}, sequence, portId);
            if (route && reply.route) *route = reply.route;
            if (neighbours) neighbours->insert(neighbours->end(), reply.neighbours.begin(), reply.neighbours.end());
            if (reply.status == NetlinkReply::Status::Acknowledged) return true;
            if (reply.status == NetlinkReply::Status::Refused) {
                errno = reply.error;
                return false;
            }
        }
        return false;
    }

private:
    mnl_socket* socket_;
    std::vector<uint8_t> buffer_;
    unsigned int sequence_ = 0;
};

// The interface of the kernel's unicast route to `address`, if it has one.
std::optional<uint32_t> RouteInterface(RouteSocket& socket, uint32_t address) {
    nlmsghdr* request = socket.Begin(RTM_GETROUTE, 0);
    auto* route = static_cast<rtmsg*>(mnl_nlmsg_put_extra_header(request, sizeof(rtmsg)));
    route->rtm_family = AF_INET;
    route->rtm_dst_len = 32;
    mnl_attr_put(request, RTA_DST, sizeof address, &address);
    std::optional<NetlinkRoute> answer;
    if (!socket.Transact(request, &answer) || !answer || !answer->unicast) return std::nullopt;
    return answer->interfaceIndex;
}

nlmsghdr* BeginNeighbour(RouteSocket& socket, uint16_t type, uint16_t flags, uint32_t interfaceIndex,
                         IPv4Address address) {
    nlmsghdr* request = socket.Begin(type, flags);
    auto* neighbour = static_cast<ndmsg*>(mnl_nlmsg_put_extra_header(request, sizeof(ndmsg)));
    neighbour->ndm_family = AF_INET;
    neighbour->ndm_ifindex = static_cast<int>(interfaceIndex);
    const uint32_t value = address.GetNetworkOrder();
    mnl_attr_put(request, NDA_DST, sizeof value, &value);
    return request;
}

bool IsOurs(const NeighbourTable::Record& record) { return record.protocol == kNeighbourTag; }

std::optional<std::vector<NeighbourTable::Record>> Dump(RouteSocket& socket) {
    nlmsghdr* request = socket.Begin(RTM_GETNEIGH, NLM_F_DUMP);
    auto* neighbour = static_cast<ndmsg*>(mnl_nlmsg_put_extra_header(request, sizeof(ndmsg)));
    neighbour->ndm_family = AF_INET;
    std::vector<NeighbourTable::Record> records;
    if (!socket.Transact(request, nullptr, &records)) return std::nullopt;
    return records;
}

}  // namespace

namespace NeighbourTable {

std::optional<uint32_t> RouteInterface(IPv4Address address) {
    RouteSocket socket;
    return ::RouteInterface(socket, address.GetNetworkOrder());
}

bool Set(IPv4Address address, const MacAddress& mac) {
    RouteSocket socket;
    const std::optional<uint32_t> interfaceIndex = ::RouteInterface(socket, address.GetNetworkOrder());
    if (!interfaceIndex) return false;
    const std::optional<std::vector<Record>> records = Dump(socket);
    if (!records) return false;
    for (const Record& record : *records) {
        // Someone else's static entry is theirs to keep.
        if (record.interfaceIndex == *interfaceIndex && record.address == address &&
            (record.state & NUD_PERMANENT) && !IsOurs(record))
            return false;
    }
    nlmsghdr* request =
        BeginNeighbour(socket, RTM_NEWNEIGH, NLM_F_CREATE | NLM_F_REPLACE, *interfaceIndex, address);
    static_cast<ndmsg*>(mnl_nlmsg_get_payload(request))->ndm_state = NUD_PERMANENT;
    mnl_attr_put(request, NDA_LLADDR, mac.GetBytes().size(), mac.GetBytes().data());
    mnl_attr_put_u8(request, NDA_PROTOCOL, kNeighbourTag);
    return socket.Transact(request);
}

bool RemoveOwn(IPv4Address address) {
    RouteSocket socket;
    const std::optional<std::vector<Record>> records = Dump(socket);
    if (!records) return false;
    bool removed = true;
    for (const Record& record : *records) {
        if (record.address != address || !IsOurs(record)) continue;
        nlmsghdr* request = BeginNeighbour(socket, RTM_DELNEIGH, 0, record.interfaceIndex, address);
        if (!socket.Transact(request) && errno != ENOENT) removed = false;
    }
    return removed;
}

std::optional<std::vector<Record>> List() {
    RouteSocket socket;
    return Dump(socket);
}

}  // namespace NeighbourTable
