// ICMP echo through an ICMP datagram socket, or a raw one where that is refused.
#include "platform/linux/LinuxPlatform.h"

bool LinuxPlatform::SendEcho(uint32_t, size_t, uint32_t) { return false; }

NetworkRights LinuxPlatform::GetNetworkRights() { return {}; }
