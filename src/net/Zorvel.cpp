#include "net/Zorvel.h"

#include "net/IpAddress.h"
#include "support/Log.h"

namespace Zorvel {
namespace {

// Waits for what is left of an echo's window, begun at `startTick`.
void WaitOutWindow(uint32_t startTick, uint32_t timeoutMs, CancelEvent* cancel) {
    Platform& platform = Platform::Current();
    const uint32_t elapsed = platform.GetTickCount() - startTick;
    if (elapsed >= timeoutMs) return;
    const uint32_t remaining = timeoutMs - elapsed;
    if (cancel) {
        cancel->WaitFor(remaining);
    } else {
        platform.Sleep(remaining);
    }
}

}  // namespace

bool Ping(const char* host, uint32_t timeoutMs, uint16_t size, CancelEvent* cancel) {
    LogScope log("Zorvel::Ping");
    const uint32_t startTick = Platform::Current().GetTickCount();
    log.Debug("Ping '%s', timeout %d, size %d", host, static_cast<int>(timeoutMs), static_cast<int>(size));

    const uint32_t address = IpAddress::FromText(host).GetAddress();
    if (address == IpAddress::kNone || address == IpAddress::kUnresolved) {
        log.Error("Failed do get address");
        WaitOutWindow(startTick, timeoutMs, cancel);
        return false;
    }

    const bool answered = Platform::Current().SendEcho(address, size, timeoutMs, cancel);
    log.Debug("Ping '%s' - result %d", host, answered ? 1 : 0);
    if (!answered) WaitOutWindow(startTick, timeoutMs, cancel);
    return answered;
}

bool ArpAdd(IPv4Address address, const MacAddress& mac) {
    LogScope log("Zorvel::ArpAdd");
    log.Debug("Arp add ip: '%s' for eth '%s'.", address.ToText().c_str(), mac.ToText().c_str());
    if (Platform::Current().SetNeighbour(address, mac)) return true;
    log.Error("arp failed");
    return false;
}

void ArpDel(IPv4Address address) {
    LogScope log("Zorvel::ArpDel");
    log.Debug("Arp delete ip: '%s' ", address.ToText().c_str());
    if (!Platform::Current().RemoveNeighbour(address)) log.Error("Zorvel::ArpDel - arp failed");
}

ArpProbeResult ArpProbe(IPv4Address address, CancelEvent* cancel) {
    LogScope log("Zorvel::ArpProbe");
    log.Debug("Arp probe '%s'", address.ToText().c_str());
    ArpProbeResult result = Platform::Current().ProbeArp(address, cancel);
    switch (result.status) {
        case ArpProbeResult::Status::Done:
            log.Debug("Arp probe '%s' - %d answers", address.ToText().c_str(), static_cast<int>(result.answers.size()));
            break;
        case ArpProbeResult::Status::NotSent:
            log.Error("Arp probe '%s' could not be sent", address.ToText().c_str());
            break;
        case ArpProbeResult::Status::Cancelled:
            log.Debug("Arp probe '%s' - cancelled", address.ToText().c_str());
            break;
    }
    return result;
}

}  // namespace Zorvel
