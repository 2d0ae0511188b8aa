// `addrix-cli scan`: which hosts answer ARP on the local IPv4 subnets, and
// which of them are the maker's devices.
#pragma once

#include "cli/CommandLine.h"
#include "platform/Platform.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// One subnet to sweep: every host address of it but the adapter's own.
struct ScanSweep {
    std::string interface;
    uint32_t ownAddress = 0;  // network byte order, the requests' sender
    std::string subnet;       // "10.213.7.0/24"
    std::vector<uint32_t> targets;  // network byte order
};

// The sweeps of every adapter's IPv4 entries (only `interface`'s when not
// empty), or why they are refused: a subnet with more than `maxHosts` host
// addresses, or no adapter to sweep.
struct ScanPlan {
    std::vector<ScanSweep> sweeps;
    std::optional<std::string> refusal;
};
ScanPlan PlanScan(const AdapterList& adapters, const std::string& interface, unsigned maxHosts);

// Whether `mac` starts with `prefix`, hexadecimal digits in upper case.
bool MacHasPrefix(const std::array<uint8_t, 6>& mac, const std::string& prefix);

namespace AddrixCli {

// Plans the scan, sweeps at most 500 requests a second and lists the hosts
// that answered (the maker's only, unless --all), ordered by address.
int Scan(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace AddrixCli
