// The reading of the kernel's rtnetlink answers, on datagrams built here:
// acknowledgements, refusals, route messages, and damaged datagrams.
#include "platform/linux/NetlinkReply.h"

#include <libmnl/libmnl.h>
#include <linux/rtnetlink.h>

#include <gtest/gtest.h>

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

    // The header of the first message.
    nlmsghdr& Header() { return *reinterpret_cast<nlmsghdr*>(bytes_.data()); }

    // Cuts the datagram after `size` bytes.
    void Truncate(size_t size) { bytes_.resize(size); }

    // Exactly the bytes of the messages, so that any read past them is caught.
    NetlinkReply Parse() const { return ParseNetlinkReply(bytes_, kSequence, kPortId); }

private:
    std::vector<uint8_t> bytes_;
};

using Status = NetlinkReply::Status;

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

}  // namespace
