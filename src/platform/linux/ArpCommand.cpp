// The arp command's two forms, carried out over rtnetlink.
#include "platform/linux/ArpCommandLine.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/NeighbourTable.h"

bool LinuxPlatform::LaunchArp(const std::string& parameters) {
    const std::optional<ArpCommandLine> command = ArpCommandLine::Parse(parameters);
    if (!command) return false;
    if (command->action == ArpCommandLine::Action::Add) return NeighbourTable::Add(command->address, command->mac);
    return NeighbourTable::Delete(command->address);
}
