// The Platform of a Linux host: ICMP echo and ARP probes through sockets,
// neighbour entries through rtnetlink, address locks as abstract Unix
// sockets, adapters and host lookup through the C library.
#pragma once

#include "platform/Platform.h"

class LinuxPlatform : public Platform {
public:
    // The last-error codes of the run-time library calls, kept apart from the
    // C library's errno values. Each has as its message the dynamic loader's
    // text for the calling thread's latest failure of that kind, if any.
    static constexpr uint32_t kModuleNotLoaded = 0x2000007E;     // the library could not be loaded
    static constexpr uint32_t kEntryPointNotFound = 0x2000007F;  // the library has no such entry point
    static constexpr uint32_t kInvalidModule = 0x20000006;       // no library held, or it could not be released

    void WriteDebugString(const char* text) override;
    uint32_t GetLastError() override;
    void SetLastError(uint32_t code) override;
    std::optional<std::string> GetErrorMessage(uint32_t code) override;
    LocalTime GetLocalTime() override;
    uint32_t GetTickCount() override;

    bool StartThread(std::function<void()> body) override;

    void* LoadModule(const char* fileName) override;
    void* FindEntryPoint(void* module, const char* name) override;
    bool FreeModule(void* module) override;

    bool StartSockets() override;
    bool GetHostName(char* buffer, size_t size) override;
    uint32_t InetAddr(const char* text) override;
    std::optional<uint32_t> LookupHost(const char* name) override;
    // Echo, probe and waits poll their socket alongside the cancel event's
    // eventfd.
    bool SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) override;
    std::unique_ptr<CancelEvent> CreateCancelEvent() override;
    void Sleep(uint32_t milliseconds) override;
    // An abstract Unix socket bound to AddressLockName.
    std::unique_ptr<AddressLock> LockAddress(IPv4Address address) override;
    bool SetNeighbour(IPv4Address address, const MacAddress& mac) override;
    bool RemoveNeighbour(IPv4Address address) override;
    std::vector<OwnNeighbourEntry> ListOwnNeighbours() override;
    // Over a packet socket.
    ArpProbeResult ProbeArp(IPv4Address address, CancelEvent* cancel) override;
    AdapterList GetAdapters() override;
    bool GetOsVersion(OsVersion& version) override;
    NetworkRights GetNetworkRights() override;

    bool OpenUrl(const std::string& url) override;
    std::optional<FileVersion> GetFileVersion() override;
    // Served from the table compiled into the program.
    std::string LoadStringResource(unsigned id) override;

    // The abstract socket name ("addrix/address/10.213.7.50", after the
    // leading NUL byte) whose binding holds an address.
    static std::string AddressLockName(IPv4Address address);
};
