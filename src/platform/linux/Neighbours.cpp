// The neighbour calls of the seam, over the neighbour table's rtnetlink
// requests.
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/NeighbourTable.h"

#include <net/if.h>

namespace {

std::string InterfaceName(uint32_t index) {
    char name[IF_NAMESIZE] = {};
    return ::if_indextoname(index, name) ? name : std::to_string(index);
}

}  // namespace

bool LinuxPlatform::SetNeighbour(IPv4Address address, const MacAddress& mac) {
    return NeighbourTable::Set(address, mac);
}

bool LinuxPlatform::RemoveNeighbour(IPv4Address address) { return NeighbourTable::RemoveOwn(address); }

std::vector<OwnNeighbourEntry> LinuxPlatform::ListOwnNeighbours() {
    std::vector<OwnNeighbourEntry> own;
    const auto records = NeighbourTable::List();
    if (!records) return own;
    for (const NeighbourTable::Record& record : *records) {
        if (record.protocol != kNeighbourTag || !record.address) continue;
        own.push_back({*record.address, record.mac.value_or(MacAddress()), InterfaceName(record.interfaceIndex)});
    }
    return own;
}
