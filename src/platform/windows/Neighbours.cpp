// Neighbour entries through the system's arp command, launched by the shell
// and not awaited; address locks as named mutexes; the ARP probe through
// SendARP of the IP helper library, loaded at run time.
#include "platform/windows/WindowsPlatform.h"

#include "net/Dll.h"
#include "platform/windows/Cancellable.h"
#include "platform/windows/WindowsApi.h"
#include "support/Format.h"

namespace {

using SendArpFunction = DWORD(WINAPI*)(IPAddr, IPAddr, PVOID, PULONG);

// SendARP's answers when nobody answered.
constexpr DWORD kNoAnswer = 67;          // ERROR_BAD_NET_NAME
constexpr DWORD kNoAnswerGeneral = 31;  // ERROR_GEN_FAILURE

class MutexAddressLock : public AddressLock {
public:
    explicit MutexAddressLock(HANDLE mutex) : mutex_(mutex) {}
    ~MutexAddressLock() override { ::CloseHandle(mutex_); }

private:
    HANDLE mutex_;
};

// One SendARP, which sends its requests and waits for an answer itself.
ArpProbeResult AskForAddress(IPv4Address address) {
    ArpProbeResult result;
    Dll library;
    library.Load("iphlpapi.dll");
    auto sendArp = reinterpret_cast<SendArpFunction>(library.GetFunctionPtr("SendARP"));
    if (sendArp == nullptr) {
        result.status = ArpProbeResult::Status::NotSent;
        return result;
    }
    MacAddress::Bytes bytes{};
    ULONG length = bytes.size();
    // Source 0: the system picks the interface of the route.
    const DWORD status = sendArp(address.GetNetworkOrder(), 0, bytes.data(), &length);
    if (status == NO_ERROR && length == bytes.size()) {
        result.answers.push_back(MacAddress(bytes));
    } else if (status != kNoAnswer && status != kNoAnswerGeneral) {
        result.status = ArpProbeResult::Status::NotSent;
    }
    return result;
}

}  // namespace

bool WindowsPlatform::LaunchArp(const std::string& parameters) {
    HINSTANCE result = ::ShellExecuteA(::GetDesktopWindow(), "open", arpProgram_.c_str(), parameters.c_str(),
                                       nullptr, SW_HIDE);
    // Values of 32 and below are the launch's error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool WindowsPlatform::SetNeighbour(IPv4Address address, const MacAddress& mac) {
    return LaunchArp(FormatText("-s %s %s", address.ToText().c_str(), mac.ToText().c_str()));
}

bool WindowsPlatform::RemoveNeighbour(IPv4Address address) {
    return LaunchArp(FormatText("-d %s", address.ToText().c_str()));
}

// The arp command keeps no tags.
std::vector<OwnNeighbourEntry> WindowsPlatform::ListOwnNeighbours() { return {}; }

std::string WindowsPlatform::AddressLockName(IPv4Address address) {
    return "Global\\addrix-address-" + address.ToText();
}

std::unique_ptr<AddressLock> WindowsPlatform::LockAddress(IPv4Address address) {
    // The mutex exists while any process holds a handle to it, so whoever
    // creates it owns the address; it is never acquired.
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, AddressLockName(address).c_str());
    if (mutex == nullptr) return nullptr;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return nullptr;
    }
    return std::make_unique<MutexAddressLock>(mutex);
}

ArpProbeResult WindowsPlatform::ProbeArp(IPv4Address address, CancelEvent* cancel) {
    std::optional<ArpProbeResult> result =
        RunCancellable<ArpProbeResult>([address] { return AskForAddress(address); }, cancel);
    if (result) return *result;
    ArpProbeResult cancelled;
    cancelled.status = ArpProbeResult::Status::Cancelled;
    return cancelled;
}

std::unique_ptr<CancelEvent> WindowsPlatform::CreateCancelEvent() { return WindowsCancelEvent::Create(); }

void WindowsPlatform::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }
