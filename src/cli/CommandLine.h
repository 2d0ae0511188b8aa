// The command line of addrix-cli: which command to run, with its arguments.
#pragma once

#include <optional>
#include <string>

struct CommandLine {
    enum class Command { Help, Set, Home, Clean, Batch, Scan };

    // 20 minutes, the time the dialog gives one attempt.
    static constexpr unsigned kDefaultTimeoutSeconds = 1200;
    // One echo request per second, as the dialog's job sends them.
    static constexpr unsigned kDefaultIntervalMs = 1000;
    static constexpr unsigned kMinIntervalMs = 100;
    static constexpr unsigned kDefaultParallel = 32;
    // The largest subnet scan swept without --max-hosts: a /22.
    static constexpr unsigned kDefaultMaxHosts = 1022;

    Command command = Command::Help;
    std::string program;       // how the program was started (argv[0])
    std::string serialNumber;  // set
    std::string address;       // set, home
    std::string listFile;      // batch: the device list, "-" for standard input
    std::string reportFile;    // batch --report: empty for none
    unsigned timeoutSeconds = kDefaultTimeoutSeconds;  // set, batch: per device
    unsigned intervalMs = kDefaultIntervalMs;          // set, batch: between echo requests
    unsigned parallel = kDefaultParallel;              // batch: devices at once
    std::string interface;                             // scan: empty for every adapter
    unsigned maxHosts = kDefaultMaxHosts;              // scan
    std::optional<std::string> prefix;                 // scan: MAC prefix, 150 when absent
    bool all = false;          // scan --all: every host that answers
    bool openBrowser = false;  // home --open
    bool json = false;         // one JSON object per device or host on standard output
    bool verbose = false;      // diagnostic lines to standard error
    bool quiet = false;        // with verbose: only the diagnostic error lines
};

// The parsed command line, or what is wrong with it.
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// The text of --help, which also follows a usage error.
const char* UsageText();
