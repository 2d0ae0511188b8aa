#include "cli/CommandLine.h"

#include <vector>

namespace {

// 1 to 999999 seconds, as decimal digits only.
std::optional<unsigned> ParseTimeout(const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    unsigned seconds = static_cast<unsigned>(std::stoul(text));
    if (seconds == 0) return std::nullopt;
    return seconds;
}

}  // namespace

const char* UsageText() {
    return "usage: addrix-cli [--quiet] set SERIAL ADDRESS [--timeout SECONDS]\n"
           "       addrix-cli [--quiet] home ADDRESS [--open]\n"
           "       addrix-cli [--quiet] clean\n"
           "       addrix-cli --help\n"
           "\n"
           "set   gives the device with serial number SERIAL (its MAC address as 12\n"
           "      hexadecimal digits) the IPv4 address ADDRESS. The address must be free\n"
           "      and on the subnet of one of this host's adapters. Restart the device\n"
           "      once the test pings are done and wait 10 seconds; the command waits\n"
           "      for the device's answer for at most SECONDS (default 1200, 20 minutes).\n"
           "home  pings ADDRESS up to four times and prints the device's home-page URL;\n"
           "      --open also opens it in the default web browser.\n"
           "clean removes the neighbour entries that a run of addrix-cli or of the dialog\n"
           "      added and left behind when it was killed (tag 173: ip neigh show proto\n"
           "      173), and lists them. An entry whose run is alive is kept; entries\n"
           "      without the tag are never touched.\n"
           "\n"
           "Diagnostic lines go to standard error; --quiet keeps only the errors.\n"
           "Sending ICMP echo and changing the neighbour (ARP) table need root, or\n"
           "CAP_NET_RAW and CAP_NET_ADMIN.\n"
           "\n"
           "Exit status: 0 done; 1 the tool itself failed; 2 invalid arguments or input;\n"
           "3 the address is already in use; 4 no answer from the device in time;\n"
           "5 no device answers at ADDRESS (home); 6 another run, of this program or\n"
           "of the dialog, holds ADDRESS (set); 128 plus the signal's number when\n"
           "SIGINT, SIGTERM, SIGHUP or SIGQUIT cancelled it (130, 143, 129, 131; the\n"
           "neighbour entry is removed first). The outcome is written once the entry\n"
           "is removed; a closed output does not stop the command.\n";
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine result;
    CommandLine line;
    if (argc > 0 && argv[0]) line.program = argv[0];
    std::vector<std::string> operands;
    bool timeoutGiven = false;
    auto fail = [&result](std::string error) {
        result.error = std::move(error);
        return result;
    };

    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            result.commandLine = CommandLine{};
            return result;
        } else if (argument == "--quiet" || argument == "-q") {
            line.quiet = true;
        } else if (argument == "--open") {
            line.openBrowser = true;
        } else if (argument == "--timeout") {
            if (i + 1 >= argc) return fail("--timeout needs a number of seconds");
            auto seconds = ParseTimeout(argv[++i]);
            if (!seconds) return fail(std::string("bad --timeout: ") + argv[i]);
            line.timeoutSeconds = *seconds;
            timeoutGiven = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return fail("unknown option: " + argument);
        } else {
            operands.push_back(argument);
        }
    }

    if (operands.empty()) return fail("no command given");
    const std::string& command = operands[0];
    if (command == "set") {
        if (operands.size() != 3) return fail("set takes SERIAL and ADDRESS");
        if (line.openBrowser) return fail("--open belongs to home");
        line.command = CommandLine::Command::Set;
        line.serialNumber = operands[1];
        line.address = operands[2];
    } else if (command == "clean") {
        if (operands.size() != 1) return fail("clean takes no arguments");
        if (line.openBrowser) return fail("--open belongs to home");
        if (timeoutGiven) return fail("--timeout belongs to set");
        line.command = CommandLine::Command::Clean;
    } else if (command == "home") {
        if (operands.size() != 2) return fail("home takes ADDRESS");
        if (timeoutGiven) return fail("--timeout belongs to set");
        line.command = CommandLine::Command::Home;
        line.address = operands[1];
    } else {
        return fail("unknown command: " + command);
    }
    result.commandLine = line;
    return result;
}
