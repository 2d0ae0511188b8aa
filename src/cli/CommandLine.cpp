#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cctype>

namespace {

// A MAC prefix as typed: hexadecimal digits, optionally split by ':' or '-';
// kept as upper-case digits only.
std::string MacPrefixDigits(const std::string& typed) {
    std::string digits;
    for (char c : typed) {
        if (c == ':' || c == '-') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) throw CLI::ValidationError("--prefix", "not hexadecimal: " + typed);
        digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (digits.empty() || digits.size() > 12) throw CLI::ValidationError("--prefix", "1 to 12 hexadecimal digits: " + typed);
    return digits;
}

}  // namespace

const char* UsageText() {
    return "usage: addrix-cli [--verbose [--quiet]] COMMAND ...\n"
           "\n"
           "  set SERIAL ADDRESS [--timeout SECONDS] [--interval MS] [--json]\n"
           "      gives the device with serial number SERIAL (its MAC address as 12\n"
           "      hexadecimal digits) the IPv4 address ADDRESS. The address must be free\n"
           "      and on the subnet of one of this host's adapters. Restart the device\n"
           "      once the test pings are done and wait 10 seconds; the command waits\n"
           "      for the device's answer for at most SECONDS (default 1200, 20 minutes).\n"
           "      --interval MS (100 to 1000, default 1000) sends the next echo request\n"
           "      every MS milliseconds; each still waits its whole second for an answer.\n"
           "  batch FILE [--parallel N] [--timeout SECONDS] [--interval MS] [--report CSV] [--json]\n"
           "      does what set does for every device of FILE (\"-\": standard input), at\n"
           "      most N at once (default 32). FILE is CSV: serial,address[,label] per\n"
           "      line; '#' starts a comment line; a first line \"serial,address,...\" is\n"
           "      a header. Every line is checked first, duplicate serial numbers and\n"
           "      addresses included; on any error nothing starts. Progress goes to\n"
           "      standard output (redrawn on a terminal, one event a line otherwise),\n"
           "      then a summary. --report writes line,serial,address,label,outcome,\n"
           "      seconds,exit per device to CSV.\n"
           "  scan [--interface IF] [--max-hosts N] [--prefix HEX] [--all] [--json]\n"
           "      asks every address of the local IPv4 subnets (of IF only, with\n"
           "      --interface) with ARP, at most 500 requests a second, and lists the\n"
           "      hosts whose MAC starts with the maker's prefix (or HEX): address, MAC\n"
           "      and round-trip time. --all lists every host that answered. Subnets\n"
           "      with more than N hosts (default 1022, a /22) are refused.\n"
           "  home ADDRESS [--open] [--json]\n"
           "      pings ADDRESS up to four times and prints the device's home-page URL;\n"
           "      --open also opens it in the default web browser.\n"
           "  clean\n"
           "      removes the neighbour entries that a run of addrix-cli or of the dialog\n"
           "      added and left behind when it was killed (tag 173: ip neigh show proto\n"
           "      173), and lists them. An entry whose run is alive is kept; entries\n"
           "      without the tag are never touched.\n"
           "  --help\n"
           "      this text.\n"
           "\n"
           "--json prints one JSON object a line, one per device or host, instead of the\n"
           "messages; the fields are described in the README. --verbose sends the\n"
           "diagnostic lines to standard error; with --quiet only their errors.\n"
           "Sending ICMP echo and ARP and changing the neighbour (ARP) table need root,\n"
           "or CAP_NET_RAW and CAP_NET_ADMIN.\n"
           "\n"
           "Exit status: 0 done; 1 the tool itself failed; 2 invalid arguments or input;\n"
           "3 the address is already in use; 4 no answer from the device in time;\n"
           "5 no device answers at ADDRESS (home); 6 another run, of this program or\n"
           "of the dialog, holds ADDRESS; 128 plus the signal's number when SIGINT,\n"
           "SIGTERM, SIGHUP or SIGQUIT cancelled it (130, 143, 129, 131; the neighbour\n"
           "entries are removed first). batch exits with the most serious status of\n"
           "its devices, in this order: cancelled, 1, 3, 6, 4. The outcome is written\n"
           "once the entries are removed; a closed output does not stop the command.\n";
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine result;
    CommandLine line;
    if (argc > 0 && argv[0]) line.program = argv[0];

    // The help text is written by hand above, so that one page describes
    // every command; the parser only recognises the flag.
    CLI::App app;
    app.set_help_flag();
    app.allow_windows_style_options(false);
    app.add_flag("-v,--verbose", line.verbose);
    // Without --verbose there are no diagnostic lines to keep quiet; the flag
    // is still taken, as scripts written before --verbose pass it.
    app.add_flag("-q,--quiet", line.quiet);
    app.require_subcommand(0, 1);

    auto command = [&app](const char* name) {
        CLI::App* sub = app.add_subcommand(name);
        // Options of the whole program may follow the command's arguments.
        sub->fallthrough();
        return sub;
    };
    auto timing = [&line](CLI::App* sub) {
        sub->add_option("--timeout", line.timeoutSeconds)->check(CLI::Range(1u, 999999u));
        sub->add_option("--interval", line.intervalMs)
            ->check(CLI::Range(CommandLine::kMinIntervalMs, CommandLine::kDefaultIntervalMs));
    };

    CLI::App* set = command("set");
    set->add_option("SERIAL", line.serialNumber)->required();
    set->add_option("ADDRESS", line.address)->required();
    timing(set);
    set->add_flag("--json", line.json);

    CLI::App* batch = command("batch");
    batch->add_option("FILE", line.listFile)->required();
    batch->add_option("--parallel", line.parallel)->check(CLI::Range(1u, 1024u));
    batch->add_option("--report", line.reportFile)->check([](const std::string& path) {
        return path.empty() ? std::string("a file name") : std::string();
    });
    timing(batch);
    batch->add_flag("--json", line.json);

    CLI::App* scan = command("scan");
    scan->add_option("--interface", line.interface)->check([](const std::string& name) {
        return name.empty() ? std::string("an interface name") : std::string();
    });
    scan->add_option("--max-hosts", line.maxHosts)->check(CLI::Range(1u, 1u << 24));
    scan->add_option_function<std::string>("--prefix", [&line](const std::string& typed) {
        line.prefix = MacPrefixDigits(typed);
    });
    scan->add_flag("--all", line.all);
    scan->add_flag("--json", line.json);

    CLI::App* home = command("home");
    home->add_option("ADDRESS", line.address)->required();
    home->add_flag("--open", line.openBrowser);
    home->add_flag("--json", line.json);

    CLI::App* clean = command("clean");

    try {
        // Help wins over everything else on the line, however wrong the rest.
        for (int i = 1; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--help" || argument == "-h") {
                result.commandLine = CommandLine{};
                return result;
            }
        }
        app.parse(argc, argv);
    } catch (const CLI::Error& error) {
        result.error = error.what();
        return result;
    }

    if (set->parsed()) {
        line.command = CommandLine::Command::Set;
    } else if (batch->parsed()) {
        line.command = CommandLine::Command::Batch;
    } else if (scan->parsed()) {
        line.command = CommandLine::Command::Scan;
    } else if (home->parsed()) {
        line.command = CommandLine::Command::Home;
    } else if (clean->parsed()) {
        line.command = CommandLine::Command::Clean;
    } else {
        result.error = "no command given";
        return result;
    }
    result.commandLine = line;
    return result;
}
