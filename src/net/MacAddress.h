// A device's 48-bit Ethernet (MAC) address, the value behind its serial
// number. Built once, where the serial number is checked, and handed on as
// a value from there.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

class MacAddress {
public:
    using Bytes = std::array<uint8_t, 6>;

    constexpr MacAddress() = default;
    constexpr explicit MacAddress(const Bytes& bytes) : bytes_(bytes) {}

    // Exactly twelve hexadecimal digits, either case, no separators; nothing
    // for any other text (an absent one included). Group and all-zero
    // addresses are read like any other: the caller decides about them.
    static std::optional<MacAddress> FromSerialNumber(const char* text);

    const Bytes& GetBytes() const { return bytes_; }
    // Multicast or broadcast: the first octet is odd.
    bool IsGroup() const { return (bytes_[0] & 0x01) != 0; }
    bool IsZero() const { return bytes_ == Bytes{}; }
    // A single device can own it: neither a group nor the all-zero address.
    bool IsDevice() const { return !IsGroup() && !IsZero(); }

    // "0A-1B-2C-3D-4E-5F", upper case: the form the arp command takes.
    std::string ToText() const;

    friend constexpr auto operator<=>(const MacAddress&, const MacAddress&) = default;

private:
    Bytes bytes_{};
};
