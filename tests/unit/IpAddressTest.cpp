#include "net/IpAddress.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <new>
#include <string>

namespace {

struct NumericCase {
    const char* text;
    bool numeric;
};

void PrintTo(const NumericCase& c, std::ostream* os) {
    if (!c.text) *os << "absent";
    else if (std::strlen(c.text) > 24) *os << std::strlen(c.text) << " characters";
    else *os << '"' << c.text << '"';
}

class IsNumericAddressTest : public ::testing::TestWithParam<NumericCase> {};

TEST_P(IsNumericAddressTest, TakesFourNumbersUpTo255AndTrailingBlanksOnly) {
    EXPECT_EQ(IsNumericAddress(GetParam().text), GetParam().numeric);
}

const std::string kLongestText = "10.0.0.1" + std::string(255 - 8, ' ');
const std::string kTooLongText = "10.0.0.1" + std::string(256 - 8, ' ');

INSTANTIATE_TEST_SUITE_P(
    Texts, IsNumericAddressTest,
    ::testing::Values(NumericCase{"10.0.0.1", true}, NumericCase{"192.168.0.90", true},
                      NumericCase{"0.0.0.0", true}, NumericCase{"255.255.255.255", true},
                      NumericCase{"10.0.0.1 ", true}, NumericCase{" 10.0.0.1\t\n", true},
                      NumericCase{"10. 0.0.1", true}, NumericCase{"+10.0.0.1", true},
                      NumericCase{"-0.0.0.1", true}, NumericCase{"010.0.0.1", true},
                      NumericCase{kLongestText.c_str(), true},
                      NumericCase{nullptr, false}, NumericCase{"", false}, NumericCase{kTooLongText.c_str(), false},
                      NumericCase{"10.0.0.1x", false}, NumericCase{"10.0.0.1 x", false},
                      NumericCase{"10.0.0", false}, NumericCase{"10.0.0.", false},
                      NumericCase{"10.0.0.256", false}, NumericCase{"-1.0.0.1", false},
                      NumericCase{"10 .0.0.1", false}, NumericCase{"10.0.0.1.5", false},
                      NumericCase{"0x0A.0.0.1", false}, NumericCase{"a.b.c.d", false},
                      NumericCase{"device.local", false},
                      // Numbers beyond any integer type must not wrap into range.
                      NumericCase{"4294967306.0.0.1", false}, NumericCase{"10.0.0.4294967297", false},
                      NumericCase{"99999999999999999999999.0.0.1", false},
                      NumericCase{"10.0.0.-4294967295", false}));

// An address in network byte order from its bytes in memory order.
uint32_t StoredAddress(std::array<uint8_t, 4> bytes) {
    uint32_t address;
    std::memcpy(&address, bytes.data(), 4);
    return address;
}

// The record bytes as laid out in memory after the family field.
struct RecordBytes {
    std::array<uint8_t, 2> port;
    std::array<uint8_t, 4> address;
};

RecordBytes BytesOf(const IpAddress& value) {
    const IpAddress::SocketAddress& record = value.GetSocketAddress();
    RecordBytes bytes;
    std::memcpy(bytes.port.data(), &record.port, 2);
    std::memcpy(bytes.address.data(), &record.address, 4);
    return bytes;
}

struct ValueCase {
    const char* name;
    IpAddress (*make)();
    std::array<uint8_t, 2> port;
    std::array<uint8_t, 4> address;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class IpAddressTest : public ::testing::TestWithParam<ValueCase> {
protected:
    void SetUp() override {
        platform->hosts["device.local"] = StoredAddress({10, 1, 2, 3});
        platform->hosts["fakehost"] = StoredAddress({192, 168, 0, 7});
    }
    ScopedFakePlatform platform;
};

TEST_P(IpAddressTest, LaysOutFamilyPortAddressAndZeroBytes) {
    const IpAddress value = GetParam().make();
    EXPECT_EQ(value.GetSocketAddress().family, 2);
    const RecordBytes bytes = BytesOf(value);
    EXPECT_EQ(bytes.port, GetParam().port);
    EXPECT_EQ(bytes.address, GetParam().address);
    const uint8_t zero[8] = {};
    EXPECT_EQ(std::memcmp(value.GetSocketAddress().zero, zero, sizeof zero), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Constructions, IpAddressTest,
    ::testing::Values(
        ValueCase{"AddressAndPort", [] { return IpAddress(StoredAddress({192, 168, 0, 90}), 0x1234); },
                  {0x12, 0x34}, {192, 168, 0, 90}},
        ValueCase{"NumericText", [] { return IpAddress("192.168.0.90", 80); }, {0x00, 0x50}, {192, 168, 0, 90}},
        ValueCase{"NamedText", [] { return IpAddress("device.local", 80); }, {0x00, 0x50}, {0, 0, 0, 0}},
        ValueCase{"AbsentText", [] { return IpAddress(static_cast<const char*>(nullptr), 0); }, {0, 0}, {0, 0, 0, 0}},
        ValueCase{"FromNumericText", [] { return IpAddress::FromText("10.0.0.1"); }, {0, 0}, {10, 0, 0, 1}},
        ValueCase{"FromKnownName", [] { return IpAddress::FromText("device.local"); }, {0, 0}, {10, 1, 2, 3}},
        ValueCase{"FromUnknownName", [] { return IpAddress::FromText("nobody.local"); }, {0, 0},
                  {255, 255, 255, 255}},
        ValueCase{"FromAbsentName", [] { return IpAddress::FromHostName(nullptr); }, {0, 0}, {255, 255, 255, 255}},
        // Numeric to the scan but not to the standard conversion.
        ValueCase{"FromUnconvertibleText", [] { return IpAddress::FromText(" 10.0.0.1"); }, {0, 0},
                  {255, 255, 255, 255}},
        ValueCase{"LocalHost", [] { return IpAddress::LocalHost(); }, {0, 0}, {192, 168, 0, 7}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IpAddressRecordTest, ClearsTheZeroBytesWhateverTheMemoryHeld) {
    alignas(IpAddress) unsigned char storage[sizeof(IpAddress)];
    std::memset(storage, 0xA5, sizeof storage);
    const IpAddress* value = new (storage) IpAddress(StoredAddress({127, 0, 0, 1}), 0);
    const uint8_t zero[8] = {};
    EXPECT_EQ(std::memcmp(value->GetSocketAddress().zero, zero, sizeof zero), 0);
    value->~IpAddress();
}

TEST(IpAddressOctetTest, GivesTheDottedNumbersByIndexAndZeroOutside) {
    const IpAddress value(StoredAddress({192, 168, 0, 90}), 0);
    const struct {
        int index;
        uint8_t octet;
    } cases[] = {{-1, 0}, {0, 0}, {1, 192}, {2, 168}, {3, 0}, {4, 90}, {5, 0}};
    for (const auto& expected : cases) EXPECT_EQ(value.GetOctet(expected.index), expected.octet) << expected.index;
}

class LocalHostTest : public ::testing::Test {
protected:
    ScopedFakePlatform platform;
};

TEST_F(LocalHostTest, NameFillsTheWholeBuffer) {
    platform->hostName = std::string(256, 'h');
    EXPECT_EQ(GetLocalHostName(), std::string(256, 'h'));
}

TEST_F(LocalHostTest, UnknownNameGivesAllOnes) {
    platform->hostName = std::nullopt;
    EXPECT_EQ(GetLocalHostName(), "");
    EXPECT_EQ(IpAddress::LocalHost().GetAddress(), IpAddress::kUnresolved);
}

}  // namespace
