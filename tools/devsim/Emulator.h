// The emulated devices and the router on one Ethernet segment: decides, for
// every frame seen, which of them answers, and sends the answers when due.
#pragma once

#include "EventLog.h"
#include "Frames.h"
#include "Options.h"

#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <vector>

class Emulator {
public:
    using Clock = std::chrono::steady_clock;
    // Puts one frame on the wire; false when that failed.
    using Sender = std::function<bool(std::span<const uint8_t>)>;

    Emulator(const EmulatorOptions& options, Clock::time_point start, EventLog& events, Sender sender);

    void Receive(std::span<const uint8_t> frame, Clock::time_point now);
    // Reports the devices' restart and sends the answers that are due.
    void Advance(Clock::time_point now);
    // When `Advance` next has something to do, if ever.
    std::optional<Clock::time_point> NextWake() const;

private:
    struct Device {
        MacAddress mac{};
        std::optional<Ipv4> address;
        bool answersEcho = true;
    };
    struct PendingReply {
        Clock::time_point due;
        std::vector<uint8_t> frame;
        Event event;
    };

    bool Listening(Clock::time_point now) const;
    bool Accepted(size_t payloadSize) const;
    // Reports the frame as seen; false when the link loses it.
    bool Deliver(Event seen, Clock::time_point now);
    void Reply(std::vector<uint8_t> frame, Event event, Clock::time_point now);
    void ReceiveArp(const ArpRequest& request, Clock::time_point now);
    void ReceiveEcho(const EchoRequest& request, Clock::time_point now);

    EmulatorOptions options_;
    Clock::time_point listenFrom_;
    std::optional<Clock::time_point> listenUntil_;
    bool listeningReported_ = false;
    EventLog& events_;
    Sender sender_;
    std::vector<Device> devices_;
    std::mt19937 random_;
    std::vector<PendingReply> pending_;
};
