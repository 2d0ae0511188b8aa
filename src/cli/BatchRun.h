// Runs one assignment job per device of a checked list, at most a given
// number at once, each exactly as `set` runs it (same job, same time-out),
// and tells a progress display what each device is doing. A stop signal
// cancels every job and starts no more; every job's worker has finished, and
// so removed its neighbour entry, before `Run` returns.
#pragma once

#include "cli/DeviceList.h"
#include "cli/Outcome.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

using BatchClock = std::chrono::steady_clock;

// What one device of the batch is doing.
struct DeviceState {
    enum class Stage { Queued, Checking, WaitingForDevice, Done };

    DeviceListRow row;
    Stage stage = Stage::Queued;
    std::optional<Outcome> outcome;  // once Done
    BatchClock::time_point started{};
    BatchClock::time_point ended{};

    // Seconds from the start to the end, or to `now` while running.
    double Seconds(BatchClock::time_point now) const;
};

// Shows the batch as it goes: called on the running thread after every
// change, and at least every `kTick` while jobs run.
class BatchProgress {
public:
    static constexpr std::chrono::milliseconds kTick{250};

    virtual ~BatchProgress() = default;
    // `changed` lists the devices whose stage changed since the last call.
    virtual void Update(const std::vector<DeviceState>& devices, const std::vector<size_t>& changed,
                        BatchClock::time_point now) = 0;
};

struct BatchSettings {
    unsigned parallel = 32;
    std::chrono::seconds timeout{1200};
    uint32_t intervalMs = 1000;  // between echo requests to a device
};

class BatchRun {
public:
    BatchRun(std::vector<DeviceListRow> rows, BatchSettings settings);
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // Runs the batch to its end; the devices' final states, in list order.
    // False in `allStopped` when a job's worker did not finish in time.
    std::vector<DeviceState> Run(BatchProgress& progress, bool& allStopped);

    // Cancels the batch; called from any thread, for instance a signal watcher's.
    void Interrupt(int signal);
    // The signal that cancelled the batch; 0 if none did.
    int InterruptingSignal();

private:
    BatchSettings settings_;
    std::vector<DeviceState> devices_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reported_ = false;  // a job reported since the loop last looked
    int signal_ = 0;
};
