// Turns SIGINT and SIGTERM into a call on a thread of its own, so that a
// waiting thread can be woken through an ordinary condition variable.
// Construct it before any other thread starts: the signals are blocked in
// the constructing thread, and threads started later inherit that. The
// destructor unblocks them in that thread again.
#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

class SignalWatcher {
public:
    // `onSignal` runs on the watcher's thread with the signal's number,
    // once for each SIGINT or SIGTERM that arrives.
    explicit SignalWatcher(std::function<void(int)> onSignal);
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

private:
    void Watch();

    std::function<void(int)> onSignal_;
    sigset_t previousMask_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
