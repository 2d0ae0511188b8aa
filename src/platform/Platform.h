// The operating-system seam. Every call the program makes into the operating
// system goes through the one Platform that is current: the build picks the
// implementation for its OS, and tests install a fake.
#pragma once

#include "net/IPv4Address.h"
#include "net/MacAddress.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Local wall-clock time, as the log file stamps its entries.
struct LocalTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int month = 0;
    int day = 0;
};

// One IPv4 entry of a network adapter: address and mask as dotted-quad texts.
struct AdapterAddress {
    std::string address;
    std::string mask;
};

// One network adapter with its IPv4 entries, in the system's order.
struct Adapter {
    std::vector<AdapterAddress> addresses;
};

// The host's adapter list, or why it could not be read.
struct AdapterList {
    enum class Status {
        Ok,
        NotSupported,  // the system offers no adapter list
        ListChanged,   // the list grew while it was being read
        NoAdapter,     // the host has no adapter with an IPv4 entry
    };
    Status status = Status::Ok;
    std::vector<Adapter> adapters;
    // Whatever produced the list (a system library on Windows), kept loaded
    // for as long as the list is in use.
    std::shared_ptr<const void> source = nullptr;
};

// The running system's version, as the Windows version query reports it.
struct OsVersion {
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
};

// Platform ids of the version query.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kPlatformWin32NT = 2;
// A system that is not Windows at all.
constexpr uint32_t kPlatformOther = 0x4C4E5855;  // "LNXU"

// The four numbers of a file version record.
struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
};

// What the process may do on the network without further rights.
struct NetworkRights {
    bool canSendEcho = true;
    bool canChangeNeighbours = true;
};

// A job's request to stop, which wakes every wait the job makes through the
// platform: an echo in flight, an ARP probe, the rest of an answer window.
// Fired from any thread; once fired it stays fired.
class CancelEvent {
public:
    virtual ~CancelEvent() = default;
    virtual void Fire() = 0;
    virtual bool IsFired() const = 0;
    // Waits up to `timeoutMs`; true as soon as the event is fired.
    virtual bool WaitFor(uint32_t timeoutMs) = 0;
};

// Holds an address for one run of the program, across processes, until it is
// destroyed; the system releases it when the process dies.
class AddressLock {
public:
    virtual ~AddressLock() = default;
};

// One neighbour entry that carries this program's tag.
struct OwnNeighbourEntry {
    IPv4Address address;
    MacAddress mac;
    std::string interfaceName;
};

// What an ARP probe heard.
struct ArpProbeResult {
    enum class Status {
        Done,       // the probes went out; `answers` lists who claimed the address
        NotSent,    // no route to the address, no rights, or no ARP on the system
        Cancelled,  // the cancel event fired before the probe had finished
    };
    Status status = Status::Done;
    // Each MAC that claimed the address, once, in the order they were heard.
    std::vector<MacAddress> answers;
};

// The protocol tag that marks the neighbour entries this program adds, where
// the system keeps one (Linux: `ip neigh show proto 173`).
constexpr uint8_t kNeighbourTag = 173;

class Platform {
public:
    virtual ~Platform() = default;

    // The platform in use: the installed one, or the operating system's own.
    static Platform& Current();
    // Makes `platform` current (not owned); null restores the system's own.
    // Only while no other thread uses the platform.
    static void Install(Platform* platform);
    // The operating system's implementation, defined by the per-OS layer.
    static Platform& System();

    // --- Diagnostics -------------------------------------------------------
    // Sends one line, already ending in a line feed, to the debugger output.
    virtual void WriteDebugString(const char* text) = 0;
    // The calling thread's last system error code.
    virtual uint32_t GetLastError() = 0;
    virtual void SetLastError(uint32_t code) = 0;
    // The system's message text for an error code, if it has one.
    virtual std::optional<std::string> GetErrorMessage(uint32_t code) = 0;
    virtual LocalTime GetLocalTime() = 0;
    // Milliseconds since some fixed point; wraps at 2^32.
    virtual uint32_t GetTickCount() = 0;

    // --- Threads -----------------------------------------------------------
    // Starts `body` on a new detached thread at normal priority with the
    // default stack size; false when the thread could not be created.
    virtual bool StartThread(std::function<void()> body) = 0;

    // --- Run-time libraries ------------------------------------------------
    // Null on failure, with the last error set.
    virtual void* LoadModule(const char* fileName) = 0;
    virtual void* FindEntryPoint(void* module, const char* name) = 0;
    // False on failure, with the last error set.
    virtual bool FreeModule(void* module) = 0;

    // --- Network -----------------------------------------------------------
    // Starts the socket layer; false when it is not available.
    virtual bool StartSockets() = 0;
    // Writes the host's name, NUL-terminated, into `buffer`; false on failure.
    virtual bool GetHostName(char* buffer, size_t size) = 0;
    // The standard conversion of a dotted address text (network byte order);
    // 0xFFFFFFFF when the text is not one.
    virtual uint32_t InetAddr(const char* text) = 0;
    // The first IPv4 address of a host name (network byte order), if any.
    virtual std::optional<uint32_t> LookupHost(const char* name) = 0;
    // Sends one ICMP echo request with `payloadSize` bytes to `address`
    // (network byte order) and waits up to `timeoutMs`, or until `cancel`
    // (may be null) fires; true only for a successful echo reply from that
    // address in time. It may return early (an ICMP error, a failed send):
    // callers that pace their requests wait out the rest themselves.
    virtual bool SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent* cancel) = 0;
    // A new, unfired cancel event; null when the system has none to give.
    virtual std::unique_ptr<CancelEvent> CreateCancelEvent() = 0;
    // Waits `milliseconds` without any way to be woken.
    virtual void Sleep(uint32_t milliseconds) = 0;

    // --- Neighbour (ARP) table and address ownership --------------------------
    // Takes `address` for this run; null when another run, in this process or
    // another, holds it (or the lock cannot be had at all). The lock's scope
    // is the neighbour table's: the network namespace on Linux, the host on
    // Windows.
    virtual std::unique_ptr<AddressLock> LockAddress(IPv4Address address) = 0;
    // Binds `address` to `mac` with a static entry, tagged as ours where the
    // system keeps tags, replacing a dynamic entry. False when the entry
    // cannot be set: on Linux the kernel's refusal, or an untagged permanent
    // entry that is not ours to replace; on Windows only a failed launch of
    // "arp -s", whose own outcome is not awaited.
    virtual bool SetNeighbour(IPv4Address address, const MacAddress& mac) = 0;
    // Removes the entry for `address` that this program set; an entry
    // without our tag is never touched. True also when there was none. On
    // Windows "arp -d", not awaited; false when it could not be launched.
    virtual bool RemoveNeighbour(IPv4Address address) = 0;
    // Every entry that carries our tag, on every interface; none on a system
    // without tags (Windows).
    virtual std::vector<OwnNeighbourEntry> ListOwnNeighbours() = 0;
    // Asks who has `address`, as RFC 5227 probes: three ARP requests with
    // sender address 0.0.0.0 on the interface of the route to the address,
    // then a short wait for late answers. Returns early when `cancel` fires.
    virtual ArpProbeResult ProbeArp(IPv4Address address, CancelEvent* cancel) = 0;

    virtual AdapterList GetAdapters() = 0;
    virtual bool GetOsVersion(OsVersion& version) = 0;
    virtual NetworkRights GetNetworkRights() = 0;

    // --- Shell and program -------------------------------------------------
    // Opens a URL in the default web browser; false when that failed.
    virtual bool OpenUrl(const std::string& url) = 0;
    // The file version of the running program, if it carries one.
    virtual std::optional<FileVersion> GetFileVersion() = 0;
    // The program's string resource `id`; empty when there is none.
    virtual std::string LoadStringResource(unsigned id) = 0;
};
