// The probes through which the program touches the network: one ICMP echo
// request, an ARP probe, and adding or removing a static neighbour (ARP)
// entry of our own.
#pragma once

#include "net/IPv4Address.h"
#include "net/MacAddress.h"
#include "platform/Platform.h"

#include <cstdint>

namespace Zorvel {

// True when `host` answered one echo request of `size` payload bytes within
// `timeoutMs`. Hosts that resolve to 0.0.0.0 or 255.255.255.255 are refused.
// Unanswered, it returns only when its whole window has passed, however
// early the request failed, so that a caller that pings again at once sends
// at most one request per window; `cancel` (may be null) ends the wait.
bool Ping(const char* host, uint32_t timeoutMs, uint16_t size, CancelEvent* cancel = nullptr);

// Sets the static entry binding `address` to `mac` (written to the log and
// to the arp command as XX-XX-XX-XX-XX-XX); false when it could not be set.
bool ArpAdd(IPv4Address address, const MacAddress& mac);

// Removes the entry that ArpAdd set for `address`.
void ArpDel(IPv4Address address);

// Asks with ARP who has `address`; see Platform::ProbeArp.
ArpProbeResult ArpProbe(IPv4Address address, CancelEvent* cancel);

}  // namespace Zorvel
