// The adapter records that GetAdaptersInfo writes into one caller-supplied
// buffer, read without trusting their links.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <vector>

// The adapters of the records in `buffer`, in list order, each with its
// address entries in list order. Only links that lead to a whole record or
// entry inside the buffer are followed, and no record or entry is read
// twice, so a damaged list ends early instead of leaving the buffer.
std::vector<Adapter> ReadAdapterRecords(const unsigned char* buffer, size_t size);
