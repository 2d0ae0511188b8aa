// A Platform for tests: records what the program asks of the operating
// system and answers from what the test programmed. Thread-safe.
#pragma once

#include "platform/Platform.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>

class FakePlatform : public Platform {
public:
    struct EchoCall {
        uint32_t address;
        size_t payloadSize;
        uint32_t timeoutMs;
    };

    // --- Programmed answers (set before use; hooks run on the calling thread)
    std::function<bool(const EchoCall&)> onEcho;                // default: no answer
    // Neighbour entries: whether setting / removing works (default: yes).
    std::function<bool(IPv4Address, const MacAddress&)> onSetNeighbour;
    std::function<bool(IPv4Address)> onRemoveNeighbour;
    // The ARP probe's answer; default: sent, nobody answered.
    std::function<ArpProbeResult(IPv4Address, CancelEvent*)> onProbeArp;
    std::function<bool(const std::string&)> onOpenUrl;          // default: opened
    std::function<bool(std::function<void()>&)> onStartThread; // default: real thread
    // Run-time libraries; a hook that fails sets the last error itself.
    std::function<void*(const char*)> onLoadModule;              // default: fails, 126
    std::function<void*(void*, const char*)> onFindEntryPoint;   // default: fails, 127
    std::function<bool(void*)> onFreeModule;                     // default: fails, 6
    std::optional<std::string> hostName = std::string("fakehost");
    std::map<std::string, uint32_t> hosts;  // name -> address, network order
    AdapterList adapters{AdapterList::Status::NoAdapter, {}};
    std::optional<OsVersion> osVersion = OsVersion{kPlatformOther, 0, 0};
    std::map<uint32_t, std::string> errorMessages;
    std::optional<FileVersion> fileVersion = FileVersion{1, 0, 5, 0};
    std::map<unsigned, std::string> strings = CopyBuiltInStrings();  // id -> text; the program's own at first
    NetworkRights rights;
    bool socketsAvailable = true;
    bool cancelEventsAvailable = true;
    // Addresses that another process holds (network order): LockAddress
    // refuses them as it refuses those this process holds.
    std::set<uint32_t> addressesHeldElsewhere;
    std::atomic<uint32_t> tickCount{0};  // read by workers, set by tests
    LocalTime localTime{9, 15, 2, 31, 6, 12};

    // --- Recorded calls
    std::vector<std::string> DebugLines() const;  // without their line feeds
    std::vector<EchoCall> EchoCalls() const;
    // Each neighbour change in the arp command's words: "-s ADDRESS MAC"
    // for SetNeighbour, "-d ADDRESS" for RemoveNeighbour.
    std::vector<std::string> ArpCalls() const;
    std::vector<IPv4Address> ArpProbes() const;
    // Every wait for the rest of a window, through Sleep or a cancel event,
    // in milliseconds; none of them takes any time.
    std::vector<uint32_t> Waits() const;
    // The entries that carry our tag: set by SetNeighbour, removed by
    // RemoveNeighbour; a test may leave some behind as a dead run would.
    std::vector<OwnNeighbourEntry> OwnNeighbours() const;
    void SetOwnNeighbours(std::vector<OwnNeighbourEntry> entries);
    // Addresses this process holds locks on now (network order).
    std::set<uint32_t> LockedAddresses() const;
    std::vector<std::string> OpenedUrls() const;
    int OsVersionQueries() const;
    int AdapterQueries() const;
    void ClearRecords();

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
    bool SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) override;
    // Its WaitFor returns at once, fired or not, after recording the wait.
    std::unique_ptr<CancelEvent> CreateCancelEvent() override;
    void Sleep(uint32_t milliseconds) override;
    std::unique_ptr<AddressLock> LockAddress(IPv4Address address) override;
    bool SetNeighbour(IPv4Address address, const MacAddress& mac) override;
    bool RemoveNeighbour(IPv4Address address) override;
    std::vector<OwnNeighbourEntry> ListOwnNeighbours() override;
    ArpProbeResult ProbeArp(IPv4Address address, CancelEvent* cancel) override;
    AdapterList GetAdapters() override;
    bool GetOsVersion(OsVersion& version) override;
    NetworkRights GetNetworkRights() override;

    bool OpenUrl(const std::string& url) override;
    std::optional<FileVersion> GetFileVersion() override;
    std::string LoadStringResource(unsigned id) override;

    // Called by the fake's cancel events and locks.
    void RecordWait(uint32_t milliseconds);
    void Unlock(uint32_t address);

private:
    static std::map<unsigned, std::string> CopyBuiltInStrings();

    mutable std::mutex mutex_;
    std::string pendingDebug_;
    std::vector<std::string> debugLines_;
    std::vector<EchoCall> echoCalls_;
    std::vector<std::string> arpCalls_;
    std::vector<IPv4Address> arpProbes_;
    std::vector<uint32_t> waits_;
    std::vector<OwnNeighbourEntry> ownNeighbours_;
    std::set<uint32_t> locked_;
    std::vector<std::string> openedUrls_;
    int osVersionQueries_ = 0;
    int adapterQueries_ = 0;
};

// Installs a fake for the lifetime of a scope.
class ScopedFakePlatform {
public:
    ScopedFakePlatform() { Platform::Install(&fake); }
    ~ScopedFakePlatform() { Platform::Install(nullptr); }
    FakePlatform* operator->() { return &fake; }
    FakePlatform& operator*() { return fake; }
    FakePlatform fake;
};
