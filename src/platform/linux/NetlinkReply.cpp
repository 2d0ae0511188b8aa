#include "platform/linux/NetlinkReply.h"

#include <libmnl/libmnl.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>

#include <cerrno>
#include <cstring>

namespace {

int ReadRouteAttribute(const nlattr* attribute, void* context) {
    auto& route = *static_cast<NetlinkRoute*>(context);
    if (mnl_attr_get_type(attribute) == RTA_OIF && mnl_attr_validate(attribute, MNL_TYPE_U32) >= 0)
        route.interfaceIndex = mnl_attr_get_u32(attribute);
    return MNL_CB_OK;
}

// A message too short for its own header is damaged: it refuses the datagram.
bool HasHeader(const nlmsghdr* message, size_t headerSize) {
    if (mnl_nlmsg_get_payload_len(message) >= headerSize) return true;
    errno = EBADMSG;
    return false;
}

// The kernel fills a message with whole attributes up to its end; bytes
// left over that make no whole attribute mean the message was cut, and what
// it would have said there is lost.
bool AttributesFillMessage(const nlmsghdr* message, size_t headerSize) {
    const auto* at = static_cast<const char*>(mnl_nlmsg_get_payload_offset(message, headerSize));
    const auto* end = static_cast<const char*>(mnl_nlmsg_get_payload_tail(message));
    while (mnl_attr_ok(reinterpret_cast<const nlattr*>(at), static_cast<int>(end - at)))
        at = reinterpret_cast<const char*>(mnl_attr_next(reinterpret_cast<const nlattr*>(at)));
    if (at == end) return true;
    errno = EBADMSG;
    return false;
}

int ReadRoute(const nlmsghdr* message, NetlinkReply& reply) {
    if (!HasHeader(message, sizeof(rtmsg)) || !AttributesFillMessage(message, sizeof(rtmsg))) return MNL_CB_ERROR;
    NetlinkRoute route;
    route.unicast = static_cast<const rtmsg*>(mnl_nlmsg_get_payload(message))->rtm_type == RTN_UNICAST;
    const int result = mnl_attr_parse(message, sizeof(rtmsg), ReadRouteAttribute, &route);
    reply.route = route;
    return result;
}

int ReadNeighbourAttribute(const nlattr* attribute, void* context) {
    auto& neighbour = *static_cast<NetlinkNeighbour*>(context);
    switch (mnl_attr_get_type(attribute)) {
        case NDA_DST:
            if (mnl_attr_get_payload_len(attribute) == sizeof(uint32_t))
                neighbour.address = IPv4Address(mnl_attr_get_u32(attribute));
            break;
        case NDA_LLADDR:
            if (mnl_attr_get_payload_len(attribute) == sizeof(MacAddress::Bytes)) {
                MacAddress::Bytes bytes;
                std::memcpy(bytes.data(), mnl_attr_get_payload(attribute), bytes.size());
                neighbour.mac = MacAddress(bytes);
            }
            break;
        case NDA_PROTOCOL:
            if (mnl_attr_validate(attribute, MNL_TYPE_U8) >= 0) neighbour.protocol = mnl_attr_get_u8(attribute);
            break;
        default:
            break;
    }
    return MNL_CB_OK;
}

int ReadNeighbour(const nlmsghdr* message, NetlinkReply& reply) {
    if (!HasHeader(message, sizeof(ndmsg)) || !AttributesFillMessage(message, sizeof(ndmsg))) return MNL_CB_ERROR;
    const auto* header = static_cast<const ndmsg*>(mnl_nlmsg_get_payload(message));
    if (header->ndm_family != AF_INET) return MNL_CB_OK;
    NetlinkNeighbour neighbour;
    neighbour.interfaceIndex = static_cast<uint32_t>(header->ndm_ifindex);
    neighbour.state = header->ndm_state;
    const int result = mnl_attr_parse(message, sizeof(ndmsg), ReadNeighbourAttribute, &neighbour);
    reply.neighbours.push_back(neighbour);
    return result;
}

int ReadMessage(const nlmsghdr* message, void* context) {
    auto& reply = *static_cast<NetlinkReply*>(context);
    switch (message->nlmsg_type) {
        case RTM_NEWROUTE:
            return ReadRoute(message, reply);
        case RTM_NEWNEIGH:
            return ReadNeighbour(message, reply);
        default:
            return MNL_CB_OK;
    }
}

// The length of the datagram's leading run of whole messages: each with its
// length rounded up to 4 bytes inside the datagram, as libmnl reads a
// message's attributes up to that rounded end. libmnl itself also takes a
// length of 2 GiB or more for a negative one, which passes its bounds check
// and sends it far past the datagram; here no message that does not fit
// reaches it.
size_t WholeMessagesLength(std::span<const uint8_t> datagram) {
    size_t length = 0;
    while (datagram.size() - length >= sizeof(nlmsghdr)) {
        nlmsghdr header;
        std::memcpy(&header, datagram.data() + length, sizeof header);
        const size_t rest = datagram.size() - length;
        if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > rest || MNL_ALIGN(header.nlmsg_len) > rest)
            break;
        length += MNL_ALIGN(header.nlmsg_len);
    }
    return length;
}

}  // namespace

NetlinkReply ParseNetlinkReply(std::span<const uint8_t> datagram, uint32_t sequence, uint32_t portId) {
    NetlinkReply reply;
    errno = 0;
    const int result =
        mnl_cb_run(datagram.data(), WholeMessagesLength(datagram), sequence, portId, ReadMessage, &reply);
    if (result == MNL_CB_STOP) {
        reply.status = NetlinkReply::Status::Acknowledged;
    } else if (result == MNL_CB_ERROR) {
        reply.status = NetlinkReply::Status::Refused;
        reply.error = errno != 0 ? errno : EBADMSG;
    }
    return reply;
}
