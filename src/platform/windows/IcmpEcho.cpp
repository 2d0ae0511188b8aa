// ICMP echo through the ICMP helper calls, with a handle of its own per echo.
#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/Cancellable.h"
#include "platform/windows/WindowsApi.h"

#include <vector>

namespace {

// Room behind the echoed payload for one reply record and the 8 bytes of an
// ICMP error message: 36 bytes where the record takes 28 (32-bit Windows),
// more where its pointers are wider.
constexpr size_t kReplyOverhead = sizeof(ICMP_ECHO_REPLY) + 8;

// Closes the echo handle however the echo ends.
class EchoHandle {
public:
    EchoHandle() : handle_(::IcmpCreateFile()) {}
    ~EchoHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::IcmpCloseHandle(handle_);
    }
    EchoHandle(const EchoHandle&) = delete;
    EchoHandle& operator=(const EchoHandle&) = delete;

    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// One echo on the calling thread, with buffers of its own.
bool Echo(uint32_t address, size_t payloadSize, uint32_t timeoutMs) {
    if (payloadSize > 0xFFFF) return false;
    std::vector<char> payload(payloadSize, 0);
    std::vector<char> reply(payloadSize + kReplyOverhead, 0);

    EchoHandle handle;
    // A handle that failed to open makes the send fail.
    const DWORD replies =
        ::IcmpSendEcho(handle.Get(), address, payload.data(), static_cast<WORD>(payloadSize), nullptr, reply.data(),
                       static_cast<DWORD>(reply.size()), timeoutMs);
    if (replies == 0) return false;
    const auto* first = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
    return first->Status == IP_SUCCESS && first->Address == address;
}

}  // namespace

// The echo call blocks for its time-out, so it runs where a cancel can leave
// it behind.
bool WindowsPlatform::SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) {
    return RunCancellable<bool>([=] { return Echo(address, payloadSize, timeoutMs); }, cancel).value_or(false);
}
