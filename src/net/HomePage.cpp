#include "net/HomePage.h"

#include "net/Zorvel.h"

namespace {
constexpr int kHomePagePings = 4;
constexpr uint32_t kHomePagePingTimeoutMs = 500;
}  // namespace

bool DeviceAnswersForHomePage(const char* address, CancelEvent* cancel) {
    for (int ping = 0; ping < kHomePagePings; ++ping) {
        if (cancel && cancel->IsFired()) return false;
        if (Zorvel::Ping(address, kHomePagePingTimeoutMs, 0, cancel)) return true;
    }
    return false;
}
