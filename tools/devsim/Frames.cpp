#include "Frames.h"

#include <arpa/inet.h>

#include <cctype>

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kEthernetHeader = 14;
constexpr size_t kArpBody = 28;
constexpr size_t kIpv4MinHeader = 20;
constexpr size_t kIcmpHeader = 8;
constexpr uint16_t kEtherTypeIpv4 = 0x0800;
constexpr uint16_t kEtherTypeArp = 0x0806;
constexpr uint8_t kProtocolIcmp = 1;
constexpr uint8_t kIcmpEchoReply = 0;
constexpr uint8_t kIcmpUnreachable = 3;
constexpr uint8_t kIcmpHostUnreachable = 1;
constexpr uint8_t kIcmpEchoRequest = 8;
constexpr uint8_t kDefaultTtl = 64;

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }

void Write16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

// Both are kept in network byte order, so they are copied as bytes.
Ipv4 ReadIp(const uint8_t* at) {
    Ipv4 address;
    std::memcpy(&address, at, 4);
    return address;
}

void WriteIp(uint8_t* at, Ipv4 address) { std::memcpy(at, &address, 4); }

void WriteEthernet(uint8_t* at, const MacAddress& destination, const MacAddress& source, uint16_t type) {
    std::memcpy(at, destination.data(), 6);
    std::memcpy(at + 6, source.data(), 6);
    Write16(at + 12, type);
}

void WriteIpv4Header(uint8_t* at, size_t totalLength, Ipv4 source, Ipv4 destination) {
    static uint16_t nextIdentification = 1;
    at[0] = 0x45;
    at[1] = 0;
    Write16(at + 2, static_cast<uint16_t>(totalLength));
    Write16(at + 4, nextIdentification++);
    Write16(at + 6, 0);
    at[8] = kDefaultTtl;
    at[9] = kProtocolIcmp;
    Write16(at + 10, 0);
    WriteIp(at + 12, source);
    WriteIp(at + 16, destination);
    Write16(at + 10, InternetChecksum({at, kIpv4MinHeader}));
}

// An ICMP message in an IPv4 datagram in an Ethernet frame; `body` follows
// the 8-byte ICMP header whose second word is `rest`.
std::vector<uint8_t> BuildIcmpFrame(const MacAddress& destinationMac, const MacAddress& sourceMac, Ipv4 sourceIp,
                                    Ipv4 destinationIp, uint8_t type, uint8_t code, uint32_t rest,
                                    std::span<const uint8_t> body) {
    size_t icmpLength = kIcmpHeader + body.size();
    std::vector<uint8_t> frame(kEthernetHeader + kIpv4MinHeader + icmpLength);
    WriteEthernet(frame.data(), destinationMac, sourceMac, kEtherTypeIpv4);
    WriteIpv4Header(frame.data() + kEthernetHeader, kIpv4MinHeader + icmpLength, sourceIp, destinationIp);
    uint8_t* icmp = frame.data() + kEthernetHeader + kIpv4MinHeader;
    icmp[0] = type;
    icmp[1] = code;
    Write16(icmp + 4, static_cast<uint16_t>(rest >> 16));
    Write16(icmp + 6, static_cast<uint16_t>(rest));
    if (!body.empty()) std::memcpy(icmp + kIcmpHeader, body.data(), body.size());
    Write16(icmp + 2, InternetChecksum({icmp, icmpLength}));
    return frame;
}

}  // namespace

std::optional<MacAddress> ParseMac(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == ':' || c == '-') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        digits += c;
    }
    if (digits.size() != 12) return std::nullopt;
    MacAddress mac{};
    for (size_t i = 0; i < 6; ++i) mac[i] = static_cast<uint8_t>(std::stoi(digits.substr(2 * i, 2), nullptr, 16));
    return mac;
}

std::string FormatMac(const MacAddress& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

std::optional<Ipv4> ParseIpv4(const std::string& text) {
    in_addr address{};
    if (::inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
    return address.s_addr;
}

std::string FormatIpv4(Ipv4 address) {
    char text[INET_ADDRSTRLEN];
    in_addr value{};
    value.s_addr = address;
    ::inet_ntop(AF_INET, &value, text, sizeof text);
    return text;
}

uint16_t InternetChecksum(std::span<const uint8_t> data) {
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 1 < data.size(); i += 2) sum += Read16(&data[i]);
    if (i < data.size()) sum += static_cast<uint32_t>(data[i]) << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

std::optional<ArpRequest> ParseArpRequest(std::span<const uint8_t> frame) {
    if (frame.size() < kEthernetHeader + kArpBody) return std::nullopt;
    if (Read16(&frame[12]) != kEtherTypeArp) return std::nullopt;
    const uint8_t* arp = &frame[kEthernetHeader];
    // Ethernet hardware, IPv4 protocol, 6- and 4-byte addresses, a request.
    if (Read16(arp) != 1 || Read16(arp + 2) != kEtherTypeIpv4 || arp[4] != 6 || arp[5] != 4 || Read16(arp + 6) != 1)
        return std::nullopt;
    ArpRequest request;
    std::memcpy(request.senderMac.data(), arp + 8, 6);
    request.senderIp = ReadIp(arp + 14);
    request.targetIp = ReadIp(arp + 24);
    return request;
}

std::optional<EchoRequest> ParseEchoRequest(std::span<const uint8_t> frame) {
    if (frame.size() < kEthernetHeader + kIpv4MinHeader + kIcmpHeader) return std::nullopt;
    if (Read16(&frame[12]) != kEtherTypeIpv4) return std::nullopt;
    const uint8_t* ip = &frame[kEthernetHeader];
    size_t headerLength = static_cast<size_t>(ip[0] & 0x0F) * 4;
    size_t totalLength = Read16(ip + 2);
    bool fragment = (Read16(ip + 6) & 0x3FFF) != 0;  // more fragments, or an offset
    if ((ip[0] >> 4) != 4 || headerLength < kIpv4MinHeader || ip[9] != kProtocolIcmp || fragment) return std::nullopt;
    if (totalLength < headerLength + kIcmpHeader || kEthernetHeader + totalLength > frame.size()) return std::nullopt;
    const uint8_t* icmp = ip + headerLength;
    if (icmp[0] != kIcmpEchoRequest || icmp[1] != 0) return std::nullopt;

    EchoRequest request;
    std::memcpy(request.destinationMac.data(), &frame[0], 6);
    std::memcpy(request.sourceMac.data(), &frame[6], 6);
    request.sourceIp = ReadIp(ip + 12);
    request.destinationIp = ReadIp(ip + 16);
    request.identifier = Read16(icmp + 4);
    request.sequence = Read16(icmp + 6);
    request.payload.assign(icmp + kIcmpHeader, ip + totalLength);
    request.quote.assign(ip, icmp + kIcmpHeader);
    return request;
}

std::vector<uint8_t> BuildArpReply(const ArpRequest& request, const MacAddress& ownMac, Ipv4 ownIp) {
    std::vector<uint8_t> frame(kEthernetHeader + kArpBody);
    WriteEthernet(frame.data(), request.senderMac, ownMac, kEtherTypeArp);
    uint8_t* arp = frame.data() + kEthernetHeader;
    Write16(arp, 1);
    Write16(arp + 2, kEtherTypeIpv4);
    arp[4] = 6;
    arp[5] = 4;
    Write16(arp + 6, 2);
    std::memcpy(arp + 8, ownMac.data(), 6);
    WriteIp(arp + 14, ownIp);
    std::memcpy(arp + 18, request.senderMac.data(), 6);
    WriteIp(arp + 24, request.senderIp);
    return frame;
}

std::vector<uint8_t> BuildEchoReply(const EchoRequest& request, const MacAddress& ownMac) {
    uint32_t rest = static_cast<uint32_t>(request.identifier) << 16 | request.sequence;
    return BuildIcmpFrame(request.sourceMac, ownMac, request.destinationIp, request.sourceIp, kIcmpEchoReply, 0, rest,
                          request.payload);
}

std::vector<uint8_t> BuildHostUnreachable(const EchoRequest& request, const MacAddress& routerMac, Ipv4 routerIp) {
    return BuildIcmpFrame(request.sourceMac, routerMac, routerIp, request.sourceIp, kIcmpUnreachable,
                          kIcmpHostUnreachable, 0, request.quote);
}
