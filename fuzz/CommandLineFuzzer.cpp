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
           a.address == b.address && a.timeoutSeconds == b.timeoutSeconds && a.openBrowser == b.openBrowser &&
           a.quiet == b.quiet;
}

// The arguments that ask for `line`, options first; nothing for a command
// this target does not know.
std::optional<std::vector<std::string>> WriteOut(const CommandLine& line) {
    std::vector<std::string> arguments{line.program};
    if (line.quiet) arguments.push_back("--quiet");
    switch (line.command) {
        case CommandLine::Command::Help:
            arguments.push_back("--help");
            return arguments;
        case CommandLine::Command::Set:
            if (line.timeoutSeconds != CommandLine::kDefaultTimeoutSeconds) {
                arguments.push_back("--timeout");
                arguments.push_back(std::to_string(line.timeoutSeconds));
            }
            arguments.insert(arguments.end(), {"set", line.serialNumber, line.address});
            return arguments;
        case CommandLine::Command::Home:
            if (line.openBrowser) arguments.push_back("--open");
            arguments.insert(arguments.end(), {"home", line.address});
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
