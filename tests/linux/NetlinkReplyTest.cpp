// The reading of the kernel's rtnetlink answers, on datagrams built here:
// acknowledgements, refusals, route messages, neighbour dumps, and damaged
// datagrams.
#include "platform/linux/NetlinkReply.h"

#include "platform/Platform.h"

#include <libmnl/libmnl.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <optional>
#include <vector>

namespace {

constexpr uint32_t kSequence = 7;
constexpr uint32_t kPortId = 4242;

// A datagram of netlink messages, each appended whole and aligned.
class Datagram {
public:
    // A message of `type` with `payload` bytes after its header, all zero.
    nlmsghdr* Add(uint16_t type, size_t payload, uint32_t sequence = kSequence) {
        const size_t offset = bytes_.size();
        bytes_.resize(offset + MNL_ALIGN(sizeof(nlmsghdr) + payload));
        auto* message = reinterpret_cast<nlmsghdr*>(bytes_.data() + offset);
        message->nlmsg_len = static_cast<uint32_t>(sizeof(nlmsghdr) + payload);
        message->nlmsg_type = type;
        message->nlmsg_seq = sequence;
        message->nlmsg_pid = kPortId;
        return message;
    }

    void AddAcknowledgement(int error) {
        nlmsghdr* message = Add(NLMSG_ERROR, sizeof(nlmsgerr));
        static_cast<nlmsgerr*>(mnl_nlmsg_get_payload(message))->error = error;
    }

    // A route message of `type` with an output interface, when given.
    void AddRoute(uint8_t type, std::optional<uint32_t> interfaceIndex) {
        std::vector<uint8_t> scratch(MNL_SOCKET_BUFFER_SIZE);
        nlmsghdr* message = mnl_nlmsg_put_header(scratch.data());
        message->nlmsg_type = RTM_NEWROUTE;
        message->nlmsg_seq = kSequence;
        message->nlmsg_pid = kPortId;
        auto* route = static_cast<rtmsg*>(mnl_nlmsg_put_extra_header(message, sizeof(rtmsg)));
        route->rtm_family = AF_INET;
        route->rtm_type = type;
        if (interfaceIndex) mnl_attr_put_u32(message, RTA_OIF, *interfaceIndex);
        bytes_.insert(bytes_.end(), scratch.begin(), scratch.begin() + MNL_ALIGN(message->nlmsg_len));
    }

    // A neighbour message of `family` for `interfaceIndex`, with the
    // attributes given; a MAC of another length than 6 when `macLength` says.
    void AddNeighbour(uint8_t family, uint32_t interfaceIndex, uint16_t state, std::optional<uint32_t> address,
                      std::optional<MacAddress> mac, std::optional<uint8_t> protocol, size_t macLength = 6) {
        std::vector<uint8_t> scratch(MNL_SOCKET_BUFFER_SIZE);
        nlmsghdr* message = mnl_nlmsg_put_header(scratch.data());
        message->nlmsg_type = RTM_NEWNEIGH;
        message->nlmsg_flags = NLM_F_MULTI;
        message->nlmsg_seq = kSequence;
        message->nlmsg_pid = kPortId;
        auto* neighbour = static_cast<ndmsg*>(mnl_nlmsg_put_extra_header(message, sizeof(ndmsg)));
        neighbour->ndm_family = family;
        neighbour->ndm_ifindex = static_cast<int>(interfaceIndex);
        neighbour->ndm_state = state;
        if (address) mnl_attr_put_u32(message, NDA_DST, *address);
        if (mac) {
            std::vector<uint8_t> bytes(mac->GetBytes().begin(), mac->GetBytes().end());
            bytes.resize(macLength, 0xEE);
            mnl_attr_put(message, NDA_LLADDR, bytes.size(), bytes.data());
        }
        if (protocol) mnl_attr_put_u8(message, NDA_PROTOCOL, *protocol);
        bytes_.insert(bytes_.end(), scratch.begin(), scratch.begin() + MNL_ALIGN(message->nlmsg_len));
    }

    // The end of a dump.
    void AddDone() { Add(NLMSG_DONE, sizeof(int)); }

    // The header of the first message.
    nlmsghdr& Header() { return *reinterpret_cast<nlmsghdr*>(bytes_.data()); }

    // Cuts the datagram after `size` bytes.
    void Truncate(size_t size) { bytes_.resize(size); }

    // Cuts the only message `by` bytes short, datagram and length alike.
    void Shorten(size_t by) {
        Header().nlmsg_len -= static_cast<uint32_t>(by);
        Truncate(MNL_ALIGN(Header().nlmsg_len));
    }

    // Exactly the bytes of the messages, so that any read past them is caught.
    NetlinkReply Parse() const { return ParseNetlinkReply(bytes_, kSequence, kPortId); }

private:
    std::vector<uint8_t> bytes_;
};

using Status = NetlinkReply::Status;

const MacAddress kMac({0x02, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F});
const MacAddress kOtherMac({0x02, 0x00, 0x00, 0x00, 0x00, 0x01});
constexpr uint32_t kAddress = 0x0A00000Au;  // any value; the reader does not look into it
constexpr uint32_t kOtherAddress = 0x0B00000Bu;

TEST(NetlinkReplyTest, AnAcknowledgementEndsTheAnswer) {
    Datagram datagram;
    datagram.AddAcknowledgement(0);
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Acknowledged);
    EXPECT_EQ(reply.error, 0);
    EXPECT_FALSE(reply.route);
}

TEST(NetlinkReplyTest, ARefusalCarriesTheKernelsError) {
    Datagram datagram;
    datagram.AddAcknowledgement(-ENOENT);
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Refused);
    EXPECT_EQ(reply.error, ENOENT);
}

TEST(NetlinkReplyTest, ARouteMessageGivesTypeAndInterface) {
    Datagram datagram;
    datagram.AddRoute(RTN_UNICAST, 3);
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Pending);
    ASSERT_TRUE(reply.route);
    EXPECT_TRUE(reply.route->unicast);
    EXPECT_EQ(reply.route->interfaceIndex, 3u);
}

TEST(NetlinkReplyTest, TheLastRouteMessageOfADatagramCountsWithItsAcknowledgement) {
    Datagram datagram;
    datagram.AddRoute(RTN_UNICAST, 3);
    datagram.AddRoute(RTN_UNREACHABLE, std::nullopt);
    datagram.AddAcknowledgement(0);
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Acknowledged);
    ASSERT_TRUE(reply.route);
    EXPECT_FALSE(reply.route->unicast);
    EXPECT_FALSE(reply.route->interfaceIndex);
}

TEST(NetlinkReplyTest, AMessageForAnotherRequestRefusesTheDatagram) {
    Datagram datagram;
    datagram.Add(NLMSG_ERROR, sizeof(nlmsgerr), kSequence + 1);
    EXPECT_EQ(datagram.Parse().status, Status::Refused);
}

TEST(NetlinkReplyTest, ATruncatedAcknowledgementIsRefused) {
    Datagram datagram;
    datagram.Add(NLMSG_ERROR, sizeof(int));
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Refused);
    EXPECT_NE(reply.error, 0);
}

// A route message that ends before its route header was read past its end.
TEST(NetlinkReplyTest, ARouteMessageWithoutItsHeaderIsRefusedUnread) {
    for (size_t payload : {size_t{0}, size_t{4}, sizeof(rtmsg) - 4}) {
        SCOPED_TRACE(payload);
        Datagram datagram;
        datagram.Add(RTM_NEWROUTE, payload);
        const NetlinkReply reply = datagram.Parse();
        EXPECT_EQ(reply.status, Status::Refused);
        EXPECT_EQ(reply.error, EBADMSG);
        EXPECT_FALSE(reply.route);
    }
}

// libmnl reads a length of 2 GiB or more as negative and follows it far past
// the datagram; such a message is no more whole than any other that does
// not fit, and is not read.
TEST(NetlinkReplyTest, AMessageLongerThanTheDatagramIsNotRead) {
    for (uint32_t length : {uint32_t{sizeof(nlmsghdr) + sizeof(nlmsgerr) + 4}, uint32_t{0x7FFFFFFF},
                            uint32_t{0x80000000}, uint32_t{0xFFFFFFFF}}) {
        SCOPED_TRACE(length);
        Datagram datagram;
        datagram.AddAcknowledgement(0);
        datagram.Header().nlmsg_len = length;
        const NetlinkReply reply = datagram.Parse();
        EXPECT_EQ(reply.status, Status::Pending);
        EXPECT_FALSE(reply.route);
    }
}

// libmnl reads attributes up to the message's length rounded up to 4 bytes,
// so a last message whose rounded length passes the datagram's end would
// have its last attribute read partly from beyond it.
TEST(NetlinkReplyTest, AMessageWhosePaddingPassesTheDatagramIsNotRead) {
    Datagram datagram;
    datagram.AddRoute(RTN_UNICAST, 3);
    const uint32_t cut = datagram.Header().nlmsg_len - 1;
    datagram.Header().nlmsg_len = cut;
    datagram.Truncate(cut);
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Pending);
    EXPECT_FALSE(reply.route);
}

TEST(NetlinkReplyTest, AnEmptyOrShortDatagramLeavesTheAnswerPending) {
    const std::vector<uint8_t> bytes(sizeof(nlmsghdr) - 1, 0);
    for (size_t size : {size_t{0}, bytes.size()}) {
        const NetlinkReply reply = ParseNetlinkReply({bytes.data(), size}, kSequence, kPortId);
        EXPECT_EQ(reply.status, Status::Pending);
        EXPECT_FALSE(reply.route);
    }
}

// A dump of the neighbour table: its IPv4 records, over as many datagrams as
// the kernel needs, up to NLMSG_DONE.
TEST(NetlinkReplyTest, ANeighbourDumpGivesEachIPv4RecordUntilItsEnd) {
    Datagram first;
    first.AddNeighbour(AF_INET, 2, NUD_PERMANENT, kAddress, kMac, kNeighbourTag);
    first.AddNeighbour(AF_INET6, 2, NUD_REACHABLE, std::nullopt, kMac, std::nullopt);
    first.AddNeighbour(AF_INET, 5, NUD_REACHABLE, kOtherAddress, kOtherMac, std::nullopt);
    const NetlinkReply begun = first.Parse();
    EXPECT_EQ(begun.status, Status::Pending);
    ASSERT_EQ(begun.neighbours.size(), 2u);
    EXPECT_EQ(begun.neighbours[0].interfaceIndex, 2u);
    EXPECT_EQ(begun.neighbours[0].state, NUD_PERMANENT);
    EXPECT_EQ(begun.neighbours[0].address, IPv4Address(kAddress));
    EXPECT_EQ(begun.neighbours[0].mac, kMac);
    EXPECT_EQ(begun.neighbours[0].protocol, kNeighbourTag);
    EXPECT_EQ(begun.neighbours[1].interfaceIndex, 5u);
    EXPECT_EQ(begun.neighbours[1].state, NUD_REACHABLE);
    EXPECT_EQ(begun.neighbours[1].address, IPv4Address(kOtherAddress));
    EXPECT_EQ(begun.neighbours[1].mac, kOtherMac);
    EXPECT_FALSE(begun.neighbours[1].protocol);

    Datagram last;
    last.AddNeighbour(AF_INET, 7, NUD_FAILED, kAddress, std::nullopt, std::nullopt);
    last.AddDone();
    const NetlinkReply ended = last.Parse();
    EXPECT_EQ(ended.status, Status::Acknowledged);
    EXPECT_EQ(ended.error, 0);
    ASSERT_EQ(ended.neighbours.size(), 1u);
    EXPECT_EQ(ended.neighbours[0].interfaceIndex, 7u);
    EXPECT_FALSE(ended.neighbours[0].mac);
}

// Link-layer addresses of other lengths (as on InfiniBand) are no MAC.
TEST(NetlinkReplyTest, ANeighbourWithAnotherLinkLayerAddressHasNoMac) {
    for (size_t macLength : {size_t{0}, size_t{5}, size_t{8}, size_t{20}}) {
        SCOPED_TRACE(macLength);
        Datagram datagram;
        datagram.AddNeighbour(AF_INET, 2, NUD_REACHABLE, kAddress, kMac, kNeighbourTag, macLength);
        const NetlinkReply reply = datagram.Parse();
        EXPECT_EQ(reply.status, Status::Pending);
        ASSERT_EQ(reply.neighbours.size(), 1u);
        EXPECT_FALSE(reply.neighbours[0].mac);
        EXPECT_EQ(reply.neighbours[0].protocol, kNeighbourTag);
    }
}

// A neighbour message that ends before its header was read past its end.
TEST(NetlinkReplyTest, ANeighbourMessageWithoutItsHeaderIsRefusedUnread) {
    for (size_t payload : {size_t{0}, size_t{4}, sizeof(ndmsg) - 4}) {
        SCOPED_TRACE(payload);
        Datagram datagram;
        datagram.Add(RTM_NEWNEIGH, payload);
        const NetlinkReply reply = datagram.Parse();
        EXPECT_EQ(reply.status, Status::Refused);
        EXPECT_EQ(reply.error, EBADMSG);
        EXPECT_TRUE(reply.neighbours.empty());
    }
}

// A record cut inside an attribute lost what that attribute said: a tag cut
// off would pass our entry off as someone else's. The whole datagram is
// refused, for records and routes alike.
TEST(NetlinkReplyTest, AMessageCutInsideAnAttributeIsRefused) {
    // The record ends in the MAC (12 bytes with header) and the protocol
    // (8 with header and padding); a cut inside the padding loses nothing.
    for (size_t cut : {size_t{4}, size_t{7}, size_t{12}}) {
        SCOPED_TRACE(cut);
        Datagram neighbour;
        neighbour.AddNeighbour(AF_INET, 2, NUD_PERMANENT, kAddress, kMac, kNeighbourTag);
        neighbour.Shorten(cut);
        const NetlinkReply reply = neighbour.Parse();
        EXPECT_EQ(reply.status, Status::Refused);
        EXPECT_EQ(reply.error, EBADMSG);
        EXPECT_TRUE(reply.neighbours.empty());
    }
    Datagram route;
    route.AddRoute(RTN_UNICAST, 3);
    route.Shorten(4);
    EXPECT_EQ(route.Parse().status, Status::Refused);
}

// An attribute that claims more bytes than its message holds.
TEST(NetlinkReplyTest, AnAttributeLongerThanItsMessageIsRefused) {
    Datagram datagram;
    datagram.AddNeighbour(AF_INET, 2, NUD_PERMANENT, kAddress, std::nullopt, std::nullopt);
    // The address attribute follows the neighbour header.
    auto* attribute = static_cast<nlattr*>(mnl_nlmsg_get_payload_offset(&datagram.Header(), sizeof(ndmsg)));
    attribute->nla_len = 12;
    const NetlinkReply reply = datagram.Parse();
    EXPECT_EQ(reply.status, Status::Refused);
    EXPECT_TRUE(reply.neighbours.empty());
}

}  // namespace
