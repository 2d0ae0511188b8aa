// Waits of the Linux layer that a job's cancel event can cut short: the
// event is an eventfd, polled alongside whatever the wait is for.
#pragma once

#include "platform/Platform.h"

#include <atomic>
#include <chrono>

class LinuxCancelEvent : public CancelEvent {
public:
    // Null when no eventfd can be had.
    static std::unique_ptr<LinuxCancelEvent> Create();
    ~LinuxCancelEvent() override;

    void Fire() override;
    bool IsFired() const override;
    bool WaitFor(uint32_t timeoutMs) override;

    // Readable once fired, and from then on.
    int Descriptor() const { return descriptor_; }

private:
    explicit LinuxCancelEvent(int descriptor) : descriptor_(descriptor) {}

    int descriptor_;
    std::atomic<bool> fired_{false};
};

enum class WaitOutcome { Ready, TimedOut, Cancelled, Failed };

// Waits until `descriptor` has `events` (poll's; what it has then is put in
// `revents`), `deadline` passes or `cancel` (may be null) fires. A cancel
// event that is not the Linux layer's own is tested at the start only.
WaitOutcome WaitForDescriptor(int descriptor, short events, std::chrono::steady_clock::time_point deadline,
                              CancelEvent* cancel, short& revents);
