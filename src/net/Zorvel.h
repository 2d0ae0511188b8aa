// The probes through which the program touches the network: one ICMP echo
// request, and adding or removing a static neighbour (ARP) entry.
#pragma once

#include <cstdint>

namespace Zorvel {

// True when `host` answered one echo request of `size` payload bytes within
// `timeoutMs`. Hosts that resolve to 0.0.0.0 or 255.255.255.255 are refused.
bool Ping(const char* host, uint32_t timeoutMs, uint16_t size);

// Launches "arp -s ADDRESS MAC" (MAC as XX-XX-XX-XX-XX-XX); not awaited.
void ArpAdd(const char* address, const char* mac);

// Launches "arp -d ADDRESS"; not awaited.
void ArpDel(const char* address);

}  // namespace Zorvel
