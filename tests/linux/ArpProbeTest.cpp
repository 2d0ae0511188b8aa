// The ARP probe of the Linux layer inside a lab: host 10.213.0.1 and device
// 10.213.0.2 on a veth pair, whose kernel answers for its own address.
#include "platform/linux/LinuxPlatform.h"
#include "support/NetLab.h"
#include "support/ThreadCapabilities.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Status = ArpProbeResult::Status;

IPv4Address Address(const char* text) { return IPv4Address(::inet_addr(text)); }

class ArpProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up("10.213.0.1/24", "10.213.0.2/24"));
    }

    ArpProbeResult Probe(const char* address, CancelEvent* cancel = nullptr) {
        NetLab::Entered in(lab.HostNamespace());
        if (!in.Ok()) {
            ADD_FAILURE() << "could not enter the lab";  // never probe outside it
            return {Status::NotSent, {}};
        }
        return platform.ProbeArp(Address(address), cancel);
    }

    MacAddress DeviceMac() const {
        std::string text = lab.Capture(lab.DeviceNamespace(), "cat /sys/class/net/" + lab.DeviceInterface() + "/address");
        std::string digits;
        for (char c : text)
            if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
        return MacAddress::FromSerialNumber(digits.c_str()).value_or(MacAddress());
    }

    NetLab lab{"ap"};
    LinuxPlatform platform;
};

TEST_F(ArpProbeTest, HearsTheHostThatHasTheAddress) {
    const ArpProbeResult result = Probe("10.213.0.2");
    EXPECT_EQ(result.status, Status::Done);
    EXPECT_THAT(result.answers, ElementsAre(DeviceMac()));
}

TEST_F(ArpProbeTest, HearsNobodyForAFreeAddress) {
    const ArpProbeResult result = Probe("10.213.0.77");
    EXPECT_EQ(result.status, Status::Done);
    EXPECT_THAT(result.answers, IsEmpty());
}

// The probe names no sender address, so the device learns nothing from it.
TEST_F(ArpProbeTest, LeavesNoTraceInTheOtherHostsTable) {
    Probe("10.213.0.2");
    EXPECT_EQ(lab.Capture(lab.DeviceNamespace(), "ip -4 neigh show 10.213.0.1"), "");
}

TEST_F(ArpProbeTest, CannotBeSentWithoutARouteOrRights) {
    EXPECT_EQ(Probe("10.99.0.1").status, Status::NotSent);
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    WithoutCapabilities reduced({CAP_NET_RAW});
    ASSERT_TRUE(reduced.Ok());
    EXPECT_EQ(platform.ProbeArp(Address("10.213.0.2"), nullptr).status, Status::NotSent);
}

TEST_F(ArpProbeTest, ACancelEndsTheProbeInFlight) {
    std::unique_ptr<CancelEvent> cancel = platform.CreateCancelEvent();
    ASSERT_NE(cancel, nullptr);
    auto firing = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel->Fire();
    });
    EXPECT_EQ(Probe("10.213.0.77", cancel.get()).status, Status::Cancelled);
    firing.get();
}

}  // namespace
