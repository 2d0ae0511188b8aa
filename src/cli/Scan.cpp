#include "cli/Scan.h"

#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "support/Format.h"
#include "support/Log.h"
#include "support/StringIds.h"

#include <algorithm>

namespace {

// The sweep's pace, kind to the segment and to the hosts on it.
constexpr unsigned kRequestsPerSecond = 500;
// How long answers to the last requests are awaited.
constexpr uint32_t kLingerMs = 1000;

uint32_t HostOrder(uint32_t networkOrder) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&networkOrder);
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

uint32_t NetworkOrder(uint32_t hostOrder) {
    uint32_t value = 0;
    auto* bytes = reinterpret_cast<uint8_t*>(&value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(hostOrder >> (24 - 8 * i));
    return value;
}

std::string Dotted(uint32_t hostOrder) {
    return FormatText("%u.%u.%u.%u", hostOrder >> 24, hostOrder >> 16 & 0xFF, hostOrder >> 8 & 0xFF, hostOrder & 0xFF);
}

std::string MacText(const std::array<uint8_t, 6>& mac) {
    return FormatText("%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

}  // namespace

ScanPlan PlanScan(const AdapterList& adapters, const std::string& interface, unsigned maxHosts) {
    ScanPlan plan;
    Platform& platform = Platform::Current();
    for (const Adapter& adapter : adapters.adapters) {
        if (!interface.empty() && adapter.name != interface) continue;
        for (const AdapterAddress& entry : adapter.addresses) {
            const uint32_t own = HostOrder(platform.InetAddr(entry.address.c_str()));
            const uint32_t mask = HostOrder(platform.InetAddr(entry.mask.c_str()));
            const unsigned prefix = static_cast<unsigned>(__builtin_popcount(mask));
            // A single address has no neighbours to ask.
            if (prefix >= 32 || mask != (prefix == 0 ? 0 : ~0u << (32 - prefix))) continue;
            const uint32_t network = own & mask;
            const uint64_t size = uint64_t{1} << (32 - prefix);
            // A /31 has two hosts; larger subnets lose their network and broadcast addresses.
            const uint64_t hosts = prefix == 31 ? 2 : size - 2;
            ScanSweep sweep{adapter.name, NetworkOrder(own), Dotted(network) + "/" + std::to_string(prefix), {}};
            if (hosts > maxHosts) {
                plan.refusal = FormatText("%s on %s has %llu host addresses, more than %u; --max-hosts %llu sweeps it",
                                          sweep.subnet.c_str(), adapter.name.c_str(),
                                          static_cast<unsigned long long>(hosts), maxHosts,
                                          static_cast<unsigned long long>(hosts));
                return plan;
            }
            const uint32_t first = prefix == 31 ? network : network + 1;
            for (uint64_t i = 0; i < hosts; ++i) {
                const uint32_t address = first + static_cast<uint32_t>(i);
                if (address != own) sweep.targets.push_back(NetworkOrder(address));
            }
            plan.sweeps.push_back(std::move(sweep));
        }
    }
    if (plan.sweeps.empty())
        plan.refusal = interface.empty() ? std::string("no adapter with an IPv4 subnet to scan")
                                         : "no adapter " + interface + " with an IPv4 subnet to scan";
    return plan;
}

bool MacHasPrefix(const std::array<uint8_t, 6>& mac, const std::string& prefix) {
    const std::string digits =
        FormatText("%02X%02X%02X%02X%02X%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return digits.compare(0, prefix.size(), prefix) == 0;
}

namespace AddrixCli {

int Scan(const CommandLine& line, std::ostream& out, std::ostream& err) {
    LogScope log("AddrixCli::Scan");
    Platform& platform = Platform::Current();
    const ScanPlan plan = PlanScan(platform.GetAdapters(), line.interface, line.maxHosts);
    if (plan.refusal) {
        err << "addrix-cli: " << *plan.refusal << "\n";
        return kExitInvalidInput;
    }
    const std::string prefix = line.prefix.value_or(platform.LoadStringResource(kIdsSerialNumberPrefix));

    std::vector<ScanRecord> found;
    for (const ScanSweep& sweep : plan.sweeps) {
        log.Trace("Sweeping %s on %s, %zu addresses", sweep.subnet.c_str(), sweep.interface.c_str(),
                  sweep.targets.size());
        auto answers = platform.SweepArp(sweep.interface, sweep.ownAddress, sweep.targets, kRequestsPerSecond, kLingerMs);
        if (!answers) {
            log.Error("Cannot sweep %s", sweep.interface.c_str());
            err << "addrix-cli: cannot send ARP requests on " << sweep.interface
                << " (this needs CAP_NET_RAW, and a system that offers it)\n";
            return kExitToolFailure;
        }
        for (const ArpSweepAnswer& answer : *answers) {
            const bool maker = MacHasPrefix(answer.mac, prefix);
            if (!maker && !line.all) continue;
            found.push_back({Dotted(HostOrder(answer.address)), MacText(answer.mac), answer.roundTripUs / 1000.0, maker,
                             sweep.interface});
        }
    }
    std::sort(found.begin(), found.end(), [&platform](const ScanRecord& a, const ScanRecord& b) {
        return HostOrder(platform.InetAddr(a.address.c_str())) < HostOrder(platform.InetAddr(b.address.c_str()));
    });
    for (const ScanRecord& host : found) {
        if (line.json) {
            out << ScanJson(host) << "\n";
        } else {
            out << FormatText("%-15s  %s  %8.2f ms  %s", host.address.c_str(), host.mac.c_str(), host.rttMs,
                              host.interface.c_str())
                << "\n";
        }
    }
    out.flush();
    return kExitDone;
}

}  // namespace AddrixCli
