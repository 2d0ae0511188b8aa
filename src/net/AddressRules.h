// The rules for the texts a user types: a device's serial number (its MAC
// address as twelve hexadecimal digits) and a dotted-quad IPv4 address, and
// the comparison of two addresses under a subnet mask. Pure functions: an
// absent (null) text is allowed and always yields false.
#pragma once

#include <cstddef>
#include <cstdint>

// The longest dotted-quad text the rules accept.
constexpr size_t kMaxIpAddressTextLength = 255;

// True for "0"-"9", "a"-"f" and "A"-"F"; the character is taken as one byte.
bool IsHexDigit(char character);

// Exactly twelve hexadecimal digits, either case, no separators, naming a
// single device: not a group address (first octet odd) and not all zero.
bool IsValidSerialNumber(const char* text);

// Reads a text as the scan "%d.%d.%d.%d%s" does and is true exactly when that
// scan makes four conversions: each number may follow white space and carry a
// sign, is decimal even with leading zeros, and is followed directly by its
// dot; after the fourth number only white space may follow. The octets are
// set to 0 first and receive the four numbers; a number beyond the 32-bit
// range is held at the range's limit.
bool ParseIpAddress(const char* text, int32_t& octet1, int32_t& octet2, int32_t& octet3, int32_t& octet4);

// At most 255 characters, parses, octet 1 and 4 in 1-255, octets 2 and 3 in 0-255.
bool IsValidIpAddress(const char* text);

// True when both addresses, each octet ANDed with the mask's, are equal. All
// three must be present, at most 255 characters long and parse; the octets are
// not range-tested, and the mask is used as parsed.
bool IsSameSubnet(const char* address, const char* otherAddress, const char* mask);
