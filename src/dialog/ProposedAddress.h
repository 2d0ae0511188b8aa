// The address the dialog proposes at start: the local host's network with a
// last number of 0. When the host's own name gives a loopback address, gives
// none, or its name server does not answer at once, the network of the first
// adapter with an address that is not loopback takes its place.
#pragma once

#include <cstdint>
#include <string>

// How long start-up waits for the local host's own address.
constexpr uint32_t kLocalHostLookupWaitMs = 250;

std::string ProposedAddress();
