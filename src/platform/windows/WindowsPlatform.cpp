#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/WindowsApi.h"

#include <climits>
#include <cstring>
#include <memory>

namespace {

// Windows Sockets 1.1, the version the program is written for.
constexpr WORD kSocketsVersion = MAKEWORD(1, 1);

DWORD WINAPI RunThreadBody(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

}  // namespace

Platform& Platform::System() {
    static WindowsPlatform platform;
    return platform;
}

WindowsPlatform::WindowsPlatform(std::string arpProgram) : arpProgram_(std::move(arpProgram)) {}

void WindowsPlatform::WriteDebugString(const char* text) { ::OutputDebugStringA(text); }

uint32_t WindowsPlatform::GetLastError() { return ::GetLastError(); }

void WindowsPlatform::SetLastError(uint32_t code) { ::SetLastError(code); }

LocalTime WindowsPlatform::GetLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    LocalTime time;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.millisecond = now.wMilliseconds;
    time.month = now.wMonth;
    time.day = now.wDay;
    return time;
}

uint32_t WindowsPlatform::GetTickCount() { return ::GetTickCount(); }

bool WindowsPlatform::StartThread(std::function<void()> body) {
    auto parameter = std::make_unique<std::function<void()>>(std::move(body));
    HANDLE thread = ::CreateThread(nullptr, 0, RunThreadBody, parameter.get(), 0, nullptr);
    if (thread == nullptr) return false;
    parameter.release();  // the thread owns it now
    ::CloseHandle(thread);
    return true;
}

bool WindowsPlatform::StartSockets() {
    WSADATA data{};
    if (::WSAStartup(kSocketsVersion, &data) != 0) return false;
    if (data.wVersion != kSocketsVersion) {
        ::WSACleanup();
        return false;
    }
    return true;
}

bool WindowsPlatform::GetHostName(char* buffer, size_t size) {
    if (size == 0) return false;
    const int length = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    if (::gethostname(buffer, length) != 0) return false;
    buffer[size - 1] = '\0';
    return true;
}

uint32_t WindowsPlatform::InetAddr(const char* text) { return ::inet_addr(text); }

std::optional<uint32_t> WindowsPlatform::LookupHost(const char* name) {
    const hostent* host = ::gethostbyname(name);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr) {
        return std::nullopt;
    }
    uint32_t address = 0;
    std::memcpy(&address, host->h_addr_list[0], sizeof address);
    return address;
}

bool WindowsPlatform::GetOsVersion(OsVersion& version) {
    OSVERSIONINFOA info{};
    static_assert(sizeof info == 148, "the version query takes the 148-byte structure");
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return false;
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
}

NetworkRights WindowsPlatform::GetNetworkRights() {
    // ICMP echo needs no rights on Windows; whether the launched arp may
    // change the table is not known before it runs.
    return {};
}

bool WindowsPlatform::OpenUrl(const std::string& url) {
    HINSTANCE result =
        ::ShellExecuteA(::GetDesktopWindow(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values of 32 and below are the launch's error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
