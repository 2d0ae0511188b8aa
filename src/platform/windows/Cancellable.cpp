#include "platform/windows/Cancellable.h"

std::unique_ptr<WindowsCancelEvent> WindowsCancelEvent::Create() {
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) return nullptr;
    return std::unique_ptr<WindowsCancelEvent>(new WindowsCancelEvent(event));
}

WindowsCancelEvent::~WindowsCancelEvent() { ::CloseHandle(event_); }

void WindowsCancelEvent::Fire() { ::SetEvent(event_); }

bool WindowsCancelEvent::IsFired() const { return ::WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

bool WindowsCancelEvent::WaitFor(uint32_t timeoutMs) { return ::WaitForSingleObject(event_, timeoutMs) == WAIT_OBJECT_0; }

namespace {

// What the caller and the call's thread share; the last of them frees it.
template <typename Result>
struct PendingCall {
    explicit PendingCall(std::function<Result()> call)
        : call(std::move(call)), done(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~PendingCall() {
        if (done != nullptr) ::CloseHandle(done);
    }
    std::function<Result()> call;
    HANDLE done;
    Result result{};
};

}  // namespace

template <typename Result>
std::optional<Result> RunCancellable(std::function<Result()> call, CancelEvent* cancel) {
    const auto* own = dynamic_cast<WindowsCancelEvent*>(cancel);
    if (cancel && cancel->IsFired()) return std::nullopt;
    auto pending = std::make_shared<PendingCall<Result>>(std::move(call));
    if (own == nullptr || pending->done == nullptr ||
        !Platform::System().StartThread([pending] {
            pending->result = pending->call();
            ::SetEvent(pending->done);
        }))
        return pending->call();

    const HANDLE events[] = {pending->done, own->Handle()};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) return std::nullopt;
    return pending->result;
}

template std::optional<bool> RunCancellable(std::function<bool()>, CancelEvent*);
template std::optional<ArpProbeResult> RunCancellable(std::function<ArpProbeResult()>, CancelEvent*);
