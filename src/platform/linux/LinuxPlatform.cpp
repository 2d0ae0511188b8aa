#include "platform/linux/LinuxPlatform.h"

#include "support/StringTable.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <spawn.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

extern char** environ;

namespace {
thread_local uint32_t lastError = 0;
}

Platform& Platform::System() {
    static LinuxPlatform platform;
    return platform;
}

void LinuxPlatform::WriteDebugString(const char* text) {
    // One write per line, so lines of different threads never interleave.
    size_t length = std::strlen(text);
    while (length > 0) {
        ssize_t written = ::write(STDERR_FILENO, text, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text += written;
        length -= static_cast<size_t>(written);
    }
}

uint32_t LinuxPlatform::GetLastError() { return lastError; }

void LinuxPlatform::SetLastError(uint32_t code) { lastError = code; }

LocalTime LinuxPlatform::GetLocalTime() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    LocalTime time;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    time.millisecond = static_cast<int>(now.tv_usec / 1000);
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    return time;
}

uint32_t LinuxPlatform::GetTickCount() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

bool LinuxPlatform::StartThread(std::function<void()> body) {
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

bool LinuxPlatform::StartSockets() { return true; }

bool LinuxPlatform::GetHostName(char* buffer, size_t size) {
    if (size == 0) return false;
    if (::gethostname(buffer, size) != 0) return false;
    buffer[size - 1] = '\0';
    return true;
}

uint32_t LinuxPlatform::InetAddr(const char* text) { return ::inet_addr(text); }

std::optional<uint32_t> LinuxPlatform::LookupHost(const char* name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    std::optional<uint32_t> address;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            address = reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(found);
    return address;
}

bool LinuxPlatform::GetOsVersion(OsVersion& version) {
    version.platformId = kPlatformOther;
    version.major = 0;
    version.minor = 0;
    return true;
}

bool LinuxPlatform::OpenUrl(const std::string& url) {
    // The desktop's opener, like the Windows shell's "open" verb. Without a
    // desktop environment it may run the browser in the foreground, so it is
    // awaited only briefly: an opener still running then has started the
    // browser, and is reaped in the background.
    constexpr auto kOpenerGrace = std::chrono::milliseconds(2000);
    constexpr auto kPollInterval = std::chrono::milliseconds(20);
    const char* argv[] = {"xdg-open", url.c_str(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + kOpenerGrace;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0 && errno != EINTR) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    // Should no thread be had for it, the opener is reaped when we exit.
    StartThread([child] { ::waitpid(child, nullptr, 0); });
    return true;
}

std::optional<FileVersion> LinuxPlatform::GetFileVersion() {
    // The build stamps the program with its project version.
    return FileVersion{ADDRIX_FILE_VERSION};
}

std::string LinuxPlatform::LoadStringResource(unsigned id) { return FindBuiltInString(id); }
