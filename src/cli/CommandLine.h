// The command line of addrix-cli: which command to run, with its arguments.
#pragma once

#include <optional>
#include <string>

struct CommandLine {
    enum class Command { Help, Set, Home, Clean };

    // 20 minutes, the time the dialog gives one attempt.
    static constexpr unsigned kDefaultTimeoutSeconds = 1200;

    Command command = Command::Help;
    std::string program;       // how the program was started (argv[0])
    std::string serialNumber;  // set
    std::string address;       // set, home
    unsigned timeoutSeconds = kDefaultTimeoutSeconds;
    bool openBrowser = false;  // home --open
    bool quiet = false;        // diagnostics: errors only
};

// The parsed command line, or what is wrong with it.
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// The text of --help, which also follows a usage error.
const char* UsageText();
