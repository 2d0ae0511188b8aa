// addrix-cli: gives a device its first IPv4 address from the command line,
// on the same core as the dialog, for scripts and headless machines.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "platform/Platform.h"
#include "platform/SignalWatcher.h"
#include "support/Log.h"
#include "support/StringIds.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>

namespace {

int Run(int argc, char** argv) {
    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.commandLine) {
        std::cerr << "addrix-cli: " << parsed.error << "\n\n" << UsageText();
        return AddrixCli::kExitInvalidInput;
    }
    const CommandLine& line = *parsed.commandLine;
    if (line.command == CommandLine::Command::Help) {
        std::cout << UsageText();
        return AddrixCli::kExitDone;
    }

    // As the dialog's start-up does: module tag "QRM", every level to the
    // debugger output (here standard error), no log file.
    Log::Instance().Configure("QRM", kLogDebug, 0, nullptr, nullptr);
    if (line.quiet) Log::Instance().SetDebuggerLevel(kLogError);
    if (!Platform::Current().StartSockets()) {
        std::cerr << Platform::Current().LoadStringResource(kIdsSocketsNotStarted) << "\n";
        return AddrixCli::kExitToolFailure;
    }
    switch (line.command) {
        case CommandLine::Command::Set:
            return AddrixCli::Set(line, std::cout, std::cerr);
        case CommandLine::Command::Home:
            return AddrixCli::Home(line, std::cout, std::cerr);
        case CommandLine::Command::Clean:
            return AddrixCli::Clean(line, std::cout, std::cerr);
        case CommandLine::Command::Help:
            break;
    }
    return AddrixCli::kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed output must not end the program before it has removed its
    // neighbour entry: writes then fail, and the work goes on.
    IgnoreClosedOutput();
    int status = AddrixCli::kExitToolFailure;
    try {
        status = Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "addrix-cli: " << error.what() << "\n";
    }
    // A job given up with Destroy is deleted by its own worker, which may
    // still be doing so: end without running static destructors, so that
    // the log it writes to stays intact until the process is gone.
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(status);
}
