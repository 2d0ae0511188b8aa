#include "assign/ManualResetEvent.h"

#include <chrono>

void ManualResetEvent::Set() {
    // Notified under the lock: a released waiter cannot get past its wait,
    // and so cannot destroy the event, before this call lets go of it.
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
    signalledChanged_.notify_all();
}

void ManualResetEvent::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
}

void ManualResetEvent::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    signalledChanged_.wait(lock, [this] { return signalled_; });
}

bool ManualResetEvent::WaitFor(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return signalledChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; });
}
