#include "net/Zorvel.h"

#include "net/IpAddress.h"
#include "platform/Platform.h"
#include "support/Format.h"
#include "support/Log.h"

namespace Zorvel {

bool Ping(const char* host, uint32_t timeoutMs, uint16_t size) {
    LogScope log("Zorvel::Ping");
    log.Debug("Ping '%s', timeout %d, size %d", host, static_cast<int>(timeoutMs), static_cast<int>(size));

    const uint32_t address = IpAddress::FromText(host).GetAddress();
    if (address == IpAddress::kNone || address == IpAddress::kUnresolved) {
        log.Error("Failed do get address");
        return false;
    }

    const bool answered = Platform::Current().SendEcho(address, size, timeoutMs);
    log.Debug("Ping '%s' - result %d", host, answered ? 1 : 0);
    return answered;
}

void ArpAdd(const char* address, const char* mac) {
    LogScope log("Zorvel::ArpAdd");
    log.Debug("Arp add ip: '%s' for eth '%s'.", address, mac);
    if (!Platform::Current().LaunchArp(FormatText("-s %s %s", address, mac))) log.Error("arp failed");
}

void ArpDel(const char* address) {
    LogScope log("Zorvel::ArpDel");
    log.Debug("Arp delete ip: '%s' ", address);
    if (!Platform::Current().LaunchArp(FormatText("-d %s", address))) log.Error("Zorvel::ArpDel - arp failed");
}

}  // namespace Zorvel
