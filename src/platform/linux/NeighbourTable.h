// The IPv4 neighbour (ARP) table of the calling thread's network namespace,
// changed over rtnetlink. Each call waits for the kernel's answer, which
// comes at once, and for nothing else.
#pragma once

#include "platform/linux/ArpCommandLine.h"

#include <cstdint>

namespace NeighbourTable {

// Sets a permanent entry binding `address` (network byte order) to `mac` on
// the interface the kernel routes the address through, replacing any entry
// there. False without a unicast route, without CAP_NET_ADMIN, or when the
// kernel refuses.
bool Add(uint32_t address, const ArpCommandLine::MacAddress& mac);

// Removes the entry of `address` from the interface the kernel routes it
// through; true also when there is none.
bool Delete(uint32_t address);

}  // namespace NeighbourTable
