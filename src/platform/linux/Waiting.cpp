#include "platform/linux/Waiting.h"

#include "platform/linux/LinuxPlatform.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <thread>

namespace {

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<int64_t>(remaining.count(), 0, INT_MAX));
}

int CancelDescriptor(CancelEvent* cancel) {
    const auto* own = dynamic_cast<LinuxCancelEvent*>(cancel);
    return own ? own->Descriptor() : -1;
}

}  // namespace

std::unique_ptr<LinuxCancelEvent> LinuxCancelEvent::Create() {
    const int descriptor = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (descriptor < 0) return nullptr;
    return std::unique_ptr<LinuxCancelEvent>(new LinuxCancelEvent(descriptor));
}

LinuxCancelEvent::~LinuxCancelEvent() { ::close(descriptor_); }

void LinuxCancelEvent::Fire() {
    fired_.store(true);
    // The counter only grows, and is never read: it stays readable.
    const uint64_t one = 1;
    while (::write(descriptor_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool LinuxCancelEvent::IsFired() const { return fired_.load(); }

bool LinuxCancelEvent::WaitFor(uint32_t timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (IsFired()) return true;
        pollfd ready{descriptor_, POLLIN, 0};
        const int count = ::poll(&ready, 1, RemainingMs(deadline));
        if (count > 0) return true;
        if (count == 0 || errno != EINTR) return IsFired();
    }
}

WaitOutcome WaitForDescriptor(int descriptor, short events, std::chrono::steady_clock::time_point deadline,
                              CancelEvent* cancel, short& revents) {
    revents = 0;
    const int cancelDescriptor = CancelDescriptor(cancel);
    for (;;) {
        if (cancel && cancel->IsFired()) return WaitOutcome::Cancelled;
        const int remainingMs = RemainingMs(deadline);
        if (remainingMs == 0) return WaitOutcome::TimedOut;
        pollfd ready[2] = {{descriptor, events, 0}, {cancelDescriptor, POLLIN, 0}};
        const int count = ::poll(ready, cancelDescriptor >= 0 ? 2 : 1, remainingMs);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return WaitOutcome::Failed;
        if (count == 0) continue;
        if (cancelDescriptor >= 0 && ready[1].revents != 0) return WaitOutcome::Cancelled;
        revents = ready[0].revents;
        if (revents & POLLNVAL) return WaitOutcome::Failed;
        return WaitOutcome::Ready;
    }
}

std::unique_ptr<CancelEvent> LinuxPlatform::CreateCancelEvent() { return LinuxCancelEvent::Create(); }

void LinuxPlatform::Sleep(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
