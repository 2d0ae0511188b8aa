// An event that stays signalled once set until it is reset; every waiter
// passes a signalled event.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class ManualResetEvent {
public:
    ManualResetEvent() = default;
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    // Once Set has returned to one thread, a waiter released by it may
    // destroy the event at once.
    void Set();
    void Reset();
    void Wait();
    // True if the event was signalled within `timeoutMs`.
    bool WaitFor(uint32_t timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable signalledChanged_;
    bool signalled_ = false;
};
