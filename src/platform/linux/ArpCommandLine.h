// The parameters of the arp command, in the two forms the probes build:
// "-s ADDRESS MAC" (MAC as XX-XX-XX-XX-XX-XX) and "-d ADDRESS".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct ArpCommandLine {
    enum class Action { Add, Delete };
    using MacAddress = std::array<uint8_t, 6>;

    // Nothing for any other form, an address the standard conversion does
    // not take, or a MAC text other than six pairs of hex digits joined by '-'.
    static std::optional<ArpCommandLine> Parse(const std::string& parameters);

    Action action = Action::Delete;
    uint32_t address = 0;  // network byte order
    MacAddress mac{};      // all zero for Delete
};
