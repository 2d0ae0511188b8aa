// The Platform of a Windows host: ICMP echo through the ICMP helper calls,
// neighbour entries through the system's arp command launched by the shell,
// the adapter list from the IP helper library loaded at run time, and
// Windows Sockets 1.1 for host names.
#pragma once

#include "platform/Platform.h"

class WindowsPlatform : public Platform {
public:
    // `arpProgram` is the command that LaunchArp starts; the system's own
    // "arp" unless a test asks for another.
    explicit WindowsPlatform(std::string arpProgram = "arp");

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
    // Echo and ARP probe block in the system's calls: they run on a thread
    // of their own, which a cancel leaves behind to finish by itself.
    bool SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) override;
    std::unique_ptr<CancelEvent> CreateCancelEvent() override;
    void Sleep(uint32_t milliseconds) override;
    // A named mutex, AddressLockName, that this process created.
    std::unique_ptr<AddressLock> LockAddress(IPv4Address address) override;
    // "arp -s ADDRESS MAC" and "arp -d ADDRESS", through LaunchArp.
    bool SetNeighbour(IPv4Address address, const MacAddress& mac) override;
    bool RemoveNeighbour(IPv4Address address) override;
    std::vector<OwnNeighbourEntry> ListOwnNeighbours() override;
    // SendARP of the IP helper library.
    ArpProbeResult ProbeArp(IPv4Address address, CancelEvent* cancel) override;
    AdapterList GetAdapters() override;
    bool GetOsVersion(OsVersion& version) override;
    NetworkRights GetNetworkRights() override;

    bool OpenUrl(const std::string& url) override;
    std::optional<FileVersion> GetFileVersion() override;
    // From the program's string-table resources, in the thread's ANSI code page.
    std::string LoadStringResource(unsigned id) override;

    // Launches the arp command with `parameters` without waiting for it;
    // false when it could not be launched.
    bool LaunchArp(const std::string& parameters);
    // Global\addrix-address-10.213.7.50
    static std::string AddressLockName(IPv4Address address);

private:
    std::string arpProgram_;
};
