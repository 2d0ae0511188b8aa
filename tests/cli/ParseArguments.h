// Parses the arguments that follow the program's name, as addrix-cli's main
// hands them over, for tables of command-line cases.
#pragma once

#include "cli/CommandLine.h"

#include <string>
#include <vector>

inline ParsedCommandLine ParseArguments(const std::vector<const char*>& arguments) {
    std::vector<const char*> argv{"addrix-cli"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The arguments as one line, to name a case in a failure.
inline std::string JoinArguments(const std::vector<const char*>& arguments) {
    std::string joined;
    for (const char* argument : arguments) joined += std::string(argument) + " ";
    return joined;
}
