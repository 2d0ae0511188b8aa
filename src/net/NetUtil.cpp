#include "net/NetUtil.h"

#include "net/AddressRules.h"
#include "platform/Platform.h"
#include "support/Log.h"

#include <atomic>
#include <cstring>

namespace {

constexpr int kOsClassUnknown = 5;

std::atomic<int> osVersionClass{kOsClassUnknown};
std::atomic<bool> osVersionClassKnown{false};

int ClassifyOsVersion(const OsVersion& version) {
    switch (version.platformId) {
        case kPlatformWin32NT:
            return version.major <= 4 ? 0 : 4;
        case kPlatformWin32Windows:
            if (version.major < 4 || (version.major == 4 && version.minor == 0)) return 1;
            return version.minor < 90 ? 2 : 3;
        default:
            return kOsClassUnknown;
    }
}

// The first entry of `list` whose subnet holds `selectedAddress`, logging
// every entry visited; null when none does.
const AdapterAddress* FindSubnetEntry(const LogScope& scope, const AdapterList& list, const char* selectedAddress) {
    for (const Adapter& adapter : list.adapters) {
        for (const AdapterAddress& entry : adapter.addresses) {
            scope.Debug("Found network card on computer with ipaddr: '%s' and subnet mask '%s'", entry.address.c_str(),
                        entry.mask.c_str());
            if (IsValidIpAddress(selectedAddress) && IsValidIpAddress(entry.address.c_str()) &&
                IsSameSubnet(entry.address.c_str(), selectedAddress, entry.mask.c_str())) {
                return &entry;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::string NetUtil::IsIpAddressInSubnet(const char* selectedAddress) {
    if (!selectedAddress || ::strnlen(selectedAddress, kMaxIpAddressTextLength + 1) > kMaxIpAddressTextLength) {
        return {};
    }
    const LogScope scope("NetUtil::IsIpAddressInSubnet");

    const AdapterList list = Platform::Current().GetAdapters();
    switch (list.status) {
        case AdapterList::Status::Ok:
            break;
        case AdapterList::Status::NotSupported:
            scope.Error("The system not support GetAdaptersInfo API function!");
            return {};
        case AdapterList::Status::ListChanged:
            scope.Error("Unknow error!");
            return {};
        case AdapterList::Status::NoAdapter:
            scope.Error("No net device information!");
            return {};
    }

    const AdapterAddress* entry = FindSubnetEntry(scope, list, selectedAddress);
    if (!entry) return {};
    scope.Debug("The ipaddr: '%s' and subnet mask '%s' is on the same subnet as the slected ip address '%s'",
                entry->address.c_str(), entry->mask.c_str(), selectedAddress);
    return entry->address;
}

int GetOsVersionClass() {
    if (osVersionClassKnown.load()) return osVersionClass.load();
    OsVersion version;
    // A failed query leaves the class unknown for good.
    if (Platform::Current().GetOsVersion(version)) osVersionClass.store(ClassifyOsVersion(version));
    osVersionClassKnown.store(true);
    return osVersionClass.load();
}

void ResetOsVersionClassForTesting() {
    osVersionClass.store(kOsClassUnknown);
    osVersionClassKnown.store(false);
}

AddressVerdict CheckSelectedAddress(const char* address) {
    if (!IsValidIpAddress(address)) return AddressVerdict::NotValid;
    if (GetOsVersionClass() != 0 && NetUtil::IsIpAddressInSubnet(address).empty()) return AddressVerdict::NotReachable;
    return AddressVerdict::Accepted;
}
