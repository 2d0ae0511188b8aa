#include "dialog/ProposedAddress.h"

#include "net/IpAddress.h"
#include "platform/Platform.h"
#include "support/Format.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace {

// The lookup's result, shared with the worker that may outlive the wait.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<IpAddress> address;
};

// The local host's own address, unless the lookup takes longer than a
// moment: a slow name server never holds the dialog back.
std::optional<IpAddress> LocalHostWithoutWaiting() {
    auto pending = std::make_shared<PendingLookup>();
    const bool started = Platform::Current().StartThread([pending] {
        const IpAddress found = IpAddress::LocalHost();
        std::lock_guard<std::mutex> lock(pending->mutex);
        pending->address = found;
        pending->done.notify_all();
    });
    if (!started) return std::nullopt;
    std::unique_lock<std::mutex> lock(pending->mutex);
    pending->done.wait_for(lock, std::chrono::milliseconds(kLocalHostLookupWaitMs),
                           [&] { return pending->address.has_value(); });
    return pending->address;
}

bool IsUsable(const IpAddress& address) {
    return address.GetAddress() != IpAddress::kUnresolved && address.GetAddress() != IpAddress::kNone &&
           address.GetOctet(1) != 127;
}

// The first adapter address that is neither loopback nor unset.
std::optional<IpAddress> FirstAdapterAddress() {
    const AdapterList list = Platform::Current().GetAdapters();
    if (list.status != AdapterList::Status::Ok) return std::nullopt;
    for (const Adapter& adapter : list.adapters) {
        for (const AdapterAddress& entry : adapter.addresses) {
            const IpAddress address(entry.address.c_str(), 0);
            if (IsUsable(address)) return address;
        }
    }
    return std::nullopt;
}

std::string NetworkOf(const IpAddress& address) {
    return FormatText("%d.%d.%d.0", address.GetOctet(1), address.GetOctet(2), address.GetOctet(3));
}

}  // namespace

std::string ProposedAddress() {
    const IpAddress localHost = LocalHostWithoutWaiting().value_or(IpAddress(IpAddress::kUnresolved, 0));
    if (IsUsable(localHost)) return NetworkOf(localHost);
    return NetworkOf(FirstAdapterAddress().value_or(localHost));
}
