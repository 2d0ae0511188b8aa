// The values that the platform calls take: a MAC address read from a serial
// number, and an IPv4 address, each with the text it prints as.
#include "net/IPv4Address.h"
#include "net/MacAddress.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

namespace {

struct SerialCase {
    const char* serialNumber;
    std::optional<MacAddress::Bytes> bytes;  // nothing: not a MAC address
    bool device;
};

void PrintTo(const SerialCase& c, std::ostream* os) { *os << '"' << (c.serialNumber ? c.serialNumber : "(null)") << '"'; }

class MacFromSerialTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(MacFromSerialTest, ReadsTwelveHexDigitsOnly) {
    const SerialCase& c = GetParam();
    const std::optional<MacAddress> mac = MacAddress::FromSerialNumber(c.serialNumber);
    ASSERT_EQ(mac.has_value(), c.bytes.has_value());
    if (!mac) return;
    EXPECT_EQ(mac->GetBytes(), *c.bytes);
    EXPECT_EQ(mac->IsDevice(), c.device);
}

INSTANTIATE_TEST_SUITE_P(
    SerialNumbers, MacFromSerialTest,
    ::testing::Values(SerialCase{"0A1B2C3D4E5F", MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}, true},
                      SerialCase{"0a1b2c3d4e5f", MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}, true},
                      SerialCase{"FFFFFFFFFFFF", MacAddress::Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
                      SerialCase{"010000000000", MacAddress::Bytes{0x01, 0, 0, 0, 0, 0}, false},
                      SerialCase{"000000000000", MacAddress::Bytes{}, false},
                      SerialCase{"0A1B2C3D4E5", std::nullopt, false},
                      SerialCase{"0A1B2C3D4E5F0", std::nullopt, false},
                      SerialCase{"0A-1B-2C-3D-4E-5F", std::nullopt, false},
                      SerialCase{"0A1B2C3D4E5G", std::nullopt, false},
                      SerialCase{"", std::nullopt, false}, SerialCase{nullptr, std::nullopt, false}));

TEST(MacAddressTest, PrintsAsTheArpCommandTakesIt) {
    EXPECT_EQ(MacAddress::FromSerialNumber("0a1b2c3d4e5f")->ToText(), "0A-1B-2C-3D-4E-5F");
    EXPECT_EQ(MacAddress().ToText(), "00-00-00-00-00-00");
}

TEST(IPv4AddressTest, PrintsItsBytesInMemoryOrder) {
    const uint8_t bytes[4] = {192, 168, 0, 90};
    uint32_t networkOrder;
    std::memcpy(&networkOrder, bytes, sizeof networkOrder);
    EXPECT_EQ(IPv4Address(networkOrder).ToText(), "192.168.0.90");
    EXPECT_EQ(IPv4Address(0xFFFFFFFF).ToText(), "255.255.255.255");
    EXPECT_EQ(IPv4Address().ToText(), "0.0.0.0");
}

}  // namespace
