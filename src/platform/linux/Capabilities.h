// Whether the calling thread holds a capability, as the kernel reports it.
#pragma once

#include <linux/capability.h>

// True when `capability` (CAP_NET_RAW, CAP_NET_ADMIN, ...) is in the calling
// thread's effective set; false also when the kernel cannot tell.
bool HasEffectiveCapability(int capability);
