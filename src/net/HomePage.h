// The home-page command's probe: whether a device answers at an address.
#pragma once

#include "platform/Platform.h"

// Up to four echo requests of 500 ms without payload, one per window, until
// one is answered; `cancel` (may be null) ends them early, unanswered.
bool DeviceAnswersForHomePage(const char* address, CancelEvent* cancel = nullptr);
