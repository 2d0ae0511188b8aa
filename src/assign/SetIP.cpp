#include "assign/SetIP.h"

#include "net/IpAddress.h"
#include "net/Zorvel.h"
#include "support/Log.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kTestPings = 5;
constexpr uint32_t kEchoTimeoutMs = 1000;
constexpr uint16_t kTestPayloadSize = 0;
// The assignment pings cycle through these payload sizes.
constexpr uint16_t kAssignmentPayloadSizes[] = {0, 408, 479};

}  // namespace

void SetIP::Set(const std::string& serialNumber, const std::string& address) {
    LogScope log("SetIP::Set");
    log.Trace("Set '%s', to '%s'", serialNumber.c_str(), address.c_str());
    macText = FormatMacAddress(serialNumber);
    addressText = address;
    mac_ = MacAddress::FromSerialNumber(serialNumber.c_str());
    cancel_ = Platform::Current().CreateCancelEvent();
    running = true;
    // Without a worker no outcome would ever arrive.
    if (!Start(0)) NotifyListeners(SetIPEvent::Failed);
}

void SetIP::Cancel() {
    GlobalLogScope.Trace("SetIP::Cancel - Cancel");
    running = false;
    if (cancel_) cancel_->Fire();
}

std::string SetIP::FormatMacAddress(const std::string& serialNumber) {
    std::string mac;
    for (size_t pair = 0; pair < 6; ++pair) {
        if (pair > 0) mac += '-';
        mac += serialNumber.substr(std::min(pair * 2, serialNumber.size()), 2);
    }
    return mac;
}

bool SetIP::MultiPing(const std::string& address, int count) {
    LogScope log("SetIP::MultiPing");
    for (int attempt = 0; attempt < count && running; ++attempt) {
        log.Debug("Ping '%s'", address.c_str());
        if (Zorvel::Ping(address.c_str(), kEchoTimeoutMs, kTestPayloadSize, cancel_.get())) {
            log.Trace("'%s' exists", address.c_str());
            return true;
        }
    }
    log.Trace("No response for '%s'", address.c_str());
    return false;
}

void SetIP::RemoveOrphanedEntry(IPv4Address address) {
    LogScope log("SetIP::RemoveOrphanedEntry");
    for (const OwnNeighbourEntry& entry : Platform::Current().ListOwnNeighbours()) {
        if (entry.address != address) continue;
        log.Trace("Removing orphaned entry '%s' for '%s' on '%s'", address.ToText().c_str(),
                  entry.mac.ToText().c_str(), entry.interfaceName.c_str());
        Zorvel::ArpDel(address);
        return;
    }
}

SetIP::ProbeVerdict SetIP::ProbeWithArp(IPv4Address address, const MacAddress& device) {
    LogScope log("SetIP::ProbeWithArp");
    const ArpProbeResult probe = Zorvel::ArpProbe(address, cancel_.get());
    if (probe.status == ArpProbeResult::Status::Cancelled || !running) return ProbeVerdict::Cancelled;
    ProbeVerdict verdict = ProbeVerdict::Free;
    for (const MacAddress& answer : probe.answers) {
        if (answer == device) {
            log.Trace("Device '%s' already answers for '%s'", answer.ToText().c_str(), address.ToText().c_str());
        } else {
            log.Trace("'%s' answers for '%s'", answer.ToText().c_str(), address.ToText().c_str());
            verdict = ProbeVerdict::InUse;
        }
    }
    return verdict;
}

int32_t SetIP::Run(uintptr_t) {
    LogScope log("SetIP::Run");
    const char* address = addressText.c_str();
    const char* mac = macText.c_str();

    log.Trace("Test ip address '%s'", address);
    const uint32_t resolved = IpAddress::FromText(address).GetAddress();
    if (resolved == IpAddress::kNone || resolved == IpAddress::kUnresolved) {
        log.Error("Failed do get address");
        NotifyListeners(SetIPEvent::Failed);
        return 0;
    }
    if (!mac_ || !mac_->IsDevice()) {
        log.Error("'%s' is not the address of a single device", mac);
        NotifyListeners(SetIPEvent::Failed);
        return 0;
    }
    if (!cancel_) {
        log.Error("No cancel event for the job");
        NotifyListeners(SetIPEvent::Failed);
        return 0;
    }
    const IPv4Address target(resolved);

    // Held for the whole run: no other run probes, sets or removes an entry
    // for this address meanwhile.
    const std::unique_ptr<AddressLock> lock = Platform::Current().LockAddress(target);
    if (!lock) {
        log.Error("Address '%s' is held by another run, cannot use address", address);
        NotifyListeners(SetIPEvent::AddressHeld);
        return 0;
    }
    RemoveOrphanedEntry(target);

    if (MultiPing(addressText, kTestPings)) {
        log.Error("Address '%s' is already in use, cannot use address", address);
        NotifyListeners(SetIPEvent::InUse);
        return 0;
    }
    const ProbeVerdict verdict = running ? ProbeWithArp(target, *mac_) : ProbeVerdict::Cancelled;
    if (verdict == ProbeVerdict::InUse) {
        log.Error("Address '%s' is already in use, cannot use address", address);
        NotifyListeners(SetIPEvent::InUse);
        return 0;
    }
    // An interrupted check proves nothing: no entry is added.
    if (verdict == ProbeVerdict::Cancelled) {
        log.Trace("Done");
        return 0;
    }

    log.Trace("Address '%s' is available, set '%s' to this address", address, mac);
    if (!Zorvel::ArpAdd(target, *mac_)) {
        NotifyListeners(SetIPEvent::Failed);
        log.Trace("Done");
        return 0;
    }

    for (size_t attempt = 0; running; ++attempt) {
        const uint16_t payloadSize = kAssignmentPayloadSizes[attempt % std::size(kAssignmentPayloadSizes)];
        if (Zorvel::Ping(address, kEchoTimeoutMs, payloadSize, cancel_.get())) {
            log.Trace("IPSet device '%s' is set to '%s'", mac, address);
            running = false;
            NotifyListeners(SetIPEvent::Success);
            break;
        }
    }

    Zorvel::ArpDel(target);
    log.Trace("Done");
    return 0;
}
