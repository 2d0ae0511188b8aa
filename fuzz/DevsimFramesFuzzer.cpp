// The device emulator's frame parser, on any frame. A frame is at most one
// of the two kinds; what is read from it must come back in the frames built
// in answer, which carry valid checksums and read back as what they answer.
// The input, read as a text, also goes through the MAC and IPv4 parsers.
#include "FuzzCheck.h"
#include "Frames.h"

#include <cstring>

namespace {

// Where the frames built in answer keep their parts.
constexpr size_t kEthernetHeaderLength = 14;
constexpr size_t kIpv4HeaderLength = 20;
constexpr size_t kArpOperationOffset = kEthernetHeaderLength + 6;

constexpr MacAddress kOwnMac{0x02, 0xC0, 0xA7, 0x00, 0x00, 0x01};
constexpr Ipv4 kOwnIp = 0x3207D50A;  // 10.213.7.50 in network byte order

// The sum over data and its own checksum, appended, comes to zero.
void CheckChecksum(std::span<const uint8_t> data) {
    std::vector<uint8_t> summed(data.begin(), data.end());
    if (summed.size() % 2 != 0) summed.push_back(0);
    const uint16_t checksum = InternetChecksum(summed);
    summed.push_back(static_cast<uint8_t>(checksum >> 8));
    summed.push_back(static_cast<uint8_t>(checksum));
    FUZZ_CHECK(InternetChecksum(summed) == 0);
}

void CheckArpReply(const ArpRequest& request) {
    std::vector<uint8_t> reply = BuildArpReply(request, kOwnMac, kOwnIp);
    FUZZ_CHECK(reply.size() == 42);
    // A reply is no request; with the operation turned back into a request
    // it reads as one from the replying device to the asker.
    FUZZ_CHECK(!ParseArpRequest(reply));
    reply[kArpOperationOffset + 1] = 1;
    const std::optional<ArpRequest> turned = ParseArpRequest(reply);
    FUZZ_CHECK(turned && turned->senderMac == kOwnMac && turned->senderIp == kOwnIp &&
               turned->targetIp == request.senderIp);
    FUZZ_CHECK(std::memcmp(reply.data(), request.senderMac.data(), 6) == 0);
}

void CheckEchoReply(const EchoRequest& request) {
    std::vector<uint8_t> reply = BuildEchoReply(request, kOwnMac);
    const std::span<const uint8_t> ip(reply.data() + kEthernetHeaderLength, kIpv4HeaderLength);
    const std::span<const uint8_t> icmp(reply.data() + kEthernetHeaderLength + kIpv4HeaderLength,
                                        reply.size() - kEthernetHeaderLength - kIpv4HeaderLength);
    FUZZ_CHECK(InternetChecksum(ip) == 0 && InternetChecksum(icmp) == 0);
    FUZZ_CHECK(!ParseEchoRequest(reply));
    // Turned into a request, the reply reads as the request it answers, sent back.
    uint8_t* icmpBytes = reply.data() + kEthernetHeaderLength + kIpv4HeaderLength;
    icmpBytes[0] = 8;
    const std::optional<EchoRequest> turned = ParseEchoRequest(reply);
    FUZZ_CHECK(turned && turned->identifier == request.identifier && turned->sequence == request.sequence &&
               turned->payload == request.payload && turned->sourceIp == request.destinationIp &&
               turned->destinationIp == request.sourceIp && turned->destinationMac == request.sourceMac &&
               turned->sourceMac == kOwnMac);

    const std::vector<uint8_t> unreachable = BuildHostUnreachable(request, kOwnMac, kOwnIp);
    const std::span<const uint8_t> error(unreachable.data() + kEthernetHeaderLength + kIpv4HeaderLength,
                                         unreachable.size() - kEthernetHeaderLength - kIpv4HeaderLength);
    FUZZ_CHECK(InternetChecksum(error) == 0);
    FUZZ_CHECK(error.size() == 8 + request.quote.size());
    FUZZ_CHECK(std::memcmp(error.data() + 8, request.quote.data(), request.quote.size()) == 0);
}

void CheckEchoRequest(std::span<const uint8_t> frame, const EchoRequest& request) {
    const size_t headerLength = static_cast<size_t>(frame[kEthernetHeaderLength] & 0x0F) * 4;
    FUZZ_CHECK(request.quote.size() == headerLength + 8);
    FUZZ_CHECK(kEthernetHeaderLength + headerLength + 8 + request.payload.size() <= frame.size());
    CheckEchoReply(request);
}

void CheckTexts(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<MacAddress> mac = ParseMac(text)) FUZZ_CHECK(ParseMac(FormatMac(*mac)) == mac);
    if (const std::optional<Ipv4> address = ParseIpv4(text)) FUZZ_CHECK(ParseIpv4(FormatIpv4(*address)) == address);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> frame(data, size);
    const std::optional<ArpRequest> arp = ParseArpRequest(frame);
    const std::optional<EchoRequest> echo = ParseEchoRequest(frame);
    FUZZ_CHECK(!(arp && echo));
    if (arp) CheckArpReply(*arp);
    if (echo) CheckEchoRequest(frame, *echo);
    CheckChecksum(frame);
    CheckTexts(data, size);
    return 0;
}
