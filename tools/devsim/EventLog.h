// The emulator's record of what happened: one JSON object per line on a
// stream, flushed at once so that a reader sees each event as it happens.
#pragma once

#include "Frames.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

// One event. `time` is seconds of the monotonic clock, so that other
// processes on the machine can compare their own readings with it.
struct Event {
    std::string name;    // "started", "listening", "seen", "adopted", "replied" or "dropped"
    std::string device;  // the device's MAC, "router", or empty for the emulator itself
    std::string kind;    // "echo", "arp" or "unreachable"; empty for state changes
    std::optional<Ipv4> address;
    std::optional<size_t> size;        // ICMP payload bytes
    std::optional<uint16_t> sequence;  // ICMP sequence number
};

class EventLog {
public:
    explicit EventLog(FILE* stream) : stream_(stream) {}
    void Write(const Event& event, std::chrono::steady_clock::time_point time);

private:
    FILE* stream_;
};
