// The commands of addrix-cli. Each returns the process's exit status;
// message texts go to `out` (outcomes) and `err` (refused input).
#pragma once

#include "cli/CommandLine.h"

#include <optional>
#include <ostream>
#include <string>

namespace AddrixCli {

enum ExitStatus : int {
    kExitDone = 0,
    kExitToolFailure = 1,
    kExitInvalidInput = 2,
    kExitAddressInUse = 3,
    kExitTimedOut = 4,
    kExitNoDevice = 5,
    kExitAddressHeld = 6,  // another run holds the address
    kExitSignalBase = 128,  // plus the signal's number
};

// The field texts the dialog would check, and the message of the first
// check that refuses them, in the dialog's order: serial number (202),
// address complete (203), address valid (211), on a local subnet (209).
struct CheckedInput {
    std::string serialNumber;
    std::string address;
    std::optional<std::string> refusal;
};
CheckedInput CheckSetInput(const std::string& typedSerialNumber, const std::string& typedAddress);

// "set": checks the input, then runs one assignment job until it reports,
// its time runs out, or a stop signal (SIGINT, SIGTERM, SIGHUP, SIGQUIT)
// cancels it. The outcome is written once the job has ended and removed
// its neighbour entry.
int Set(const CommandLine& line, std::ostream& out, std::ostream& err);

// "home": checks the address as the dialog's address check does (incomplete
// 203, not valid 211), then up to four pings, then the device's home-page URL.
int Home(const CommandLine& line, std::ostream& out, std::ostream& err);

// "clean": removes every neighbour entry with our tag that no live run owns
// (its address lock can be taken), writing one line for each to `out`:
// "removed ADDRESS lladdr MAC dev INTERFACE". Entries of live runs and
// entries without the tag stay. 1 when an entry could not be removed.
int Clean(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace AddrixCli
