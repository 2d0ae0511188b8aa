// The home-page command's probe: whether a device answers at an address.
#pragma once

// Up to four echo requests of 500 ms without payload, until one is answered.
bool DeviceAnswersForHomePage(const char* address);
