// The walk of the adapter records that GetAdaptersInfo writes, on Linux with
// the records' Windows layout. Two kinds of input, picked by the first byte:
// - a damaged buffer: the rest of the input, in which every aligned 8-byte
//   word tagged kLinkTag becomes a link to the buffer offset in its low
//   32 bits (signed, so links may also lead before, after or astride the
//   buffer). The walk must stay inside, end, and read each record once.
// - a sound list: records and address entries laid out and linked here from
//   the input's bytes. The walk must give back exactly what was laid out.
#include "FuzzCheck.h"
#include "platform/windows/AdapterRecords.h"
#include "platform/windows/WindowsApi.h"

#include <cstring>
#include <memory>

namespace {

constexpr uint64_t kLinkTag = 0xADD5'0000'0000'0000;
constexpr uint64_t kTagMask = 0xFFFF'0000'0000'0000;

// The buffer of the records, of exactly the walk's size.
struct RecordBuffer {
    explicit RecordBuffer(size_t size) : bytes(new unsigned char[size]()), size(size) {}
    std::unique_ptr<unsigned char[]> bytes;
    size_t size;
};

void CheckTexts(const std::vector<Adapter>& adapters) {
    for (const Adapter& adapter : adapters) {
        for (const AdapterAddress& address : adapter.addresses) {
            FUZZ_CHECK(address.address.size() <= sizeof(IP_ADDRESS_STRING));
            FUZZ_CHECK(address.mask.size() <= sizeof(IP_MASK_STRING));
            FUZZ_CHECK(address.address.find('\0') == std::string::npos);
            FUZZ_CHECK(address.mask.find('\0') == std::string::npos);
        }
    }
}

void WalkDamaged(const uint8_t* data, size_t size) {
    RecordBuffer buffer(size);
    if (size > 0) std::memcpy(buffer.bytes.get(), data, size);
    const auto base = reinterpret_cast<uintptr_t>(buffer.bytes.get());
    for (size_t offset = 0; offset + sizeof(uint64_t) <= size; offset += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, buffer.bytes.get() + offset, sizeof word);
        if ((word & kTagMask) != kLinkTag) continue;
        const auto target = static_cast<int32_t>(static_cast<uint32_t>(word));
        const uint64_t link = base + static_cast<uint64_t>(static_cast<int64_t>(target));
        std::memcpy(buffer.bytes.get() + offset, &link, sizeof link);
    }

    const std::vector<Adapter> adapters = ReadAdapterRecords(buffer.bytes.get(), size);
    // Records and entries may overlap, but each lies whole in the buffer at
    // an aligned place of its own.
    size_t entries = 0;
    for (const Adapter& adapter : adapters) entries += adapter.addresses.size();
    if (size < sizeof(IP_ADAPTER_INFO)) FUZZ_CHECK(adapters.empty());
    FUZZ_CHECK(adapters.size() + entries <= size / alignof(IP_ADDR_STRING));
    CheckTexts(adapters);
}

// Takes bytes from the input, then zeros once it is used up.
class ByteSource {
public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return position_ < size_ ? data_[position_++] : 0; }
    std::string Text(size_t capacity) {
        std::string text;
        const size_t length = Next() % (capacity + 1);
        for (size_t index = 0; index < length; ++index) text.push_back(static_cast<char>(Next() | 1));
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

void FillEntry(IP_ADDR_STRING& entry, const AdapterAddress& address) {
    std::memcpy(entry.IpAddress.String, address.address.data(), address.address.size());
    std::memcpy(entry.IpMask.String, address.mask.data(), address.mask.size());
}

void WalkSound(const uint8_t* data, size_t size) {
    ByteSource source(data, size);
    // The shape of the list: how many adapters, and entries of each.
    std::vector<Adapter> expected(source.Next() % 4 + 1);
    size_t extraEntries = 0;
    for (Adapter& adapter : expected) {
        adapter.addresses.resize(source.Next() % 4 + 1);
        extraEntries += adapter.addresses.size() - 1;
        for (AdapterAddress& address : adapter.addresses) {
            // Up to the field's full width, which then holds no NUL.
            address.address = source.Text(sizeof(IP_ADDRESS_STRING::String));
            address.mask = source.Text(sizeof(IP_MASK_STRING::String));
        }
    }

    // The records first, then the further entries, as the system lays them out.
    RecordBuffer buffer(expected.size() * sizeof(IP_ADAPTER_INFO) + extraEntries * sizeof(IP_ADDR_STRING));
    auto* records = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.bytes.get());
    auto* nextEntry = reinterpret_cast<IP_ADDR_STRING*>(records + expected.size());
    for (size_t index = 0; index < expected.size(); ++index) {
        IP_ADAPTER_INFO& record = records[index];
        record.Next = index + 1 < expected.size() ? &records[index + 1] : nullptr;
        IP_ADDR_STRING* entry = &record.IpAddressList;
        for (size_t e = 0; e < expected[index].addresses.size(); ++e) {
            FillEntry(*entry, expected[index].addresses[e]);
            entry->Next = e + 1 < expected[index].addresses.size() ? nextEntry++ : nullptr;
            entry = entry->Next;
        }
    }

    const std::vector<Adapter> adapters = ReadAdapterRecords(buffer.bytes.get(), buffer.size);
    FUZZ_CHECK(adapters.size() == expected.size());
    for (size_t index = 0; index < adapters.size(); ++index) {
        FUZZ_CHECK(adapters[index].addresses.size() == expected[index].addresses.size());
        for (size_t e = 0; e < adapters[index].addresses.size(); ++e) {
            FUZZ_CHECK(adapters[index].addresses[e].address == expected[index].addresses[e].address);
            FUZZ_CHECK(adapters[index].addresses[e].mask == expected[index].addresses[e].mask);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1)
        WalkSound(data + 1, size - 1);
    else
        WalkDamaged(data + 1, size - 1);
    return 0;
}
