// Console control events through a console control handler, which the
// system runs on a thread of its own for each event.
#include "platform/SignalWatcher.h"

#include "platform/windows/WindowsApi.h"

#include <csignal>
#include <mutex>

struct SignalWatcher::State {
    std::function<void(int)> onSignal;
};

namespace {

// The one watcher the handler reports to; guarded so that a watcher never
// hears of an event after its destructor has returned.
std::mutex watcherMutex;
SignalWatcher::State* watcher = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    std::lock_guard<std::mutex> lock(watcherMutex);
    if (watcher == nullptr) return FALSE;
    watcher->onSignal(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    return TRUE;
}

}  // namespace

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal) : state_(std::make_unique<State>()) {
    state_->onSignal = std::move(onSignal);
    std::lock_guard<std::mutex> lock(watcherMutex);
    watcher = state_.get();
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

SignalWatcher::~SignalWatcher() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    std::lock_guard<std::mutex> lock(watcherMutex);
    watcher = nullptr;
}

// Writing to a closed pipe fails with an error here anyway.
void IgnoreClosedOutput() {}
