#include "platform/fake/FakePlatform.h"

#include "support/StringTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

thread_local uint32_t fakeLastError = 0;

class FakeCancelEvent : public CancelEvent {
public:
    explicit FakeCancelEvent(FakePlatform& platform) : platform_(platform) {}
    void Fire() override { fired_ = true; }
    bool IsFired() const override { return fired_; }
    bool WaitFor(uint32_t timeoutMs) override {
        platform_.RecordWait(timeoutMs);
        return fired_;
    }

private:
    FakePlatform& platform_;
    std::atomic<bool> fired_{false};
};

class FakeAddressLock : public AddressLock {
public:
    FakeAddressLock(FakePlatform& platform, uint32_t address) : platform_(platform), address_(address) {}
    ~FakeAddressLock() override { platform_.Unlock(address_); }

private:
    FakePlatform& platform_;
    uint32_t address_;
};

}  // namespace

std::vector<std::string> FakePlatform::DebugLines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return debugLines_;
}

std::vector<FakePlatform::EchoCall> FakePlatform::EchoCalls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return echoCalls_;
}

std::vector<std::string> FakePlatform::ArpCalls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return arpCalls_;
}

std::vector<IPv4Address> FakePlatform::ArpProbes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return arpProbes_;
}

std::vector<uint32_t> FakePlatform::Waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

std::vector<OwnNeighbourEntry> FakePlatform::OwnNeighbours() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ownNeighbours_;
}

void FakePlatform::SetOwnNeighbours(std::vector<OwnNeighbourEntry> entries) {
    std::lock_guard<std::mutex> lock(mutex_);
    ownNeighbours_ = std::move(entries);
}

std::set<uint32_t> FakePlatform::LockedAddresses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return locked_;
}

void FakePlatform::RecordWait(uint32_t milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    waits_.push_back(milliseconds);
}

void FakePlatform::Unlock(uint32_t address) {
    std::lock_guard<std::mutex> lock(mutex_);
    locked_.erase(address);
}

std::vector<std::string> FakePlatform::OpenedUrls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return openedUrls_;
}

int FakePlatform::OsVersionQueries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return osVersionQueries_;
}

int FakePlatform::AdapterQueries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return adapterQueries_;
}

void FakePlatform::ClearRecords() {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingDebug_.clear();
    debugLines_.clear();
    echoCalls_.clear();
    arpCalls_.clear();
    arpProbes_.clear();
    waits_.clear();
    openedUrls_.clear();
    osVersionQueries_ = 0;
    adapterQueries_ = 0;
}

void FakePlatform::WriteDebugString(const char* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingDebug_ += text;
    size_t end;
    while ((end = pendingDebug_.find('\n')) != std::string::npos) {
        debugLines_.push_back(pendingDebug_.substr(0, end));
        pendingDebug_.erase(0, end + 1);
    }
}

uint32_t FakePlatform::GetLastError() { return fakeLastError; }

void FakePlatform::SetLastError(uint32_t code) { fakeLastError = code; }

std::optional<std::string> FakePlatform::GetErrorMessage(uint32_t code) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = errorMessages.find(code);
    if (found == errorMessages.end()) return std::nullopt;
    return found->second;
}

LocalTime FakePlatform::GetLocalTime() { return localTime; }

uint32_t FakePlatform::GetTickCount() { return tickCount; }

bool FakePlatform::StartThread(std::function<void()> body) {
    if (onStartThread) return onStartThread(body);
    std::thread(std::move(body)).detach();
    return true;
}

void* FakePlatform::LoadModule(const char* fileName) {
    if (onLoadModule) return onLoadModule(fileName);
    SetLastError(126);
    return nullptr;
}

void* FakePlatform::FindEntryPoint(void* module, const char* name) {
    if (onFindEntryPoint) return onFindEntryPoint(module, name);
    SetLastError(127);
    return nullptr;
}

bool FakePlatform::FreeModule(void* module) {
    if (onFreeModule) return onFreeModule(module);
    SetLastError(6);
    return false;
}

bool FakePlatform::StartSockets() { return socketsAvailable; }

bool FakePlatform::GetHostName(char* buffer, size_t size) {
    if (!hostName || size == 0) return false;
    std::strncpy(buffer, hostName->c_str(), size - 1);
    buffer[size - 1] = '\0';
    return true;
}

// The conversion is pure, so the system's own serves.
uint32_t FakePlatform::InetAddr(const char* text) { return Platform::System().InetAddr(text); }

std::optional<uint32_t> FakePlatform::LookupHost(const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = hosts.find(name);
    if (found == hosts.end()) return std::nullopt;
    return found->second;
}

bool FakePlatform::SendEcho(uint32_t address, size_t payloadSize, uint32_t timeoutMs, CancelEvent*) {
    EchoCall call{address, payloadSize, timeoutMs};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        echoCalls_.push_back(call);
    }
    return onEcho ? onEcho(call) : false;
}

std::unique_ptr<CancelEvent> FakePlatform::CreateCancelEvent() {
    if (!cancelEventsAvailable) return nullptr;
    return std::make_unique<FakeCancelEvent>(*this);
}

void FakePlatform::Sleep(uint32_t milliseconds) { RecordWait(milliseconds); }

std::unique_ptr<AddressLock> FakePlatform::LockAddress(IPv4Address address) {
    const uint32_t value = address.GetNetworkOrder();
    std::lock_guard<std::mutex> lock(mutex_);
    if (addressesHeldElsewhere.count(value) != 0 || !locked_.insert(value).second) return nullptr;
    return std::make_unique<FakeAddressLock>(*this, value);
}

bool FakePlatform::SetNeighbour(IPv4Address address, const MacAddress& mac) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        arpCalls_.push_back("-s " + address.ToText() + " " + mac.ToText());
    }
    if (onSetNeighbour && !onSetNeighbour(address, mac)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(ownNeighbours_, [&](const OwnNeighbourEntry& entry) { return entry.address == address; });
    ownNeighbours_.push_back({address, mac, "fake0"});
    return true;
}

bool FakePlatform::RemoveNeighbour(IPv4Address address) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        arpCalls_.push_back("-d " + address.ToText());
    }
    if (onRemoveNeighbour && !onRemoveNeighbour(address)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(ownNeighbours_, [&](const OwnNeighbourEntry& entry) { return entry.address == address; });
    return true;
}

std::vector<OwnNeighbourEntry> FakePlatform::ListOwnNeighbours() { return OwnNeighbours(); }

ArpProbeResult FakePlatform::ProbeArp(IPv4Address address, CancelEvent* cancel) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        arpProbes_.push_back(address);
    }
    if (onProbeArp) return onProbeArp(address, cancel);
    return {};
}

AdapterList FakePlatform::GetAdapters() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++adapterQueries_;
    return adapters;
}

bool FakePlatform::GetOsVersion(OsVersion& version) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++osVersionQueries_;
    if (!osVersion) return false;
    version = *osVersion;
    return true;
}

NetworkRights FakePlatform::GetNetworkRights() { return rights; }

bool FakePlatform::OpenUrl(const std::string& url) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        openedUrls_.push_back(url);
    }
    return onOpenUrl ? onOpenUrl(url) : true;
}

std::optional<FileVersion> FakePlatform::GetFileVersion() { return fileVersion; }

std::string FakePlatform::LoadStringResource(unsigned id) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = strings.find(id);
    if (found == strings.end()) return {};
    return found->second;
}

std::map<unsigned, std::string> FakePlatform::CopyBuiltInStrings() {
    std::map<unsigned, std::string> copy;
    for (const StringEntry& entry : BuiltInStrings()) copy.emplace(entry.id, entry.text);
    return copy;
}
