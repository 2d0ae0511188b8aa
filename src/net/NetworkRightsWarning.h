// The warning for a process that lacks network rights it needs.
#pragma once

#include "platform/Platform.h"

#include <string>

// Names the missing rights and how to grant them to `program`; empty when
// nothing that is needed is missing. Neighbour changes count only when
// `needsNeighbours` is true.
std::string NetworkRightsWarning(const NetworkRights& rights, bool needsNeighbours, const std::string& program);
