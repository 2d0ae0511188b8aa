// ICMP echo of the Linux layer against the real kernel, inside a lab of two
// network namespaces: host 10.213.0.1, device 10.213.0.2 on a veth pair.
#include "net/Zorvel.h"
#include "platform/linux/EchoSocket.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Log.h"
#include "support/LoggedLinuxPlatform.h"
#include "support/NetLab.h"
#include "support/ThreadCapabilities.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

// Names the socket kind in test output; found by argument-dependent lookup.
void PrintTo(EchoSocket::Kind kind, std::ostream* os) { *os << (kind == EchoSocket::Kind::Datagram ? "Datagram" : "Raw"); }

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kHost = "10.213.0.1/24";
constexpr const char* kDevice = "10.213.0.2/24";
// A generous bound on how long a wait may overrun its time-out on a busy machine.
constexpr milliseconds kSlack{5000};
// The layer and the test read the clock at slightly different moments.
constexpr milliseconds kClockGrain{20};

uint32_t Address(const char* text) { return ::inet_addr(text); }

// The group range that lets root (gid 0) open ICMP datagram sockets, or
// nobody, which leaves the raw socket.
std::string PingGroupRange(EchoSocket::Kind kind) {
    return kind == EchoSocket::Kind::Datagram ? "0 2147483647" : "1 0";
}

class EchoTest : public ::testing::TestWithParam<EchoSocket::Kind> {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up(kHost, kDevice));
        ASSERT_TRUE(lab.Run(lab.HostNamespace(),
                            "sysctl -qw net.ipv4.ping_group_range='" + PingGroupRange(GetParam()) + "'"));
    }

    // Runs an echo inside the host namespace and measures how long it took.
    bool TimedEcho(const char* address, size_t size, milliseconds timeout, milliseconds& elapsed) {
        NetLab::Entered in(lab.HostNamespace());
        if (!in.Ok()) {
            ADD_FAILURE() << "could not enter the lab";  // never send from the host's own namespace
            return false;
        }
        const auto start = Clock::now();
        const bool answered =
            platform.SendEcho(Address(address), size, static_cast<uint32_t>(timeout.count()), nullptr);
        elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        return answered;
    }

    NetLab lab{"ec"};
    LinuxPlatform platform;
};

TEST_P(EchoTest, OpensTheSocketKindTheGroupRangeAllows) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    const std::unique_ptr<EchoSocket> socket = EchoSocket::Open();
    ASSERT_NE(socket, nullptr);
    EXPECT_EQ(socket->GetKind(), GetParam());
}

TEST_P(EchoTest, DeviceAnswersEveryPayloadSizeOfTheJob) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    for (size_t size : {0, 408, 479, 1472, 4000}) {
        EXPECT_TRUE(platform.SendEcho(Address("10.213.0.2"), size, 2000, nullptr)) << "payload " << size;
    }
}

TEST_P(EchoTest, LoopbackAnswersInsideTheNamespace) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    EXPECT_TRUE(platform.SendEcho(Address("127.0.0.1"), 0, 2000, nullptr));
}

TEST_P(EchoTest, SilentAddressGivesNoAnswerAfterTheTimeOut) {
    milliseconds elapsed{};
    EXPECT_FALSE(TimedEcho("10.213.0.3", 0, milliseconds(700), elapsed));
    EXPECT_GE(elapsed, milliseconds(700) - kClockGrain);
    EXPECT_LT(elapsed, milliseconds(700) + kSlack);
}

TEST_P(EchoTest, ZeroTimeOutGivesNoAnswer) {
    milliseconds elapsed{};
    EXPECT_FALSE(TimedEcho("10.213.0.3", 0, milliseconds(0), elapsed));
    EXPECT_LT(elapsed, kSlack);
}

// The device routes 10.214.0.0/24 nowhere and says so: the error about the
// request ends the wait with no answer instead of running out the time-out.
TEST_P(EchoTest, UnreachableFromARouterIsNoAnswer) {
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "ip route add 10.214.0.0/24 via 10.213.0.2"));
    ASSERT_TRUE(lab.Run(lab.DeviceNamespace(),
                        "sysctl -qw net.ipv4.ip_forward=1 && ip route add unreachable 10.214.0.0/24"));
    const milliseconds timeout{10000};
    milliseconds elapsed{};
    EXPECT_FALSE(TimedEcho("10.214.0.9", 0, timeout, elapsed));
    EXPECT_LT(elapsed, timeout / 2);
}

// The device end takes no frame above 576 bytes, so of two concurrent echoes
// to it only the small one is answered. The large one must neither take the
// small one's replies nor give up before its time-out.
TEST_P(EchoTest, ConcurrentEchoesKeepTheirOwnReplies) {
    ASSERT_TRUE(lab.Run(lab.DeviceNamespace(), "ip link set " + lab.DeviceInterface() + " mtu 576"));
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());

    std::atomic<bool> largeDone{false};
    auto small = std::async(std::launch::async, [&] {
        int answered = 0;
        int sent = 0;
        for (; sent < 200 && !largeDone.load(); ++sent) answered += platform.SendEcho(Address("10.213.0.2"), 0, 2000, nullptr);
        return std::make_pair(sent, answered);
    });
    constexpr milliseconds timeout{400};
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        EXPECT_FALSE(platform.SendEcho(Address("10.213.0.2"), 1000, static_cast<uint32_t>(timeout.count()), nullptr)) << "round " << round;
        EXPECT_GE(Clock::now() - start, timeout - kClockGrain) << "round " << round;
    }
    largeDone = true;
    const auto [sent, answered] = small.get();
    EXPECT_GT(sent, 0);
    EXPECT_EQ(answered, sent);
}

TEST_P(EchoTest, PingThroughTheLinuxLayerLogsItsResult) {
    Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    {
        LoggedLinuxPlatform logged;
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        EXPECT_TRUE(Zorvel::Ping("10.213.0.2", 2000, 0));
        EXPECT_FALSE(Zorvel::Ping("10.213.0.3", 300, 408));
        EXPECT_EQ(logged.DebugLines(),
                  (std::vector<std::string>{"QRM:D:Zorvel::Ping - Ping '10.213.0.2', timeout 2000, size 0",
                                            "QRM:D:Zorvel::Ping - Ping '10.213.0.2' - result 1",
                                            "QRM:D:Zorvel::Ping - Ping '10.213.0.3', timeout 300, size 408",
                                            "QRM:D:Zorvel::Ping - Ping '10.213.0.3' - result 0"}));
    }
    Log::Instance().Configure("", 2, 0, nullptr, nullptr);
}

// The job's cancel reaches an echo in flight: it ends at once, long before
// its time-out.
TEST_P(EchoTest, ACancelEndsTheEchoInFlight) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    std::unique_ptr<CancelEvent> cancel = platform.CreateCancelEvent();
    ASSERT_NE(cancel, nullptr);
    const char* silent = "10.213.0.77";  // nobody has it
    const milliseconds timeout{20000};
    auto firing = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(milliseconds(100));
        cancel->Fire();
    });
    const auto start = Clock::now();
    EXPECT_FALSE(platform.SendEcho(Address(silent), 0, static_cast<uint32_t>(timeout.count()), cancel.get()));
    EXPECT_LT(Clock::now() - start, timeout / 2);  // a generous bound: ended long before its time-out
    firing.get();
    // Fired, it stays fired: the next request does not wait at all.
    const auto again = Clock::now();
    EXPECT_FALSE(platform.SendEcho(Address(silent), 0, static_cast<uint32_t>(timeout.count()), cancel.get()));
    EXPECT_LT(Clock::now() - again, timeout / 2);
}

INSTANTIATE_TEST_SUITE_P(SocketKinds, EchoTest,
                         ::testing::Values(EchoSocket::Kind::Datagram, EchoSocket::Kind::Raw),
                         [](const auto& info) { return ::testing::PrintToString(info.param); });

// Without CAP_NET_RAW and outside the group range nothing can be sent: the
// echo fails after its time-out instead of crashing, hanging or returning at
// once, and the rights say so.
TEST(EchoRightsTest, WithoutRightsEchoFailsAndRightsSaySo) {
    if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
    NetLab lab("er");
    ASSERT_TRUE(lab.Up(kHost, kDevice));
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "sysctl -qw net.ipv4.ping_group_range='1 0'"));
    LinuxPlatform platform;
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());

    const NetworkRights full = platform.GetNetworkRights();
    EXPECT_TRUE(full.canSendEcho);
    EXPECT_TRUE(full.canChangeNeighbours);

    WithoutCapabilities reduced({CAP_NET_RAW, CAP_NET_ADMIN});
    ASSERT_TRUE(reduced.Ok());
    const NetworkRights none = platform.GetNetworkRights();
    EXPECT_FALSE(none.canSendEcho);
    EXPECT_FALSE(none.canChangeNeighbours);
    // Nothing can be sent, yet the ping takes its time-out, so a caller that
    // retries at once does not spin.
    const milliseconds timeout{300};
    const auto start = Clock::now();
    EXPECT_FALSE(Zorvel::Ping("10.213.0.2", static_cast<uint32_t>(timeout.count()), 0));
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, timeout - kClockGrain);
    EXPECT_LT(elapsed, timeout + kSlack);
}

}  // namespace
