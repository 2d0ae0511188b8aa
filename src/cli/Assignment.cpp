#include "cli/Assignment.h"

namespace {

Assignment::Ending EndingOf(SetIPEvent event) {
    switch (event) {
        case SetIPEvent::Success:
            return Assignment::Ending::Success;
        case SetIPEvent::InUse:
            return Assignment::Ending::InUse;
        case SetIPEvent::AddressHeld:
            return Assignment::Ending::AddressHeld;
        case SetIPEvent::Failed:
            break;
    }
    return Assignment::Ending::Failed;
}

}  // namespace

void Assignment::Start(const std::string& serialNumber, const std::string& address) {
    job_ = new SetIP;
    job_->AddListener(this, 0);
    job_->Set(serialNumber, address);
}

Assignment::Ending Assignment::Wait(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_until(lock, deadline, [this] { return event_.has_value() || signal_ != 0; });
    if (event_) return EndingOf(*event_);
    if (signal_ != 0) return Ending::Interrupted;
    return Ending::TimedOut;
}

bool Assignment::Finish() {
    if (!job_) return true;
    bool reported = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reported = event_.has_value();
    }
    if (!reported) job_->Cancel();
    bool stopped = job_->WaitForStoped(kStopWaitMs);
    job_->RemoveListener(this);
    job_->Destroy();
    job_ = nullptr;
    return stopped;
}

int Assignment::InterruptingSignal() {
    std::lock_guard<std::mutex> lock(mutex_);
    return signal_;
}

void Assignment::Interrupt(int signal) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (signal_ == 0) signal_ = signal;
    }
    changed_.notify_all();
}

bool Assignment::OnEvent(SetIPEvent event, uintptr_t) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!event_) event_ = event;
    }
    changed_.notify_all();
    return false;
}
