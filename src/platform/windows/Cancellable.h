// Blocking system calls made cancellable: the call runs on a thread of its
// own while the caller waits for it or for a cancel event. A call left
// behind finishes by itself, within its own time-out, on what it owns.
#pragma once

#include "platform/Platform.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <memory>
#include <optional>

class WindowsCancelEvent : public CancelEvent {
public:
    // Null when the system gives no event.
    static std::unique_ptr<WindowsCancelEvent> Create();
    ~WindowsCancelEvent() override;

    void Fire() override;
    bool IsFired() const override;
    bool WaitFor(uint32_t timeoutMs) override;

    // A manual-reset event, signalled once fired.
    HANDLE Handle() const { return event_; }

private:
    explicit WindowsCancelEvent(HANDLE event) : event_(event) {}

    HANDLE event_;
};

// The result of `call`, or nothing when `cancel` (may be null) fired first.
// Without a thread to run it on, the call runs on the caller's thread.
template <typename Result>
std::optional<Result> RunCancellable(std::function<Result()> call, CancelEvent* cancel);

extern template std::optional<bool> RunCancellable(std::function<bool()>, CancelEvent*);
extern template std::optional<ArpProbeResult> RunCancellable(std::function<ArpProbeResult()>, CancelEvent*);
