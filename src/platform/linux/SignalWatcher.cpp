// The stop requests, blocked and taken with sigwait on a thread of the
// watcher's own.
#include "platform/SignalWatcher.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

namespace {

// Asks the watcher's thread to end; sent by anyone else, it is ignored.
constexpr int kStopSignal = SIGUSR1;

sigset_t WatchedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    sigaddset(&signals, SIGQUIT);
    sigaddset(&signals, kStopSignal);
    return signals;
}

}  // namespace

struct SignalWatcher::State {
    explicit State(std::function<void(int)> onSignal) : onSignal(std::move(onSignal)) {}

    void Watch() {
        sigset_t signals = WatchedSignals();
        for (;;) {
            int number = 0;
            if (sigwait(&signals, &number) != 0) continue;
            if (number != kStopSignal) {
                onSignal(number);
            } else if (stopping.load()) {
                return;
            }
        }
    }

    std::function<void(int)> onSignal;
    sigset_t previousMask;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal)
    : state_(std::make_unique<State>(std::move(onSignal))) {
    sigset_t signals = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &state_->previousMask);
    state_->thread = std::thread([state = state_.get()] { state->Watch(); });
}

SignalWatcher::~SignalWatcher() {
    state_->stopping.store(true);
    pthread_kill(state_->thread.native_handle(), kStopSignal);
    state_->thread.join();
    pthread_sigmask(SIG_SETMASK, &state_->previousMask, nullptr);
}

void IgnoreClosedOutput() { ::signal(SIGPIPE, SIG_IGN); }
