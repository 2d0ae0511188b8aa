// The IPv4 neighbour (ARP) table of the calling thread's network namespace,
// read and changed over rtnetlink. The entries this program adds carry the
// protocol tag kNeighbourTag; only those are ever replaced or removed. Each
// call waits for the kernel's answer, which comes at once, and for nothing
// else.
#pragma once

#include "platform/Platform.h"
#include "platform/linux/NetlinkReply.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace NeighbourTable {

// One entry as the kernel reports it.
using Record = NetlinkNeighbour;

// Sets a permanent entry binding `address` to `mac`, tagged as ours, on the
// interface the kernel routes the address through, replacing an entry of
// ours or a dynamic one there. False without a unicast route, without
// CAP_NET_ADMIN, when the kernel refuses, or when a permanent entry without
// our tag is there.
bool Set(IPv4Address address, const MacAddress& mac);

// Removes every entry for `address` that carries our tag, on any interface;
// true also when there is none.
bool RemoveOwn(IPv4Address address);

// The interface of the kernel's unicast route to `address`, if it has one.
std::optional<uint32_t> RouteInterface(IPv4Address address);

// Every IPv4 entry of the namespace; nothing when the table cannot be read.
std::optional<std::vector<Record>> List();

}  // namespace NeighbourTable
