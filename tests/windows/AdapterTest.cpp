#include "platform/windows/AdapterRecords.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// A buffer laid out as GetAdaptersInfo fills it: adapter records first, then
// further address entries, linked by pointers into the buffer.
class AdapterBuffer {
public:
    AdapterBuffer(size_t records, size_t extraEntries)
        : storage_((records * sizeof(IP_ADAPTER_INFO) + extraEntries * sizeof(IP_ADDR_STRING)) / sizeof(Word) + 1),
          records_(records),
          size_(records * sizeof(IP_ADAPTER_INFO) + extraEntries * sizeof(IP_ADDR_STRING)) {}

    IP_ADAPTER_INFO& Record(size_t index) { return reinterpret_cast<IP_ADAPTER_INFO*>(Bytes())[index]; }
    IP_ADDR_STRING& Extra(size_t index) {
        return reinterpret_cast<IP_ADDR_STRING*>(Bytes() + records_ * sizeof(IP_ADAPTER_INFO))[index];
    }
    unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(storage_.data()); }
    size_t Size() const { return size_; }
    // Pretends the buffer ends `bytes` early.
    void Shorten(size_t bytes) { size_ -= bytes; }

    static void SetEntry(IP_ADDR_STRING& entry, const char* address, const char* mask) {
        std::strncpy(entry.IpAddress.String, address, sizeof entry.IpAddress.String);
        std::strncpy(entry.IpMask.String, mask, sizeof entry.IpMask.String);
    }

private:
    using Word = std::max_align_t;
    std::vector<Word> storage_;
    size_t records_;
    size_t size_;
};

// Four numbers from 0 to 255 separated by dots, and nothing else.
bool IsDottedQuad(const std::string& text) {
    int numbers[4] = {};
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d.%d.%d.%d%c", &numbers[0], &numbers[1], &numbers[2], &numbers[3], &rest) != 4)
        return false;
    for (int number : numbers) {
        if (number < 0 || number > 255) return false;
    }
    return true;
}

using Entries = std::vector<std::vector<std::pair<std::string, std::string>>>;

Entries Flatten(const std::vector<Adapter>& adapters) {
    Entries result;
    for (const Adapter& adapter : adapters) {
        result.emplace_back();
        for (const AdapterAddress& entry : adapter.addresses) result.back().emplace_back(entry.address, entry.mask);
    }
    return result;
}

struct WalkCase {
    const char* name;
    size_t records;
    size_t extraEntries;
    std::function<void(AdapterBuffer&)> fill;
    Entries expected;
};

TEST(WindowsAdapterRecords, WalksOnlyWhatLiesInTheBuffer) {
    const WalkCase cases[] = {
        {"one adapter with one entry", 1, 0,
         [](AdapterBuffer& b) { AdapterBuffer::SetEntry(b.Record(0).IpAddressList, "192.168.1.20", "255.255.255.0"); },
         {{{"192.168.1.20", "255.255.255.0"}}}},
        {"a record the system left empty", 1, 0, [](AdapterBuffer&) {}, {{{"", ""}}}},
        {"two adapters, the second with two entries", 2, 1,
         [](AdapterBuffer& b) {
             AdapterBuffer::SetEntry(b.Record(0).IpAddressList, "10.0.0.5", "255.0.0.0");
             b.Record(0).Next = &b.Record(1);
             AdapterBuffer::SetEntry(b.Record(1).IpAddressList, "0.0.0.0", "0.0.0.0");
             b.Record(1).IpAddressList.Next = &b.Extra(0);
             AdapterBuffer::SetEntry(b.Extra(0), "172.16.4.1", "255.255.0.0");
         },
         {{{"10.0.0.5", "255.0.0.0"}}, {{"0.0.0.0", "0.0.0.0"}, {"172.16.4.1", "255.255.0.0"}}}},
        {"a buffer too short for one record", 1, 0, [](AdapterBuffer& b) { b.Shorten(1); }, {}},
        {"a link to a record cut off by the end of the buffer", 2, 0,
         [](AdapterBuffer& b) {
             AdapterBuffer::SetEntry(b.Record(0).IpAddressList, "10.0.0.5", "255.0.0.0");
             b.Record(0).Next = &b.Record(1);
             b.Shorten(1);
         },
         {{{"10.0.0.5", "255.0.0.0"}}}},
        {"a link to an entry cut off by the end of the buffer", 1, 1,
         [](AdapterBuffer& b) {
             AdapterBuffer::SetEntry(b.Record(0).IpAddressList, "10.0.0.5", "255.0.0.0");
             b.Record(0).IpAddressList.Next = &b.Extra(0);
             AdapterBuffer::SetEntry(b.Extra(0), "10.0.0.6", "255.0.0.0");
             b.Shorten(1);
         },
         {{{"10.0.0.5", "255.0.0.0"}}}},
        {"a link before the buffer", 1, 0,
         [](AdapterBuffer& b) {
             b.Record(0).Next =
                 reinterpret_cast<IP_ADAPTER_INFO*>(reinterpret_cast<uintptr_t>(b.Bytes()) - sizeof(IP_ADAPTER_INFO));
         },
         {{{"", ""}}}},
        {"a misaligned link", 2, 0,
         [](AdapterBuffer& b) { b.Record(0).Next = reinterpret_cast<IP_ADAPTER_INFO*>(b.Bytes() + 1); },
         {{{"", ""}}}},
        {"adapters linked in a circle", 2, 0,
         [](AdapterBuffer& b) {
             b.Record(0).Next = &b.Record(1);
             b.Record(1).Next = &b.Record(0);
         },
         {{{"", ""}}, {{"", ""}}}},
        {"entries linked in a circle", 1, 1,
         [](AdapterBuffer& b) {
             AdapterBuffer::SetEntry(b.Record(0).IpAddressList, "10.0.0.5", "255.0.0.0");
             b.Record(0).IpAddressList.Next = &b.Extra(0);
             AdapterBuffer::SetEntry(b.Extra(0), "10.0.0.6", "255.0.0.0");
             b.Extra(0).Next = &b.Record(0).IpAddressList;
         },
         {{{"10.0.0.5", "255.0.0.0"}, {"10.0.0.6", "255.0.0.0"}}}},
        {"texts that fill their fields without a NUL", 1, 0,
         [](AdapterBuffer& b) {
             std::memcpy(b.Record(0).IpAddressList.IpAddress.String, "1111111111111111", 16);
             std::memcpy(b.Record(0).IpAddressList.IpMask.String, "2222222222222222", 16);
         },
         {{{"1111111111111111", "2222222222222222"}}}},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        AdapterBuffer buffer(c.records, c.extraEntries);
        c.fill(buffer);
        EXPECT_EQ(Flatten(ReadAdapterRecords(buffer.Bytes(), buffer.Size())), c.expected);
    }
}

TEST(WindowsAdapters, ReadsTheHostsListWhateverItHolds) {
    WindowsPlatform platform;
    const AdapterList list = platform.GetAdapters();
    // Any host may have no adapter; one with adapters lists each with entries.
    ASSERT_TRUE(list.status == AdapterList::Status::Ok || list.status == AdapterList::Status::NoAdapter)
        << static_cast<int>(list.status);
    if (list.status == AdapterList::Status::NoAdapter) return;
    ASSERT_FALSE(list.adapters.empty());
    for (const Adapter& adapter : list.adapters) {
        ASSERT_FALSE(adapter.addresses.empty());
        for (const AdapterAddress& entry : adapter.addresses) {
            SCOPED_TRACE(entry.address + " / " + entry.mask);
            EXPECT_TRUE(IsDottedQuad(entry.address));
            EXPECT_TRUE(IsDottedQuad(entry.mask));
        }
    }
}

}  // namespace
