// The command line of the device emulator.
#pragma once

#include "Frames.h"

#include <optional>
#include <string>
#include <vector>

struct PreassignedDevice {
    MacAddress mac{};
    Ipv4 address = 0;
};

struct EmulatorOptions {
    std::string interface;
    std::vector<MacAddress> devices;            // devices that wait for their address
    std::vector<PreassignedDevice> preassigned;  // devices that have one from the start
    std::vector<PreassignedDevice> silentHosts;  // hosts that answer ARP but never echo
    std::vector<Ipv4> unreachable;              // addresses a router reports unreachable
    double listenAfterSeconds = 0;
    std::optional<double> listenWindowSeconds;  // unlimited when absent
    std::vector<size_t> acceptSizes{408};
    unsigned dropPercent = 0;
    unsigned seed = 1;
    unsigned replyDelayMs = 0;
    double durationSeconds = 0;
};

// The options, or an error text for the user.
struct ParsedOptions {
    std::optional<EmulatorOptions> options;
    std::string error;
    bool helpRequested = false;
};

ParsedOptions ParseOptions(int argc, char** argv);
const char* UsageText();
