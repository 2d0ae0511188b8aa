#include "net/IpAddress.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace {

constexpr uint16_t kFamilyInet = 2;
constexpr size_t kMaxAddressText = 255;
constexpr size_t kHostNameBuffer = 256;

uint16_t ToNetworkOrder(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
    uint16_t stored;
    std::memcpy(&stored, bytes, sizeof stored);
    return stored;
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Reads one number as the decimal scan "%d" does: white space, a sign, then
// at least one digit; moves `cursor` past it. Larger magnitudes read as
// kOutOfRange instead of overflowing.
std::optional<long> ScanDecimal(const char*& cursor) {
    constexpr long kOutOfRange = 1000;
    const char* position = cursor;
    while (IsSpace(*position)) ++position;
    bool negative = false;
    if (*position == '+' || *position == '-') negative = *position++ == '-';
    if (!IsDigit(*position)) return std::nullopt;
    long magnitude = 0;
    for (; IsDigit(*position); ++position) magnitude = std::min(magnitude * 10 + (*position - '0'), kOutOfRange);
    cursor = position;
    return negative ? -magnitude : magnitude;
}

}  // namespace

IpAddress::IpAddress(uint32_t address, uint16_t port) : record_{kFamilyInet, ToNetworkOrder(port), address, {}} {}

IpAddress::IpAddress(const char* text, uint16_t port)
    : IpAddress(IsNumericAddress(text) ? Platform::Current().InetAddr(text) : kNone, port) {}

IpAddress IpAddress::FromText(const char* text) {
    if (IsNumericAddress(text)) return IpAddress(text, 0);
    return FromHostName(text);
}

IpAddress IpAddress::FromHostName(const char* name) {
    if (!name) return IpAddress(kUnresolved, 0);
    const std::optional<uint32_t> found = Platform::Current().LookupHost(name);
    return IpAddress(found ? *found : kUnresolved, 0);
}

IpAddress IpAddress::LocalHost() { return FromHostName(GetLocalHostName().c_str()); }

uint32_t IpAddress::GetAddress() const { return record_.address; }

uint8_t IpAddress::GetOctet(int index) const {
    if (index < 1 || index > 4) return 0;
    uint8_t bytes[4];
    std::memcpy(bytes, &record_.address, sizeof bytes);
    return bytes[index - 1];
}

bool IsNumericAddress(const char* text) {
    if (!text || std::strlen(text) > kMaxAddressText) return false;
    const char* cursor = text;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && *cursor++ != '.') return false;
        const std::optional<long> number = ScanDecimal(cursor);
        if (!number || *number < 0 || *number > 255) return false;
    }
    while (IsSpace(*cursor)) ++cursor;
    return *cursor == '\0';
}

std::string GetLocalHostName() {
    char name[kHostNameBuffer + 1] = {};
    if (!Platform::Current().GetHostName(name, sizeof name)) return std::string();
    return std::string(name);
}
