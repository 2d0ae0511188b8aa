// One attempt to give a device, named by its serial number (its MAC
// address), an IPv4 address: on its own worker thread it takes the address
// for this run, checks that the address is free (echo and ARP), adds a static
// neighbour entry, pings until the device answers or the job is cancelled,
// removes the entry and tells its listeners.
//
// Create it on the heap, AddListener, Set; later Cancel and WaitForStoped if
// giving up, then RemoveListener and Destroy.
#pragma once

#include "assign/SetIPNotifier.h"
#include "assign/Thread.h"
#include "net/IPv4Address.h"
#include "net/MacAddress.h"
#include "platform/Platform.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>

class SetIP : public SetIPNotifier, public Thread {
public:
    SetIP() = default;
    ~SetIP() override = default;

    // Stores the request and starts the worker; blocks until it has begun.
    // A worker that cannot be started is reported as Failed at once, on the
    // calling thread.
    void Set(const std::string& serialNumber, const std::string& address);
    // Asks the job to stop; the probe in flight ends at once. Returns at once.
    void Cancel();

    // The serial number as XX-XX-XX-XX-XX-XX, characters copied unchanged;
    // missing characters are left out, the separators are always written.
    static std::string FormatMacAddress(const std::string& serialNumber);

protected:
    int32_t Run(uintptr_t param) override;
    // Up to `count` test pings while the job runs; true at the first answer.
    bool MultiPing(const std::string& address, int count);

private:
    enum class ProbeVerdict { Free, InUse, Cancelled };

    // Removes a tagged entry for the address that no live run owns: with the
    // address lock held, any such entry was left by a run that died.
    void RemoveOrphanedEntry(IPv4Address address);
    // The ARP probe: any answer from a MAC other than the device's means the
    // address is taken.
    ProbeVerdict ProbeWithArp(IPv4Address address, const MacAddress& device);

    std::string macText;
    std::string addressText;
    std::optional<MacAddress> mac_;
    // Made by Set before the worker starts; fired by Cancel.
    std::unique_ptr<CancelEvent> cancel_;
    std::atomic<bool> running{false};
};
