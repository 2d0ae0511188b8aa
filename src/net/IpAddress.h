// An IPv4 address value laid out as the platform's IPv4 socket address, with
// the lookup of host names and of the local host's own address.
#pragma once

#include <cstdint>
#include <string>

class IpAddress {
public:
    // The value of a text that is not a numeric address.
    static constexpr uint32_t kNone = 0x00000000;
    // The value of a host name without an IPv4 address.
    static constexpr uint32_t kUnresolved = 0xFFFFFFFF;

    // The record as the platform's IPv4 socket address lays it out.
    struct SocketAddress {
        uint16_t family;   // always 2 (AF_INET)
        uint16_t port;     // network byte order
        uint32_t address;  // network byte order
        uint8_t zero[8];   // all zero
    };
    static_assert(sizeof(SocketAddress) == 16);

    // `address` in network byte order, `port` in host byte order.
    IpAddress(uint32_t address, uint16_t port);
    // A numeric address text; any other text gives 0.0.0.0.
    IpAddress(const char* text, uint16_t port);
    virtual ~IpAddress() = default;

    // A numeric address, or else the first IPv4 address of a host name.
    static IpAddress FromText(const char* text);
    // The first IPv4 address of a host name, or 255.255.255.255.
    static IpAddress FromHostName(const char* name);
    static IpAddress LocalHost();

    // The address in network byte order.
    uint32_t GetAddress() const;
    // Byte `index` (1 to 4, 1 = leftmost of the dotted form); 0 otherwise.
    uint8_t GetOctet(int index) const;
    uint16_t GetFamily() const { return record_.family; }
    // The port as it is stored, in network byte order.
    uint16_t GetRawPort() const { return record_.port; }
    const SocketAddress& GetSocketAddress() const { return record_; }

private:
    SocketAddress record_;
};

// True for four decimal numbers 0 to 255 separated by dots, followed by
// nothing but white space, in a text of at most 255 characters. Each number
// may be preceded by white space and a sign, as a decimal scan ("%d") takes
// it; a number too large for any integer type is out of range like any other.
bool IsNumericAddress(const char* text);

// The local host's name, or the empty text when the system cannot tell.
std::string GetLocalHostName();
