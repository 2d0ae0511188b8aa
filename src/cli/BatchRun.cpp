#include "cli/BatchRun.h"

#include "cli/Assignment.h"

#include <algorithm>
#include <memory>

namespace {

Outcome OutcomeOf(Assignment::Ending ending) {
    switch (ending) {
        case Assignment::Ending::Success: return Outcome::Assigned;
        case Assignment::Ending::InUse: return Outcome::InUse;
        case Assignment::Ending::AddressHeld: return Outcome::AddressHeld;
        case Assignment::Ending::Failed: return Outcome::Failed;
        case Assignment::Ending::TimedOut: return Outcome::TimedOut;
        case Assignment::Ending::Interrupted: return Outcome::Cancelled;
    }
    return Outcome::Failed;
}

}  // namespace

double DeviceState::Seconds(BatchClock::time_point now) const {
    if (stage == Stage::Queued) return 0;
    return std::chrono::duration<double>((stage == Stage::Done ? ended : now) - started).count();
}

BatchRun::BatchRun(std::vector<DeviceListRow> rows, BatchSettings settings) : settings_(settings) {
    for (DeviceListRow& row : rows) {
        DeviceState device;
        device.row = std::move(row);
        devices_.push_back(std::move(device));
    }
}

void BatchRun::Interrupt(int signal) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (signal_ == 0) signal_ = signal;
    }
    changed_.notify_all();
}

int BatchRun::InterruptingSignal() {
    std::lock_guard<std::mutex> lock(mutex_);
    return signal_;
}

std::vector<DeviceState> BatchRun::Run(BatchProgress& progress, bool& allStopped) {
    allStopped = true;
    // A job's outcome wakes the loop at once rather than at its next tick.
    auto wake = [this] {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            reported_ = true;
        }
        changed_.notify_all();
    };
    std::vector<std::unique_ptr<Assignment>> jobs(devices_.size());
    std::vector<size_t> running;
    size_t next = 0;

    for (;;) {
        const int signal = InterruptingSignal();
        std::vector<size_t> changed;
        for (; signal == 0 && running.size() < settings_.parallel && next < devices_.size(); ++next) {
            DeviceState& device = devices_[next];
            device.stage = DeviceState::Stage::Checking;
            device.started = BatchClock::now();
            jobs[next] = std::make_unique<Assignment>(wake);
            jobs[next]->Start(device.row.serialNumber, device.row.address, settings_.intervalMs);
            running.push_back(next);
            changed.push_back(next);
        }

        // Which jobs end now, and why: their report, the stop signal, or their time.
        const BatchClock::time_point now = BatchClock::now();
        std::vector<std::pair<size_t, Outcome>> ending;
        for (size_t index : running) {
            DeviceState& device = devices_[index];
            Assignment& job = *jobs[index];
            if (auto reported = job.Reported()) {
                ending.emplace_back(index, OutcomeOf(*reported));
            } else if (signal != 0) {
                ending.emplace_back(index, Outcome::Cancelled);
            } else if (now >= device.started + settings_.timeout) {
                ending.emplace_back(index, Outcome::TimedOut);
            } else if (device.stage == DeviceState::Stage::Checking && job.WaitingForDevice()) {
                device.stage = DeviceState::Stage::WaitingForDevice;
                changed.push_back(index);
            }
        }
        // All are asked to stop first, so that their workers wind down together.
        for (const auto& end : ending) jobs[end.first]->Stop();
        for (auto& [index, outcome] : ending) {
            DeviceState& device = devices_[index];
            Assignment& job = *jobs[index];
            const bool stopped = job.Finish();
            // An outcome that came in while the job was being stopped still counts.
            if (auto reported = job.Reported()) outcome = OutcomeOf(*reported);
            if (!stopped) {
                allStopped = false;
                outcome = Outcome::Failed;
            }
            device.stage = DeviceState::Stage::Done;
            device.outcome = outcome;
            device.ended = BatchClock::now();
            jobs[index].reset();
            running.erase(std::find(running.begin(), running.end(), index));
            changed.push_back(index);
        }
        if (signal != 0) {
            for (; next < devices_.size(); ++next) {
                devices_[next].stage = DeviceState::Stage::Done;
                devices_[next].outcome = Outcome::NotStarted;
                changed.push_back(next);
            }
        }

        progress.Update(devices_, changed, BatchClock::now());
        if (running.empty() && next == devices_.size()) break;

        BatchClock::time_point wakeAt = BatchClock::now() + BatchProgress::kTick;
        for (size_t index : running) wakeAt = std::min(wakeAt, devices_[index].started + settings_.timeout);
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_until(lock, wakeAt, [this] { return reported_ || signal_ != 0; });
        reported_ = false;
    }
    return devices_;
}
