// An IPv4 address as the platform calls take it: the 32-bit value in network
// byte order, read from its text once, where the text is resolved.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

class IPv4Address {
public:
    constexpr IPv4Address() = default;
    // `networkOrder`: the first byte in memory is the leftmost number.
    constexpr explicit IPv4Address(uint32_t networkOrder) : networkOrder_(networkOrder) {}

    constexpr uint32_t GetNetworkOrder() const { return networkOrder_; }
    // The dotted-quad text, "192.168.0.90".
    std::string ToText() const;

    friend constexpr auto operator<=>(const IPv4Address&, const IPv4Address&) = default;

private:
    uint32_t networkOrder_ = 0;
};
