// The host's adapters and their IPv4 entries, from getifaddrs.
#include "platform/linux/LinuxPlatform.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <string_view>

namespace {

// The dotted-quad text of an IPv4 socket address; empty when there is none.
std::string DottedQuad(const sockaddr* address) {
    if (!address || address->sa_family != AF_INET) return {};
    char text[INET_ADDRSTRLEN] = {};
    const in_addr& value = reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
    return ::inet_ntop(AF_INET, &value, text, sizeof text) ? text : std::string();
}

// An address's label ("eth0:1") names its interface before the colon, which
// interface names never contain.
std::string_view InterfaceName(const char* label) {
    std::string_view name(label ? label : "");
    return name.substr(0, name.find(':'));
}

}  // namespace

// Every non-loopback interface with an IPv4 address is one adapter, its
// addresses in the kernel's order; loopback is no network card.
AdapterList LinuxPlatform::GetAdapters() {
    ifaddrs* entries = nullptr;
    if (::getifaddrs(&entries) != 0) return {AdapterList::Status::ListChanged, {}};

    AdapterList list;
    std::vector<std::string_view> names;  // of list.adapters, index for index
    for (const ifaddrs* entry = entries; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (entry->ifa_flags & IFF_LOOPBACK) continue;
        const std::string_view name = InterfaceName(entry->ifa_name);
        size_t index = 0;
        while (index < names.size() && names[index] != name) ++index;
        if (index == names.size()) {
            names.push_back(name);
            list.adapters.emplace_back();
            list.adapters.back().name = std::string(name);
        }
        list.adapters[index].addresses.push_back({DottedQuad(entry->ifa_addr), DottedQuad(entry->ifa_netmask)});
    }
    ::freeifaddrs(entries);

    if (list.adapters.empty()) list.status = AdapterList::Status::NoAdapter;
    return list;
}
