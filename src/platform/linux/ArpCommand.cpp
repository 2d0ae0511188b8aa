// The arp command's two forms, carried out over rtnetlink.
#include "platform/linux/LinuxPlatform.h"

bool LinuxPlatform::LaunchArp(const std::string&) { return false; }
