#include "net/Zorvel.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::array<uint8_t, 4>;

// An address in network byte order from its bytes in memory order.
uint32_t StoredAddress(Bytes bytes) {
    uint32_t address;
    std::memcpy(&address, bytes.data(), 4);
    return address;
}

class ZorvelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        platform->hosts["device.local"] = StoredAddress({10, 1, 2, 3});
        platform->hosts["zero.local"] = 0;
    }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }
    ScopedFakePlatform platform;
};

class PingRefusalTest : public ZorvelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PingRefusalTest, RefusesWithoutAnyEchoButTakesItsWindow) {
    const char* host = GetParam();
    EXPECT_FALSE(Zorvel::Ping(host, 1000, 0));
    EXPECT_TRUE(platform->EchoCalls().empty());
    EXPECT_EQ(platform->Waits(), std::vector<uint32_t>{1000});
    EXPECT_EQ(platform->DebugLines(), (Lines{"QRM:D:Zorvel::Ping - Ping '" + std::string(host) + "', timeout 1000, size 0",
                                             "QRM:E:Zorvel::Ping - Failed do get address"}));
}

INSTANTIATE_TEST_SUITE_P(Hosts, PingRefusalTest,
                         ::testing::Values("0.0.0.0", "255.255.255.255", "nobody.local", "zero.local", " 10.0.0.1",
                                           "4294967306.0.0.1", ""));

struct PingCase {
    const char* host;
    uint32_t timeoutMs;
    uint16_t size;
    bool answer;
    Bytes address;  // where the echo goes
};

void PrintTo(const PingCase& c, std::ostream* os) {
    *os << '"' << c.host << "\" " << c.timeoutMs << " ms " << c.size << " bytes" << (c.answer ? " answered" : " silent");
}

class PingTest : public ZorvelTest, public ::testing::WithParamInterface<PingCase> {};

TEST_P(PingTest, SendsOneEchoAndLogsItsResult) {
    const PingCase& ping = GetParam();
    platform->onEcho = [&](const FakePlatform::EchoCall&) { return ping.answer; };
    EXPECT_EQ(Zorvel::Ping(ping.host, ping.timeoutMs, ping.size), ping.answer);

    const std::vector<FakePlatform::EchoCall> calls = platform->EchoCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].address, StoredAddress(ping.address));
    EXPECT_EQ(calls[0].payloadSize, ping.size);
    EXPECT_EQ(calls[0].timeoutMs, ping.timeoutMs);
    const std::string host(ping.host);
    EXPECT_EQ(platform->DebugLines(),
              (Lines{"QRM:D:Zorvel::Ping - Ping '" + host + "', timeout " + std::to_string(ping.timeoutMs) +
                         ", size " + std::to_string(ping.size),
                     "QRM:D:Zorvel::Ping - Ping '" + host + "' - result " + (ping.answer ? "1" : "0")}));
}

TEST_P(PingTest, AnUnansweredEchoTakesTheRestOfItsWindow) {
    const PingCase& ping = GetParam();
    // The echo returns early, 300 ms into its window, as after an ICMP error.
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        platform->tickCount += 300;
        return ping.answer;
    };
    Zorvel::Ping(ping.host, ping.timeoutMs, ping.size);
    EXPECT_EQ(platform->Waits(), ping.answer ? std::vector<uint32_t>{} : std::vector<uint32_t>{ping.timeoutMs - 300});
}

TEST_F(ZorvelTest, AnEchoThatUsedItsWholeWindowIsNotFollowedByAWait) {
    platform->tickCount = 0xFFFFFF00;  // the count wraps during the echo
    platform->onEcho = [&](const FakePlatform::EchoCall& call) {
        platform->tickCount += call.timeoutMs + 5;
        return false;
    };
    EXPECT_FALSE(Zorvel::Ping("192.168.0.90", 1000, 0));
    EXPECT_TRUE(platform->Waits().empty());
}

INSTANTIATE_TEST_SUITE_P(Echoes, PingTest,
                         ::testing::Values(PingCase{"192.168.0.90", 1000, 0, true, {192, 168, 0, 90}},
                                           PingCase{"192.168.0.90", 1000, 408, false, {192, 168, 0, 90}},
                                           PingCase{"192.168.0.90 ", 500, 479, true, {192, 168, 0, 90}},
                                           PingCase{"device.local", 1000, 0, true, {10, 1, 2, 3}},
                                           PingCase{"device.local", 500, 0, false, {10, 1, 2, 3}}));

struct ArpCase {
    bool launched;
    Lines addLines;
    Lines deleteLines;
};

void PrintTo(const ArpCase& c, std::ostream* os) { *os << (c.launched ? "launched" : "not launched"); }

class ArpTest : public ZorvelTest, public ::testing::WithParamInterface<ArpCase> {};

const IPv4Address kDevice(StoredAddress({192, 168, 0, 90}));
const MacAddress kDeviceMac(MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F});

TEST_P(ArpTest, ChangesTheEntryAndLogsOnlyAFailure) {
    platform->onSetNeighbour = [&](IPv4Address, const MacAddress&) { return GetParam().launched; };
    platform->onRemoveNeighbour = [&](IPv4Address) { return GetParam().launched; };
    EXPECT_EQ(Zorvel::ArpAdd(kDevice, kDeviceMac), GetParam().launched);
    EXPECT_EQ(platform->DebugLines(), GetParam().addLines);
    platform->ClearRecords();
    Zorvel::ArpDel(kDevice);
    EXPECT_EQ(platform->DebugLines(), GetParam().deleteLines);
}

TEST_P(ArpTest, PassesAddressAndMac) {
    platform->onSetNeighbour = [&](IPv4Address, const MacAddress&) { return GetParam().launched; };
    platform->onRemoveNeighbour = [&](IPv4Address) { return GetParam().launched; };
    Zorvel::ArpAdd(kDevice, kDeviceMac);
    Zorvel::ArpDel(kDevice);
    EXPECT_EQ(platform->ArpCalls(), (Lines{"-s 192.168.0.90 0A-1B-2C-3D-4E-5F", "-d 192.168.0.90"}));
}

INSTANTIATE_TEST_SUITE_P(
    Launches, ArpTest,
    ::testing::Values(
        ArpCase{true,
                {"QRM:D:Zorvel::ArpAdd - Arp add ip: '192.168.0.90' for eth '0A-1B-2C-3D-4E-5F'."},
                {"QRM:D:Zorvel::ArpDel - Arp delete ip: '192.168.0.90' "}},
        ArpCase{false,
                {"QRM:D:Zorvel::ArpAdd - Arp add ip: '192.168.0.90' for eth '0A-1B-2C-3D-4E-5F'.",
                 "QRM:E:Zorvel::ArpAdd - arp failed"},
                {"QRM:D:Zorvel::ArpDel - Arp delete ip: '192.168.0.90' ",
                 "QRM:E:Zorvel::ArpDel - Zorvel::ArpDel - arp failed"}}));

}  // namespace
