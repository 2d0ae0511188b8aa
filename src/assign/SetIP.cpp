#include "assign/SetIP.h"

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
    running = true;
    Start(0);
}

void SetIP::Cancel() {
    GlobalLogScope.Trace("SetIP::Cancel - Cancel");
    running = false;
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
        if (Zorvel::Ping(address.c_str(), kEchoTimeoutMs, kTestPayloadSize)) {
            log.Trace("'%s' exists", address.c_str());
            return true;
        }
    }
    log.Trace("No response for '%s'", address.c_str());
    return false;
}

int32_t SetIP::Run(uintptr_t) {
    LogScope log("SetIP::Run");
    const char* address = addressText.c_str();
    const char* mac = macText.c_str();

    log.Trace("Test ip address '%s'", address);
    if (MultiPing(addressText, kTestPings)) {
        log.Error("Address '%s' is already in use, cannot use address", address);
        NotifyListeners(SetIPEvent::InUse);
        return 0;
    }

    log.Trace("Address '%s' is available, set '%s' to this address", address, mac);
    Zorvel::ArpAdd(address, mac);
    waitingForDevice = true;

    for (size_t attempt = 0; running; ++attempt) {
        const uint16_t payloadSize = kAssignmentPayloadSizes[attempt % std::size(kAssignmentPayloadSizes)];
        if (Zorvel::Ping(address, kEchoTimeoutMs, payloadSize)) {
            log.Trace("IPSet device '%s' is set to '%s'", mac, address);
            running = false;
            NotifyListeners(SetIPEvent::Success);
            break;
        }
    }

    Zorvel::ArpDel(address);
    log.Trace("Done");
    return 0;
}
