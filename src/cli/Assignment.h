// One assignment job run from the command line: the command is the job's
// listener and waits for its outcome, a signal or the end of its time,
// without polling; afterwards it makes sure the worker has finished, so that
// the neighbour entry is gone before the process ends.
#pragma once

#include "assign/SetIP.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

class Assignment final : public SetIPListener {
public:
    enum class Ending { Success, InUse, AddressHeld, Failed, TimedOut, Interrupted };

    // How long the worker may take to finish after the outcome: an echo in
    // flight (1 s) and the removal of the neighbour entry, with room to spare.
    static constexpr uint32_t kStopWaitMs = 10000;

    Assignment() = default;
    Assignment(const Assignment&) = delete;
    Assignment& operator=(const Assignment&) = delete;

    // Creates the job, registers this listener and starts the job.
    void Start(const std::string& serialNumber, const std::string& address);
    // Waits until the job reports, `Interrupt` is called or `deadline` passes.
    Ending Wait(std::chrono::steady_clock::time_point deadline);
    // Cancels the job unless it reported, waits for its worker to finish and
    // gives the job up. False when the worker did not finish in time.
    bool Finish();

    // The signal that interrupted the wait; 0 if none did.
    int InterruptingSignal();
    // Called from any thread, for instance a signal watcher's.
    void Interrupt(int signal);

    bool OnEvent(SetIPEvent event, uintptr_t context) override;

private:
    SetIP* job_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<SetIPEvent> event_;
    int signal_ = 0;
};
