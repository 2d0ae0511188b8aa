// Turns the system's requests to stop the program into calls on a thread
// other than the waiting one, so that a waiting thread can be woken through
// an ordinary condition variable. The requests are SIGINT, SIGTERM, SIGHUP
// (the terminal went away) and SIGQUIT; on Windows, Ctrl-C counts as SIGINT,
// and Ctrl-Break or closing the console as SIGTERM.
//
// Construct it before any other thread starts: on Linux the signals are
// blocked in the constructing thread, and threads started later inherit
// that. The destructor unblocks them in that thread again.
#pragma once

#include <functional>
#include <memory>

class SignalWatcher {
public:
    // `onSignal` runs with the signal's number (one of the above), once for
    // each request that arrives; never after the destructor has returned.
    explicit SignalWatcher(std::function<void(int)> onSignal);
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    // What the system's side keeps while the watcher lives.
    struct State;

private:
    std::unique_ptr<State> state_;
};

// Lets writing to an output whose reader has gone fail with an error instead
// of ending the process (SIGPIPE on Linux), so that a program can finish its
// work and clean up after its output was closed.
void IgnoreClosedOutput();
