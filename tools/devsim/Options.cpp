#include "Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

std::optional<double> ParseSeconds(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0) return std::nullopt;
    return value;
}

std::optional<unsigned long> ParseUnsigned(const std::string& text, unsigned long max) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    errno = 0;
    unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (errno != 0 || value > max) return std::nullopt;
    return value;
}

std::optional<std::vector<size_t>> ParseSizes(const std::string& text) {
    std::vector<size_t> sizes;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        auto size = ParseUnsigned(item, 65507);
        if (!size) return std::nullopt;
        sizes.push_back(*size);
    }
    if (sizes.empty()) return std::nullopt;
    return sizes;
}

std::optional<PreassignedDevice> ParsePreassigned(const std::string& text) {
    size_t equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    auto mac = ParseMac(text.substr(0, equals));
    auto address = ParseIpv4(text.substr(equals + 1));
    if (!mac || !address) return std::nullopt;
    return PreassignedDevice{*mac, *address};
}

}  // namespace

const char* UsageText() {
    return "usage: devsim --interface IF --duration SECONDS [options] [MAC...]\n"
           "\n"
           "Emulates network devices that wait for their first IPv4 address on the\n"
           "Ethernet segment of interface IF. A device (given by its MAC, as 12 hex\n"
           "digits or with ':' or '-' separators) listens for the first ICMP echo\n"
           "request sent to its MAC with an accepted payload size, takes that\n"
           "request's destination address and from then on answers ARP and echo\n"
           "requests for it. One JSON line per event goes to standard output.\n"
           "\n"
           "  --interface IF          the interface to use (promiscuous; needs CAP_NET_RAW)\n"
           "  --duration SECONDS      exit after this time (required)\n"
           "  --listen-after SECONDS  the devices restart and start listening then (default 0)\n"
           "  --listen-window SECONDS they listen this long, then no more (default: unlimited)\n"
           "  --accept-sizes N[,N..]  ICMP payload sizes that assign an address (default 408)\n"
           "  --preassigned MAC=IP    a device that already has IP and answers at once (repeatable)\n"
           "  --silent-host MAC=IP    a host that has IP and answers ARP for it, but never\n"
           "                          echo, as behind a firewall (repeatable)\n"
           "  --unreachable IP        a router answers echo requests to IP with 'host\n"
           "                          unreachable' (repeatable); like a proxy-ARP router it\n"
           "                          answers ARP for IP, but not ARP probes (sender 0.0.0.0)\n"
           "  --drop-percent P        lose this share of the frames addressed to the devices\n"
           "  --seed N                seed of the loss (default 1)\n"
           "  --reply-delay-ms D      answer D milliseconds late\n"
           "  --help                  this text\n";
}

ParsedOptions ParseOptions(int argc, char** argv) {
    ParsedOptions result;
    EmulatorOptions options;
    bool haveDuration = false;
    auto fail = [&](std::string error) {
        result.error = std::move(error);
        return result;
    };
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            result.helpRequested = true;
            return result;
        }
        if (argument.rfind("--", 0) != 0) {
            auto mac = ParseMac(argument);
            if (!mac) return fail("not a MAC address: " + argument);
            options.devices.push_back(*mac);
            continue;
        }
        static const std::set<std::string> kValued{"--interface",     "--duration",     "--listen-after",
                                                   "--listen-window", "--accept-sizes", "--preassigned", "--silent-host",
                                                   "--unreachable",   "--drop-percent", "--seed",
                                                   "--reply-delay-ms"};
        if (!kValued.count(argument)) return fail("unknown option: " + argument);
        if (i + 1 >= argc) return fail("missing value for " + argument);
        std::string value = argv[++i];
        if (argument == "--interface") {
            options.interface = value;
        } else if (argument == "--duration") {
            auto seconds = ParseSeconds(value);
            if (!seconds || *seconds <= 0) return fail("bad --duration: " + value);
            options.durationSeconds = *seconds;
            haveDuration = true;
        } else if (argument == "--listen-after") {
            auto seconds = ParseSeconds(value);
            if (!seconds) return fail("bad --listen-after: " + value);
            options.listenAfterSeconds = *seconds;
        } else if (argument == "--listen-window") {
            auto seconds = ParseSeconds(value);
            if (!seconds) return fail("bad --listen-window: " + value);
            options.listenWindowSeconds = *seconds;
        } else if (argument == "--accept-sizes") {
            auto sizes = ParseSizes(value);
            if (!sizes) return fail("bad --accept-sizes: " + value);
            options.acceptSizes = *sizes;
        } else if (argument == "--preassigned") {
            auto device = ParsePreassigned(value);
            if (!device) return fail("bad --preassigned (MAC=IP): " + value);
            options.preassigned.push_back(*device);
        } else if (argument == "--silent-host") {
            auto host = ParsePreassigned(value);
            if (!host) return fail("bad --silent-host (MAC=IP): " + value);
            options.silentHosts.push_back(*host);
        } else if (argument == "--unreachable") {
            auto address = ParseIpv4(value);
            if (!address) return fail("bad --unreachable: " + value);
            options.unreachable.push_back(*address);
        } else if (argument == "--drop-percent") {
            auto percent = ParseUnsigned(value, 100);
            if (!percent) return fail("bad --drop-percent (0 to 100): " + value);
            options.dropPercent = static_cast<unsigned>(*percent);
        } else if (argument == "--seed") {
            auto seed = ParseUnsigned(value, 0xFFFFFFFFul);
            if (!seed) return fail("bad --seed: " + value);
            options.seed = static_cast<unsigned>(*seed);
        } else if (argument == "--reply-delay-ms") {
            auto delay = ParseUnsigned(value, 60000);
            if (!delay) return fail("bad --reply-delay-ms: " + value);
            options.replyDelayMs = static_cast<unsigned>(*delay);
        }
    }
    if (options.interface.empty()) return fail("--interface is required");
    if (!haveDuration) return fail("--duration is required");
    result.options = std::move(options);
    return result;
}
