#include "platform/windows/AdapterRecords.h"

#include "platform/windows/WindowsApi.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace {

// Hands out the records of one buffer that a link may lead to: whole,
// aligned, inside the buffer, and each at most once.
class BufferWalk {
public:
    BufferWalk(const unsigned char* buffer, size_t size) : begin_(buffer), size_(size) {}

    template <typename Record>
    const Record* Follow(const void* link) {
        const auto address = reinterpret_cast<uintptr_t>(link);
        const auto begin = reinterpret_cast<uintptr_t>(begin_);
        if (link == nullptr || address < begin || address % alignof(Record) != 0) return nullptr;
        const size_t offset = address - begin;
        if (offset > size_ || size_ - offset < sizeof(Record)) return nullptr;
        if (!visited_.insert(link).second) return nullptr;
        return static_cast<const Record*>(link);
    }

private:
    const unsigned char* begin_;
    size_t size_;
    std::set<const void*> visited_;
};

// The text of an address or mask field, which need not end in a NUL.
std::string FieldText(const IP_ADDRESS_STRING& field) {
    return std::string(field.String, strnlen(field.String, sizeof field.String));
}

}  // namespace

std::vector<Adapter> ReadAdapterRecords(const unsigned char* buffer, size_t size) {
    std::vector<Adapter> adapters;
    BufferWalk walk(buffer, size);
    for (const auto* record = walk.Follow<IP_ADAPTER_INFO>(buffer); record != nullptr;
         record = walk.Follow<IP_ADAPTER_INFO>(record->Next)) {
        Adapter adapter;
        // The first entry is part of the adapter's own record.
        for (const auto* entry = walk.Follow<IP_ADDR_STRING>(&record->IpAddressList); entry != nullptr;
             entry = walk.Follow<IP_ADDR_STRING>(entry->Next)) {
            adapter.addresses.push_back({FieldText(entry->IpAddress), FieldText(entry->IpMask)});
        }
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}
