// The address the dialog proposes at start: the local host's network with a
// last number of 0.
#pragma once

#include <string>

std::string ProposedAddress();
