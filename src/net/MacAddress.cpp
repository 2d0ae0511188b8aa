#include "net/MacAddress.h"

#include <cstdio>

namespace {

constexpr size_t kSerialNumberLength = 12;

// The value of a hexadecimal digit; -1 for any other character.
int HexDigitValue(char character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<MacAddress> MacAddress::FromSerialNumber(const char* text) {
    if (text == nullptr) return std::nullopt;
    Bytes bytes{};
    for (size_t index = 0; index < kSerialNumberLength; ++index) {
        // A shorter text ends in its terminator, which is no digit.
        const int value = HexDigitValue(text[index]);
        if (value < 0) return std::nullopt;
        bytes[index / 2] = static_cast<uint8_t>(bytes[index / 2] << 4 | value);
    }
    if (text[kSerialNumberLength] != '\0') return std::nullopt;
    return MacAddress(bytes);
}

std::string MacAddress::ToText() const {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bytes_[0], bytes_[1], bytes_[2], bytes_[3],
                  bytes_[4], bytes_[5]);
    return text;
}
