#include "Emulator.h"

#include <algorithm>

namespace {

// The router that reports unreachable addresses: a locally administered MAC,
// and an address on the same /24 as the unreachable one.
constexpr MacAddress kRouterMac{0x02, 0x00, 0x5e, 0x00, 0xfe, 0x01};

Ipv4 RouterAddressFor(Ipv4 unreachable) {
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&unreachable);
    bytes[3] = bytes[3] == 254 ? 253 : 254;
    return unreachable;
}

template <typename Duration>
Emulator::Clock::duration ToClock(Duration duration) {
    return std::chrono::duration_cast<Emulator::Clock::duration>(duration);
}

}  // namespace

Emulator::Emulator(const EmulatorOptions& options, Clock::time_point start, EventLog& events, Sender sender)
    : options_(options),
      listenFrom_(start + ToClock(std::chrono::duration<double>(options.listenAfterSeconds))),
      events_(events),
      sender_(std::move(sender)),
      random_(options.seed) {
    if (options.listenWindowSeconds)
        listenUntil_ = listenFrom_ + ToClock(std::chrono::duration<double>(*options.listenWindowSeconds));
    for (const MacAddress& mac : options.devices) devices_.push_back({mac, std::nullopt});
    for (const PreassignedDevice& device : options.preassigned) devices_.push_back({device.mac, device.address});
    for (const PreassignedDevice& host : options.silentHosts) devices_.push_back({host.mac, host.address, false});
}

bool Emulator::Listening(Clock::time_point now) const {
    return now >= listenFrom_ && (!listenUntil_ || now < *listenUntil_);
}

bool Emulator::Accepted(size_t payloadSize) const {
    return std::find(options_.acceptSizes.begin(), options_.acceptSizes.end(), payloadSize) !=
           options_.acceptSizes.end();
}

bool Emulator::Deliver(Event seen, Clock::time_point now) {
    seen.name = "seen";
    events_.Write(seen, now);
    std::uniform_int_distribution<unsigned> percent(0, 99);
    if (options_.dropPercent == 0 || percent(random_) >= options_.dropPercent) return true;
    seen.name = "dropped";
    events_.Write(seen, now);
    return false;
}

void Emulator::Reply(std::vector<uint8_t> frame, Event event, Clock::time_point now) {
    event.name = "replied";
    PendingReply reply{now + std::chrono::milliseconds(options_.replyDelayMs), std::move(frame), std::move(event)};
    pending_.push_back(std::move(reply));
    Advance(now);
}

void Emulator::Receive(std::span<const uint8_t> frame, Clock::time_point now) {
    if (auto arp = ParseArpRequest(frame)) {
        ReceiveArp(*arp, now);
    } else if (auto echo = ParseEchoRequest(frame)) {
        ReceiveEcho(*echo, now);
    }
}

void Emulator::ReceiveArp(const ArpRequest& request, Clock::time_point now) {
    for (const Device& device : devices_) {
        if (device.address != request.targetIp) continue;
        Event event{"", FormatMac(device.mac), "arp", request.targetIp, std::nullopt, std::nullopt};
        if (Deliver(event, now)) Reply(BuildArpReply(request, device.mac, request.targetIp), event, now);
    }
    // A router answers for addresses behind it, but, as a Linux proxy-ARP
    // router does, not the probes of a host checking that an address is free.
    const bool probe = request.senderIp == 0;
    for (Ipv4 unreachable : options_.unreachable) {
        if (unreachable != request.targetIp || probe) continue;
        Event event{"", "router", "arp", request.targetIp, std::nullopt, std::nullopt};
        if (Deliver(event, now)) Reply(BuildArpReply(request, kRouterMac, request.targetIp), event, now);
    }
}

void Emulator::ReceiveEcho(const EchoRequest& request, Clock::time_point now) {
    for (Device& device : devices_) {
        if (device.mac != request.destinationMac) continue;
        Event event{"", FormatMac(device.mac), "echo", request.destinationIp, request.payload.size(), request.sequence};
        if (!Deliver(event, now) || !device.answersEcho) return;
        if (!device.address && Listening(now) && Accepted(request.payload.size())) {
            device.address = request.destinationIp;
            events_.Write({"adopted", event.device, "", device.address, request.payload.size(), std::nullopt}, now);
        }
        if (device.address == request.destinationIp) Reply(BuildEchoReply(request, device.mac), event, now);
        return;
    }
    for (Ipv4 unreachable : options_.unreachable) {
        if (unreachable != request.destinationIp) continue;
        Event event{"", "router", "unreachable", request.destinationIp, request.payload.size(), request.sequence};
        if (Deliver(event, now)) Reply(BuildHostUnreachable(request, kRouterMac, RouterAddressFor(unreachable)), event, now);
        return;
    }
}

void Emulator::Advance(Clock::time_point now) {
    if (!listeningReported_ && !devices_.empty() && Listening(now)) {
        listeningReported_ = true;
        for (const Device& device : devices_)
            if (!device.address) events_.Write({"listening", FormatMac(device.mac), "", {}, {}, {}}, now);
    }
    auto due = std::stable_partition(pending_.begin(), pending_.end(),
                                     [now](const PendingReply& reply) { return reply.due > now; });
    for (auto reply = due; reply != pending_.end(); ++reply) {
        // Stamped before sending: the answer may be received before send returns.
        Clock::time_point sending = Clock::now();
        if (sender_(reply->frame)) events_.Write(reply->event, sending);
    }
    pending_.erase(due, pending_.end());
}

std::optional<Emulator::Clock::time_point> Emulator::NextWake() const {
    std::optional<Clock::time_point> next;
    if (!listeningReported_ && !devices_.empty()) next = listenFrom_;
    for (const PendingReply& reply : pending_)
        if (!next || reply.due < *next) next = reply.due;
    return next;
}
