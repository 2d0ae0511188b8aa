// The objects of --json: one object a line on standard output, one per device
// or host, so that a script can read each line as it comes. The field names
// and their meaning are stable; fields may be added, never renamed.
#pragma once

#include "cli/Outcome.h"

#include <optional>
#include <string>

// One device of `set` or `batch`:
//   serial   the serial number as checked (12 upper-case hexadecimal digits)
//   address  the IPv4 address as checked
//   outcome  OutcomeName
//   exit     the exit status this outcome stands for
//   seconds  from the job's start to its outcome (0 when not started)
// and, for batch only,
//   line     the device's line in the list
//   label    the list's label, "" when it has none
struct DeviceRecord {
    std::string serialNumber;
    std::string address;
    Outcome outcome = Outcome::Failed;
    int exitStatus = 0;
    double seconds = 0;
    std::optional<unsigned> line;
    std::optional<std::string> label;
};
std::string DeviceJson(const DeviceRecord& record);

// The answer of `home`:
//   address  the address asked
//   outcome  "found" or "no_device"
//   url      the home page, when found
//   exit     the exit status
std::string HomeJson(const std::string& address, bool found, int exitStatus);

// One host that answered `scan`:
//   address  its IPv4 address
//   mac      its MAC, as XX:XX:XX:XX:XX:XX in lower case
//   rtt_ms   milliseconds from the request to the answer
//   maker    whether the MAC starts with the maker's prefix (or --prefix)
//   interface  the adapter the answer came in on
struct ScanRecord {
    std::string address;
    std::string mac;
    double rttMs = 0;
    bool maker = false;
    std::string interface;
};
std::string ScanJson(const ScanRecord& record);
