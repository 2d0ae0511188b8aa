#include "net/AddressRules.h"

#include "net/MacAddress.h"

#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>

namespace {

// The white space of the C locale, as the scan skips it.
bool IsScanSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\v' || character == '\f' ||
           character == '\r';
}

bool IsDecimalDigit(char character) { return character >= '0' && character <= '9'; }

void SkipSpace(const char*& cursor) {
    while (IsScanSpace(*cursor)) ++cursor;
}

// One "%d" conversion: white space, an optional sign, at least one decimal
// digit. Moves `cursor` past what it read; false when no number is there.
bool ScanDecimal(const char*& cursor, int32_t& value) {
    const char* at = cursor;
    SkipSpace(at);
    const bool negative = *at == '-';
    if (*at == '+' || *at == '-') ++at;
    if (!IsDecimalDigit(*at)) return false;

    // Accumulated as a magnitude and held at the limit, so that no digit run
    // can overflow and an oversized number can never pass as a small one.
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : static_cast<int64_t>(std::numeric_limits<int32_t>::max());
    int64_t magnitude = 0;
    for (; IsDecimalDigit(*at); ++at) {
        magnitude = magnitude * 10 + (*at - '0');
        if (magnitude > limit) magnitude = limit;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    cursor = at;
    return true;
}

// Shorter than `limit + 1` characters, without reading further than that.
bool IsWithinLength(const char* text, size_t limit) { return ::strnlen(text, limit + 1) <= limit; }

bool IsInRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

}  // namespace

bool IsHexDigit(char character) {
    return IsDecimalDigit(character) || (character >= 'a' && character <= 'f') ||
           (character >= 'A' && character <= 'F');
}

bool IsValidSerialNumber(const char* text) {
    const std::optional<MacAddress> mac = MacAddress::FromSerialNumber(text);
    return mac && mac->IsDevice();
}

bool ParseIpAddress(const char* text, int32_t& octet1, int32_t& octet2, int32_t& octet3, int32_t& octet4) {
    octet1 = octet2 = octet3 = octet4 = 0;
    if (!text) return false;

    const char* cursor = text;
    int32_t* const octets[] = {&octet1, &octet2, &octet3, &octet4};
    for (size_t index = 0; index < 4; ++index) {
        if (index > 0) {
            if (*cursor != '.') return false;
            ++cursor;
        }
        if (!ScanDecimal(cursor, *octets[index])) return false;
    }
    // A fifth conversion, of any non-blank rest, makes the text unacceptable.
    SkipSpace(cursor);
    return *cursor == '\0';
}

bool IsValidIpAddress(const char* text) {
    if (!text || !IsWithinLength(text, kMaxIpAddressTextLength)) return false;
    int32_t octet1, octet2, octet3, octet4;
    if (!ParseIpAddress(text, octet1, octet2, octet3, octet4)) return false;
    return IsInRange(octet1, 1, 255) && IsInRange(octet2, 0, 255) && IsInRange(octet3, 0, 255) &&
           IsInRange(octet4, 1, 255);
}

bool IsSameSubnet(const char* address, const char* otherAddress, const char* mask) {
    for (const char* text : {address, otherAddress, mask}) {
        if (!text || !IsWithinLength(text, kMaxIpAddressTextLength)) return false;
    }
    int32_t a[4], b[4], m[4];
    if (!ParseIpAddress(address, a[0], a[1], a[2], a[3])) return false;
    if (!ParseIpAddress(otherAddress, b[0], b[1], b[2], b[3])) return false;
    if (!ParseIpAddress(mask, m[0], m[1], m[2], m[3])) return false;
    for (size_t index = 0; index < 4; ++index) {
        if ((a[index] & m[index]) != (b[index] & m[index])) return false;
    }
    return true;
}
