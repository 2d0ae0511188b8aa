#include "platform/Platform.h"

#include <atomic>

namespace {
std::atomic<Platform*> installed{nullptr};
}

Platform& Platform::Current() {
    Platform* platform = installed.load(std::memory_order_acquire);
    return platform ? *platform : System();
}

void Platform::Install(Platform* platform) {
    installed.store(platform, std::memory_order_release);
}
