// The reader of rtnetlink answers, on any datagram. A refusal always says
// why, and a datagram reads as its first message followed by the rest: what
// the first message ends is ended there, and otherwise the rest decides,
// keeping the first message's route unless the rest brings another, and
// giving the first message's neighbour records followed by the rest's.
#include "FuzzCheck.h"
#include "platform/linux/NetlinkReply.h"

#include <libmnl/libmnl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The request the datagram answers, when the first input byte asks for the
// checks of sequence and port; libmnl skips them for zeros.
constexpr uint32_t kSequence = 7;
constexpr uint32_t kPortId = 4242;

// Each part is read from a copy of exactly its own size, so that reading
// past it is caught.
NetlinkReply Parse(const uint8_t* bytes, size_t size, uint32_t sequence, uint32_t portId) {
    const std::vector<uint8_t> copy(bytes, bytes + size);
    const NetlinkReply reply = ParseNetlinkReply(copy, sequence, portId);
    FUZZ_CHECK((reply.status == NetlinkReply::Status::Refused) == (reply.error != 0));
    return reply;
}

bool SameRoute(const std::optional<NetlinkRoute>& a, const std::optional<NetlinkRoute>& b) {
    if (!a || !b) return !a && !b;
    return a->unicast == b->unicast && a->interfaceIndex == b->interfaceIndex;
}

bool SameNeighbour(const NetlinkNeighbour& a, const NetlinkNeighbour& b) {
    return a.interfaceIndex == b.interfaceIndex && a.state == b.state && a.address == b.address && a.mac == b.mac &&
           a.protocol == b.protocol;
}

bool SameNeighbours(const std::vector<NetlinkNeighbour>& a, const std::vector<NetlinkNeighbour>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameNeighbour);
}

std::vector<NetlinkNeighbour> Joined(std::vector<NetlinkNeighbour> first, const std::vector<NetlinkNeighbour>& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool checked = (data[0] & 1) != 0;
    const uint32_t sequence = checked ? kSequence : 0;
    const uint32_t portId = checked ? kPortId : 0;
    const uint8_t* datagram = data + 1;
    const size_t length = size - 1;

    const NetlinkReply whole = Parse(datagram, length, sequence, portId);

    if (length < sizeof(nlmsghdr)) return 0;
    nlmsghdr header;
    std::memcpy(&header, datagram, sizeof header);
    if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > length) return 0;
    // A message is read up to its length rounded up to 4 bytes.
    const size_t firstLength = std::min<size_t>(MNL_ALIGN(header.nlmsg_len), length);
    const NetlinkReply first = Parse(datagram, firstLength, sequence, portId);
    if (first.status != NetlinkReply::Status::Pending) {
        FUZZ_CHECK(whole.status == first.status && whole.error == first.error);
        FUZZ_CHECK(SameRoute(whole.route, first.route));
        FUZZ_CHECK(SameNeighbours(whole.neighbours, first.neighbours));
        return 0;
    }
    const NetlinkReply rest = Parse(datagram + firstLength, length - firstLength, sequence, portId);
    FUZZ_CHECK(whole.status == rest.status && whole.error == rest.error);
    FUZZ_CHECK(SameRoute(whole.route, rest.route ? rest.route : first.route));
    FUZZ_CHECK(SameNeighbours(whole.neighbours, Joined(first.neighbours, rest.neighbours)));
    return 0;
}
