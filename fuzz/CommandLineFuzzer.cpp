// The argument parser of addrix-cli, on any arguments (the input cut at NUL
// bytes, the first piece being the program). A parse either fails with a
// reason or gives a command line that is consistent and that, written out
// again as arguments, parses to itself.
#include "FuzzCheck.h"
#include "cli/CommandLine.h"

#include <optional>

namespace {

constexpr size_t kMaxArguments = 64;

bool SameLine(const CommandLine& a, const CommandLine& b) {
    return a.command == b.command && a.program == b.program && a.serialNumber == b.serialNumber &&
           a.address == b.address && a.listFile == b.listFile && a.reportFile == b.reportFile &&
           a.timeoutSeconds == b.timeoutSeconds && a.intervalMs == b.intervalMs && a.parallel == b.parallel &&
           a.interface == b.interface && a.maxHosts == b.maxHosts && a.prefix == b.prefix && a.all == b.all &&
           a.openBrowser == b.openBrowser && a.json == b.json && a.verbose == b.verbose && a.quiet == b.quiet;
}

// The arguments that ask for `line`: the program's own options, then the
// command with its arguments and options; nothing for a command this target
// does not know.
std::optional<std::vector<std::string>> WriteOut(const CommandLine& line) {
    // A written-out argument that starts with '-' would read as an option.
    for (const std::string* positional : {&line.serialNumber, &line.address})
        if (!positional->empty() && positional->front() == '-') return std::nullopt;
    std::vector<std::string> arguments{line.program};
    if (line.verbose) arguments.push_back("--verbose");
    if (line.quiet) arguments.push_back("--quiet");
    auto option = [&arguments](const char* name, unsigned value, unsigned byDefault) {
        if (value == byDefault) return;
        arguments.push_back(name);
        arguments.push_back(std::to_string(value));
    };
    switch (line.command) {
        case CommandLine::Command::Help:
            arguments.push_back("--help");
            return arguments;
        case CommandLine::Command::Set:
            arguments.insert(arguments.end(), {"set", line.serialNumber, line.address});
            option("--timeout", line.timeoutSeconds, CommandLine::kDefaultTimeoutSeconds);
            option("--interval", line.intervalMs, CommandLine::kDefaultIntervalMs);
            if (line.json) arguments.push_back("--json");
            return arguments;
        case CommandLine::Command::Home:
            arguments.insert(arguments.end(), {"home", line.address});
            if (line.openBrowser) arguments.push_back("--open");
            if (line.json) arguments.push_back("--json");
            return arguments;
        default:
            return std::nullopt;
    }
}

ParsedCommandLine Parse(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    return ParseCommandLine(static_cast<int>(arguments.size()), argv.data());
}

void CheckConsistent(const CommandLine& line) {
    switch (line.command) {
        case CommandLine::Command::Help:
            FUZZ_CHECK(line.serialNumber.empty() && line.address.empty());
            FUZZ_CHECK(line.timeoutSeconds == CommandLine::kDefaultTimeoutSeconds);
            break;
        case CommandLine::Command::Set:
            FUZZ_CHECK(!line.openBrowser);
            FUZZ_CHECK(line.timeoutSeconds >= 1 && line.timeoutSeconds <= 999999);
            break;
        case CommandLine::Command::Home:
            FUZZ_CHECK(line.serialNumber.empty());
            FUZZ_CHECK(line.timeoutSeconds == CommandLine::kDefaultTimeoutSeconds);
            break;
        default:
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> arguments = SplitAtNul(data, size);
    if (arguments.size() > kMaxArguments) return 0;

    const ParsedCommandLine parsed = Parse(arguments);
    FUZZ_CHECK(parsed.commandLine.has_value() != !parsed.error.empty());
    if (!parsed.commandLine) return 0;
    CheckConsistent(*parsed.commandLine);

    const std::optional<std::vector<std::string>> written = WriteOut(*parsed.commandLine);
    if (!written) return 0;
    const ParsedCommandLine again = Parse(*written);
    FUZZ_CHECK(again.commandLine && SameLine(*again.commandLine, *parsed.commandLine));
    return 0;
}
