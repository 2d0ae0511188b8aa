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

    // Each echo request waits this long for its answer.
    static constexpr uint32_t kEchoWindowMs = 1000;

    // Stores the request and starts the worker; blocks until it has begun.
    // A worker that cannot be started is reported as Failed at once, on the
    // calling thread. While it waits for the device, the job sends the next
    // echo request every `intervalMs` (up to kEchoWindowMs): with a shorter
    // interval the requests overlap, each still waiting its whole window,
    // and an answer to any of them counts.
    void Set(const std::string& serialNumber, const std::string& address, uint32_t intervalMs = kEchoWindowMs);
    // Asks the job to stop; the probe in flight ends at once. Returns at once.
    void Cancel();
    // Whether the job has found the address free and pings the device
    // through its neighbour entry, waiting for it to restart.
    bool WaitingForDevice() const { return waitingForDevice; }

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
    // The assignment pings until the device answers or the job is cancelled:
    // one at a time, each taking its window, or, with a shorter interval,
    // one every interval on helper threads. True when the device answered.
    bool PingUntilAnswered();
    bool PingOverlapping();

    std::string macText;
    std::string addressText;
    std::optional<MacAddress> mac_;
    uint32_t intervalMs_ = kEchoWindowMs;
    // Made by Set before the worker starts; fired by Cancel.
    std::unique_ptr<CancelEvent> cancel_;
    std::atomic<bool> running{false};
    std::atomic<bool> waitingForDevice{false};
};
