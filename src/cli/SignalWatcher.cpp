#include "cli/SignalWatcher.h"

#include <pthread.h>

namespace {

// Asks the watcher's thread to end; sent by anyone else, it is ignored.
constexpr int kStopSignal = SIGUSR1;

sigset_t WatchedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, kStopSignal);
    return signals;
}

}  // namespace

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    sigset_t signals = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &previousMask_);
    thread_ = std::thread([this] { Watch(); });
}

SignalWatcher::~SignalWatcher() {
    stopping_.store(true);
    pthread_kill(thread_.native_handle(), kStopSignal);
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

void SignalWatcher::Watch() {
    sigset_t signals = WatchedSignals();
    for (;;) {
        int number = 0;
        if (sigwait(&signals, &number) != 0) continue;
        if (number != kStopSignal) {
            onSignal_(number);
        } else if (stopping_.load()) {
            return;
        }
    }
}
