// The address rules and their scanner, on any texts. The scanner must read a
// text exactly as the C library's scan "%d.%d.%d.%d%s" does, agree with itself
// under added white space and its own canonical form, and the rules built on
// it must follow from what it reads.
#include "FuzzCheck.h"
#include "net/AddressRules.h"
#include "net/IpAddress.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

using Octets = std::array<int32_t, 4>;

struct Scan {
    bool parsed = false;
    Octets octets{};
};

Scan ScanText(const std::string& text) {
    Scan scan;
    scan.parsed = ParseIpAddress(text.c_str(), scan.octets[0], scan.octets[1], scan.octets[2], scan.octets[3]);
    return scan;
}

bool IsHeldAtALimit(int32_t octet) {
    return octet == std::numeric_limits<int32_t>::max() || octet == std::numeric_limits<int32_t>::min();
}

// The scanner against the C library's scan, which it stands in for.
void CheckAgainstTheCLibrary(const std::string& text, const Scan& scan) {
    int numbers[4] = {};
    std::vector<char> rest(text.size() + 1);
    const int conversions =
        std::sscanf(text.c_str(), "%d.%d.%d.%d%s", &numbers[0], &numbers[1], &numbers[2], &numbers[3], rest.data());
    FUZZ_CHECK(scan.parsed == (conversions == 4));
    if (!scan.parsed) return;
    for (size_t index = 0; index < 4; ++index) {
        // Beyond the 32-bit range the C library's value is its own business.
        if (!IsHeldAtALimit(scan.octets[index])) FUZZ_CHECK(scan.octets[index] == numbers[index]);
    }
}

void CheckAgreesWithItself(const std::string& text, const Scan& scan) {
    const Scan padded = ScanText(" \t\n" + text + "\r\v\f ");
    FUZZ_CHECK(padded.parsed == scan.parsed);
    if (scan.parsed) FUZZ_CHECK(padded.octets == scan.octets);
    FUZZ_CHECK(!ScanText(text + "x").parsed);
    if (!scan.parsed) return;
    char canonical[64];
    std::snprintf(canonical, sizeof canonical, "%d.%d.%d.%d", scan.octets[0], scan.octets[1], scan.octets[2],
                  scan.octets[3]);
    const Scan again = ScanText(canonical);
    FUZZ_CHECK(again.parsed && again.octets == scan.octets);
}

bool AllIn(const Octets& octets, int32_t low, int32_t high) {
    for (int32_t octet : octets) {
        if (octet < low || octet > high) return false;
    }
    return true;
}

void CheckTheRules(const std::string& text, const Scan& scan) {
    const bool shortEnough = text.size() <= kMaxIpAddressTextLength;
    const Octets& o = scan.octets;
    const bool valid = shortEnough && scan.parsed && o[0] >= 1 && o[0] <= 255 && o[1] >= 0 && o[1] <= 255 &&
                       o[2] >= 0 && o[2] <= 255 && o[3] >= 1 && o[3] <= 255;
    FUZZ_CHECK(IsValidIpAddress(text.c_str()) == valid);
    FUZZ_CHECK(IsNumericAddress(text.c_str()) == (shortEnough && scan.parsed && AllIn(o, 0, 255)));
}

void CheckSubnet(const std::string& address, const std::string& other, const std::string& mask) {
    const bool same = IsSameSubnet(address.c_str(), other.c_str(), mask.c_str());
    FUZZ_CHECK(same == IsSameSubnet(other.c_str(), address.c_str(), mask.c_str()));
    const Scan a = ScanText(address), b = ScanText(other), m = ScanText(mask);
    const bool readable = a.parsed && b.parsed && m.parsed && address.size() <= kMaxIpAddressTextLength &&
                          other.size() <= kMaxIpAddressTextLength && mask.size() <= kMaxIpAddressTextLength;
    bool expected = readable;
    for (size_t index = 0; expected && index < 4; ++index)
        expected = (a.octets[index] & m.octets[index]) == (b.octets[index] & m.octets[index]);
    FUZZ_CHECK(same == expected);
    // Every address is on its own subnet, under any mask that can be read.
    FUZZ_CHECK(IsSameSubnet(address.c_str(), address.c_str(), mask.c_str()) ==
               (a.parsed && m.parsed && address.size() <= kMaxIpAddressTextLength &&
                mask.size() <= kMaxIpAddressTextLength));
}

void CheckSerialNumber(const std::string& text) {
    const bool valid = IsValidSerialNumber(text.c_str());
    if (valid) {
        FUZZ_CHECK(text.size() == 12);
        for (char character : text) FUZZ_CHECK(std::isxdigit(static_cast<unsigned char>(character)));
    }
    // The case of the digits never matters.
    std::string upper = text, lower = text;
    for (char& character : upper) character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    for (char& character : lower) character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    FUZZ_CHECK(IsValidSerialNumber(upper.c_str()) == valid);
    FUZZ_CHECK(IsValidSerialNumber(lower.c_str()) == valid);
    for (char character : text)
        FUZZ_CHECK(IsHexDigit(character) == (std::isxdigit(static_cast<unsigned char>(character)) != 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> texts = SplitAtNul(data, size);
    texts.resize(std::max<size_t>(texts.size(), 3));
    for (size_t index = 0; index < 3; ++index) {
        const Scan scan = ScanText(texts[index]);
        CheckAgainstTheCLibrary(texts[index], scan);
        CheckAgreesWithItself(texts[index], scan);
        CheckTheRules(texts[index], scan);
    }
    CheckSubnet(texts[0], texts[1], texts[2]);
    CheckSerialNumber(texts[0]);
    return 0;
}
