#include "net/IpAddress.h"

#include "net/AddressRules.h"
#include "platform/Platform.h"

#include <algorithm>
#include <iterator>
#include <cstring>
#include <optional>

namespace {

constexpr uint16_t kFamilyInet = 2;
constexpr size_t kHostNameBuffer = 256;

uint16_t ToNetworkOrder(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
    uint16_t stored;
    std::memcpy(&stored, bytes, sizeof stored);
    return stored;
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
    if (!text || std::strlen(text) > kMaxIpAddressTextLength) return false;
    int32_t numbers[4];
    if (!ParseIpAddress(text, numbers[0], numbers[1], numbers[2], numbers[3])) return false;
    return std::all_of(std::begin(numbers), std::end(numbers), [](int32_t number) { return number >= 0 && number <= 255; });
}

std::string GetLocalHostName() {
    char name[kHostNameBuffer + 1] = {};
    if (!Platform::Current().GetHostName(name, sizeof name)) return std::string();
    return std::string(name);
}
