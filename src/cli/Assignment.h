// One assignment job run from the command line: the command is the job's
// listener and waits for its outcome, a signal or the end of its time,
// without polling; afterwards it makes sure the worker has finished, so that
// the neighbour entry is gone before the process ends.
#pragma once

#include "assign/SetIP.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

class Assignment final : public SetIPListener {
public:
    enum class Ending { Success, InUse, AddressHeld, Failed, TimedOut, Interrupted };

    // How long the worker may take to finish after the outcome: an echo in
    // flight (1 s) and the removal of the neighbour entry, with room to spare.
    static constexpr uint32_t kStopWaitMs = 10000;

    // `onReport`, if given, runs on the job's worker once the job has
    // reported its outcome (see `Reported`); it must return promptly.
    explicit Assignment(std::function<void()> onReport = {}) : onReport_(std::move(onReport)) {}
    Assignment(const Assignment&) = delete;
    Assignment& operator=(const Assignment&) = delete;

    // Creates the job, registers this listener and starts the job, which
    // sends an echo request every `intervalMs` while it waits for the device.
    void Start(const std::string& serialNumber, const std::string& address,
               uint32_t intervalMs = SetIP::kEchoWindowMs);
    // Waits until the job reports, `Interrupt` is called or `deadline` passes.
    Ending Wait(std::chrono::steady_clock::time_point deadline);
    // The job's outcome, if it has reported one.
    std::optional<Ending> Reported();
    // Whether the job has found the address free and now waits for the device.
    bool WaitingForDevice() const;
    // Cancels the job unless it reported; returns at once.
    void Stop();
    // Stops the job, waits for its worker to finish and gives the job up.
    // False when the worker did not finish in time.
    bool Finish();

    // The signal that interrupted the wait; 0 if none did.
    int InterruptingSignal();
    // Called from any thread, for instance a signal watcher's.
    void Interrupt(int signal);

    bool OnEvent(SetIPEvent event, uintptr_t context) override;

private:
    std::function<void()> onReport_;
    SetIP* job_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<SetIPEvent> event_;
    int signal_ = 0;
};
