#include "net/AddressRules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(IsHexDigitTest, AcceptsExactlyTheHexadecimalDigitsOfEveryByte) {
    const std::string hexDigits = "0123456789abcdefABCDEF";
    for (int byte = 0; byte < 256; ++byte) {
        const char character = static_cast<char>(byte);
        EXPECT_EQ(IsHexDigit(character), hexDigits.find(character) != std::string::npos) << "byte " << byte;
    }
}

struct SerialCase {
    const char* text;
    bool valid;
};

void PrintTo(const SerialCase& c, std::ostream* out) { *out << (c.text ? c.text : "(null)"); }

class SerialNumberTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialNumberTest, Decides) { EXPECT_EQ(IsValidSerialNumber(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(Cases, SerialNumberTest,
                         ::testing::Values(SerialCase{"0a1B2c3D4e5F", true}, SerialCase{"00105A0C0D0E", true},
                                           SerialCase{"FEFFFFFFFFFF", true},  // even first octet: one device
                                           SerialCase{"FFFFFFFFFFFF", false},  // broadcast
                                           SerialCase{"01005E000001", false},  // IPv4 multicast
                                           SerialCase{"333300000001", false},  // IPv6 multicast
                                           SerialCase{"0100000000FF", false},  // any odd first octet
                                           SerialCase{"000000000000", false},  // all zero
                                           SerialCase{"000000000001", true},
                                           SerialCase{"0a1B2c3D4e5", false},    // eleven digits
                                           SerialCase{"0a1B2c3D4e5F0", false},  // thirteen digits
                                           SerialCase{"0a1B2c3D4e5G", false}, SerialCase{"G01234567890", false},
                                           SerialCase{"00:10:5A:0C:", false}, SerialCase{"00105A-C0D0E", false},
                                           SerialCase{"00105A0C0D0:", false}, SerialCase{" 0105A0C0D0E", false},
                                           SerialCase{"", false}, SerialCase{nullptr, false}));

// One text with what ParseIpAddress and IsValidIpAddress make of it.
struct AddressCase {
    std::string text;
    bool parses;
    std::vector<int32_t> octets;  // when it parses
    bool valid;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class AddressTextTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressTextTest, ParsesAndValidates) {
    const AddressCase& c = GetParam();
    int32_t o1 = -7, o2 = -7, o3 = -7, o4 = -7;
    EXPECT_EQ(ParseIpAddress(c.text.c_str(), o1, o2, o3, o4), c.parses);
    if (c.parses) {
        EXPECT_EQ((std::vector<int32_t>{o1, o2, o3, o4}), c.octets);
    }
    EXPECT_EQ(IsValidIpAddress(c.text.c_str()), c.valid);
}

// The rules are those of the C library's scan; for every text whose numbers
// fit in 32 bits the library itself must agree.
TEST_P(AddressTextTest, AgreesWithTheLibraryScan) {
    const AddressCase& c = GetParam();
    int s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    char rest[256];
    const bool scanned = std::sscanf(c.text.c_str(), "%d.%d.%d.%d%255s", &s1, &s2, &s3, &s4, rest) == 4;
    int32_t o1, o2, o3, o4;
    ASSERT_EQ(ParseIpAddress(c.text.c_str(), o1, o2, o3, o4), scanned);
    if (scanned) {
        EXPECT_EQ((std::vector<int32_t>{o1, o2, o3, o4}), (std::vector<int32_t>{s1, s2, s3, s4}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressTextTest,
    ::testing::Values(
        AddressCase{"192.168.0.1", true, {192, 168, 0, 1}, true},
        AddressCase{"10.0.0.255", true, {10, 0, 0, 255}, true},
        AddressCase{"255.255.255.255", true, {255, 255, 255, 255}, true},
        AddressCase{"1.0.0.1", true, {1, 0, 0, 1}, true},
        AddressCase{"0.1.2.3", true, {0, 1, 2, 3}, false},   // octet 1 is 0
        AddressCase{"10.0.0.0", true, {10, 0, 0, 0}, false},  // octet 4 is 0
        AddressCase{"256.1.1.1", true, {256, 1, 1, 1}, false},
        AddressCase{"1.256.1.1", true, {1, 256, 1, 1}, false},
        AddressCase{"1.1.256.1", true, {1, 1, 256, 1}, false},
        AddressCase{"1.1.1.256", true, {1, 1, 1, 256}, false},
        AddressCase{"1.2.3", false, {}, false},
        AddressCase{"1.2.3.4.5", false, {}, false},  // a fifth part
        AddressCase{"1.2.3.4.", false, {}, false},   // a trailing dot
        AddressCase{"1.2.3.4 ", true, {1, 2, 3, 4}, true},
        AddressCase{"1.2.3.4\t\r\n", true, {1, 2, 3, 4}, true},
        AddressCase{"1.2.3.4x", false, {}, false},
        AddressCase{"1.2.3.4 x", false, {}, false},
        AddressCase{"1 .2.3.4", false, {}, false},  // white space before a dot
        AddressCase{"1.2.3 .4", false, {}, false},
        AddressCase{" 1. 2.\t3.\n4", true, {1, 2, 3, 4}, true},  // white space before a number
        AddressCase{"01.02.03.04", true, {1, 2, 3, 4}, true},
        AddressCase{"010.0.0.010", true, {10, 0, 0, 10}, true},  // decimal, not octal
        AddressCase{"0x1.2.3.4", false, {}, false},
        AddressCase{"+1.+2.+3.+4", true, {1, 2, 3, 4}, true},
        AddressCase{"1.-0.2.3", true, {1, 0, 2, 3}, true},
        AddressCase{"1.-1.2.3", true, {1, -1, 2, 3}, false},
        AddressCase{"-1.2.3.4", true, {-1, 2, 3, 4}, false},
        AddressCase{"1.2.3.+", false, {}, false},
        AddressCase{"1.2.3.-x", false, {}, false},
        AddressCase{"1..2.3", false, {}, false},
        AddressCase{"1,2,3,4", false, {}, false},
        AddressCase{"a.b.c.d", false, {}, false},
        AddressCase{"2147483647.1.1.1", true, {2147483647, 1, 1, 1}, false},
        AddressCase{"-2147483648.1.1.1", true, {-2147483648, 1, 1, 1}, false},
        AddressCase{"", false, {}, false},
        AddressCase{"   ", false, {}, false}));

// Numbers beyond 32 bits are held at the limit instead of wrapping, so that no
// oversized number passes as an octet (4294967297 would otherwise read as 1).
TEST(ParseIpAddressTest, HoldsOversizedNumbersAtTheLimit) {
    struct Case {
        const char* text;
        int32_t octet1;
    } cases[] = {
        {"4294967297.1.1.1", 2147483647},
        {"2147483648.1.1.1", 2147483647},
        {"99999999999999999999999999.1.1.1", 2147483647},
        {"-4294967295.1.1.1", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        int32_t o1, o2, o3, o4;
        EXPECT_TRUE(ParseIpAddress(c.text, o1, o2, o3, o4)) << c.text;
        EXPECT_EQ(o1, c.octet1) << c.text;
        EXPECT_FALSE(IsValidIpAddress(c.text)) << c.text;
    }
}

TEST(ParseIpAddressTest, AbsentTextYieldsFalseAndZeroOctets) {
    int32_t o1 = 9, o2 = 9, o3 = 9, o4 = 9;
    EXPECT_FALSE(ParseIpAddress(nullptr, o1, o2, o3, o4));
    EXPECT_EQ((std::vector<int32_t>{o1, o2, o3, o4}), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_FALSE(IsValidIpAddress(nullptr));
}

TEST(ParseIpAddressTest, FailedParseLeavesTheOctetsReadSoFarAndZeros) {
    int32_t o1 = 9, o2 = 9, o3 = 9, o4 = 9;
    EXPECT_FALSE(ParseIpAddress("7.8", o1, o2, o3, o4));
    EXPECT_EQ((std::vector<int32_t>{o1, o2, o3, o4}), (std::vector<int32_t>{7, 8, 0, 0}));
}

// A valid address padded with leading white space to a given length.
std::string PaddedAddress(size_t length) {
    const std::string address = "192.168.1.20";
    return std::string(length - address.size(), ' ') + address;
}

TEST(IsValidIpAddressTest, LengthLimitIs255Characters) {
    EXPECT_TRUE(IsValidIpAddress(PaddedAddress(255).c_str()));
    EXPECT_FALSE(IsValidIpAddress(PaddedAddress(256).c_str()));
    // Trailing white space counts the same way.
    EXPECT_TRUE(IsValidIpAddress(("1.2.3.4" + std::string(248, ' ')).c_str()));
    EXPECT_FALSE(IsValidIpAddress(("1.2.3.4" + std::string(249, ' ')).c_str()));
}

TEST(ParseIpAddressTest, LongRestIsReadSafely) {
    // A rest longer than any fixed area still counts as a fifth part.
    const std::string text = "1.2.3.4" + std::string(1000, 'x');
    int32_t o1, o2, o3, o4;
    EXPECT_FALSE(ParseIpAddress(text.c_str(), o1, o2, o3, o4));
}

struct SubnetCase {
    const char* address;
    const char* other;
    const char* mask;
    bool same;
};

void PrintTo(const SubnetCase& c, std::ostream* out) {
    *out << (c.address ? c.address : "(null)") << " / " << (c.other ? c.other : "(null)") << " / "
         << (c.mask ? c.mask : "(null)");
}

class SameSubnetTest : public ::testing::TestWithParam<SubnetCase> {};

TEST_P(SameSubnetTest, Decides) {
    const SubnetCase& c = GetParam();
    EXPECT_EQ(IsSameSubnet(c.address, c.other, c.mask), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameSubnetTest,
    ::testing::Values(SubnetCase{"192.168.1.20", "192.168.1.7", "255.255.255.0", true},
                      SubnetCase{"192.168.1.20", "192.168.2.7", "255.255.255.0", false},
                      SubnetCase{"192.168.1.20", "192.168.2.7", "255.255.0.0", true},
                      SubnetCase{"10.1.2.3", "172.16.9.9", "0.0.0.0", true},
                      SubnetCase{"0.0.0.0", "999.-5.1.1", "0.0.0.0", true},  // octets not range-tested
                      SubnetCase{"192.168.1.130", "192.168.1.100", "255.255.255.128", false},
                      SubnetCase{"192.168.1.130", "192.168.1.200", "255.255.255.128", true},
                      // Octets and mask are ANDed as parsed, as 32-bit integers.
                      SubnetCase{"1.2.3.260", "1.2.3.4", "255.255.255.255", true},
                      SubnetCase{"1.2.3.260", "1.2.3.4", "255.255.255.511", false},
                      SubnetCase{"1.2.3.-4", "1.2.3.252", "255.255.255.255", true},
                      SubnetCase{"192.168.1.20", "192.168.1.7", "255.255.255", false},  // mask does not parse
                      SubnetCase{"192.168.1.20", "192.168.1.7", "", false},
                      SubnetCase{"192.168.1", "192.168.1.7", "0.0.0.0", false},
                      SubnetCase{"192.168.1.20", "192.168.1.7x", "0.0.0.0", false},
                      SubnetCase{nullptr, "192.168.1.7", "255.255.255.0", false},
                      SubnetCase{"192.168.1.20", nullptr, "255.255.255.0", false},
                      SubnetCase{"192.168.1.20", "192.168.1.7", nullptr, false}));

TEST(IsSameSubnetTest, EachTextIsLimitedTo255Characters) {
    const std::string fits = PaddedAddress(255);
    const std::string tooLong = PaddedAddress(256);
    EXPECT_TRUE(IsSameSubnet(fits.c_str(), fits.c_str(), fits.c_str()));
    EXPECT_FALSE(IsSameSubnet(tooLong.c_str(), fits.c_str(), fits.c_str()));
    EXPECT_FALSE(IsSameSubnet(fits.c_str(), tooLong.c_str(), fits.c_str()));
    EXPECT_FALSE(IsSameSubnet(fits.c_str(), fits.c_str(), tooLong.c_str()));
}

}  // namespace
