// Reading and crafting the few Ethernet frames an emulated device deals
// with: ARP requests and replies, ICMP echo requests and replies, and the
// destination-unreachable error of a router.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

using MacAddress = std::array<uint8_t, 6>;

// IPv4 addresses are kept in network byte order throughout.
using Ipv4 = uint32_t;

std::optional<MacAddress> ParseMac(const std::string& text);
std::string FormatMac(const MacAddress& mac);
std::optional<Ipv4> ParseIpv4(const std::string& text);
std::string FormatIpv4(Ipv4 address);

// The Internet checksum (one's complement of the one's complement sum).
uint16_t InternetChecksum(std::span<const uint8_t> data);

// An ARP request for an IPv4 address.
struct ArpRequest {
    MacAddress senderMac{};
    Ipv4 senderIp = 0;
    Ipv4 targetIp = 0;
};

// An ICMP echo request carried in an unfragmented IPv4 datagram.
struct EchoRequest {
    MacAddress destinationMac{};
    MacAddress sourceMac{};
    Ipv4 sourceIp = 0;
    Ipv4 destinationIp = 0;
    uint16_t identifier = 0;
    uint16_t sequence = 0;
    std::vector<uint8_t> payload;
    // The IPv4 header and the first 8 bytes after it, as an ICMP error quotes them.
    std::vector<uint8_t> quote;
};

std::optional<ArpRequest> ParseArpRequest(std::span<const uint8_t> frame);
std::optional<EchoRequest> ParseEchoRequest(std::span<const uint8_t> frame);

// The reply of `ownMac` owning `ownIp` to an ARP request.
std::vector<uint8_t> BuildArpReply(const ArpRequest& request, const MacAddress& ownMac, Ipv4 ownIp);
// The echo reply to `request`, sent from `ownMac`: identifier, sequence and payload echoed.
std::vector<uint8_t> BuildEchoReply(const EchoRequest& request, const MacAddress& ownMac);
// "Host unreachable" for `request`, sent by a router at `routerMac`/`routerIp`.
std::vector<uint8_t> BuildHostUnreachable(const EchoRequest& request, const MacAddress& routerMac, Ipv4 routerIp);
