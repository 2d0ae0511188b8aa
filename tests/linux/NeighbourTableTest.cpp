// The neighbour calls of the Linux layer against the kernel of a lab
// namespace: entries we set carry our tag, only tagged entries are ever
// replaced or removed, and the list of ours names exactly those.
#include "net/Zorvel.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Log.h"
#include "support/LoggedLinuxPlatform.h"
#include "support/NetLab.h"
#include "support/ThreadCapabilities.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kEntryAddress = "10.213.0.50";
const MacAddress kMac(MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F});

IPv4Address Address(const char* text) { return IPv4Address(::inet_addr(text)); }

// A lab with host 10.213.0.1/24; entries are made from inside its host
// namespace, as the program makes them in its own.
class NeighbourTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up("10.213.0.1/24", "10.213.0.2/24"));
    }

    // Runs `call` inside the host namespace; never in the host's own table.
    template <typename Call>
    auto InLab(Call call) -> decltype(call()) {
        NetLab::Entered in(lab.HostNamespace());
        if (!in.Ok()) {
            ADD_FAILURE() << "could not enter the lab";
            return decltype(call())();
        }
        return call();
    }

    bool Set(const char* address) {
        return InLab([&] { return platform.SetNeighbour(Address(address), kMac); });
    }
    bool Remove(const char* address) {
        return InLab([&] { return platform.RemoveNeighbour(Address(address)); });
    }
    void RunIp(const std::string& command) { ASSERT_TRUE(lab.Run(lab.HostNamespace(), command)) << command; }

    // The entry as "ip neigh" shows it, without trailing blanks.
    std::string Entry(const std::string& address, const std::string& filter = "") const {
        std::string entry = lab.Capture(lab.HostNamespace(), "ip -4 neigh show " + address + filter);
        entry.erase(entry.find_last_not_of(" \n") + 1);
        return entry;
    }
    std::string TaggedEntry(const std::string& address) const { return Entry(address, " proto 173"); }

    std::string PermanentEntry(const std::string& address, const std::string& lladdr) const {
        return address + " dev " + lab.HostInterface() + " lladdr " + lladdr + " PERMANENT proto 173";
    }

    NetLab lab{"nb"};
    LinuxPlatform platform;
};

TEST_F(NeighbourTest, SetAddsATaggedPermanentEntryOnTheRoutedInterfaceAndRemoveTakesItAway) {
    ASSERT_TRUE(Set(kEntryAddress));
    EXPECT_EQ(TaggedEntry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    ASSERT_TRUE(Remove(kEntryAddress));
    EXPECT_EQ(Entry(kEntryAddress), "");
}

TEST_F(NeighbourTest, SetReplacesDynamicEntriesAndItsOwn) {
    const char* existing[] = {
        "lladdr 02:00:00:00:00:01 nud stale",
        "lladdr 02:00:00:00:00:01 nud reachable",
        "lladdr 02:00:00:00:00:01 nud permanent proto 173",
        "nud incomplete",
        "nud failed",
    };
    for (const char* entry : existing) {
        SCOPED_TRACE(entry);
        RunIp(std::string("ip neigh replace 10.213.0.50 ") + entry + " dev " + lab.HostInterface());
        ASSERT_NE(Entry(kEntryAddress), "");
        EXPECT_TRUE(Set(kEntryAddress));
        EXPECT_EQ(TaggedEntry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    }
}

TEST_F(NeighbourTest, UntaggedPermanentEntriesAreNeverTouched) {
    const std::vector<std::string> untagged = {"proto 4", ""};
    for (const std::string& protocol : untagged) {
        SCOPED_TRACE(protocol);
        RunIp("ip neigh replace 10.213.0.50 lladdr 02:00:00:00:00:01 nud permanent " + protocol + " dev " +
              lab.HostInterface());
        const std::string before = Entry(kEntryAddress);
        ASSERT_THAT(before, HasSubstr("02:00:00:00:00:01"));
        EXPECT_FALSE(Set(kEntryAddress));
        EXPECT_EQ(Entry(kEntryAddress), before);
        EXPECT_TRUE(Remove(kEntryAddress));
        EXPECT_EQ(Entry(kEntryAddress), before);
        EXPECT_THAT(InLab([&] { return platform.ListOwnNeighbours(); }), IsEmpty());
    }
}

TEST_F(NeighbourTest, RemoveWithoutAnEntryStillCounts) {
    EXPECT_TRUE(Remove(kEntryAddress));
    EXPECT_EQ(Entry(kEntryAddress), "");
}

TEST_F(NeighbourTest, RemoveTakesOurEntriesFromEveryInterface) {
    // A second link whose own route does not lead to the address.
    RunIp("ip link add addrixx0 type veth peer name addrixx1 && ip link set addrixx0 up");
    RunIp("ip neigh replace 10.213.0.50 lladdr 02:00:00:00:00:02 nud permanent proto 173 dev addrixx0");
    ASSERT_TRUE(Set(kEntryAddress));
    EXPECT_TRUE(Remove(kEntryAddress));
    EXPECT_EQ(Entry(kEntryAddress), "");
}

TEST_F(NeighbourTest, ListsExactlyOurEntries) {
    RunIp("ip neigh replace 10.213.0.60 lladdr 02:00:00:00:00:01 nud permanent dev " + lab.HostInterface());
    RunIp("ip neigh replace 10.213.0.61 lladdr 02:00:00:00:00:02 nud stale dev " + lab.HostInterface());
    ASSERT_TRUE(Set(kEntryAddress));
    const std::vector<OwnNeighbourEntry> own = InLab([&] { return platform.ListOwnNeighbours(); });
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].address, Address(kEntryAddress));
    EXPECT_EQ(own[0].mac, kMac);
    EXPECT_EQ(own[0].interfaceName, lab.HostInterface());
}

// Requests the kernel cannot carry out in the lab. None may leave an entry.
TEST_F(NeighbourTest, RefusedSetsLeaveNoEntry) {
    const char* refused[] = {
        "10.99.0.1",     // no route
        "10.213.0.1",    // the host's own address
        "10.213.0.255",  // broadcast
        "127.0.0.1",     // loopback
    };
    for (const char* address : refused) {
        SCOPED_TRACE(address);
        EXPECT_FALSE(Set(address));
        EXPECT_EQ(Entry(address), "");
    }
}

TEST_F(NeighbourTest, WithoutNetAdminNothingChanges) {
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        WithoutCapabilities reduced({CAP_NET_ADMIN});
        ASSERT_TRUE(reduced.Ok());
        EXPECT_FALSE(platform.SetNeighbour(Address(kEntryAddress), kMac));
    }
    EXPECT_EQ(Entry(kEntryAddress), "");
}

// The probes' own calls, through the real layer: what the job logs.
class NeighbourLogTest : public NeighbourTest {
protected:
    void SetUp() override {
        NeighbourTest::SetUp();
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }
};

TEST_F(NeighbourLogTest, AddAndDeleteLogOnlyTheirRequests) {
    LoggedLinuxPlatform logged;
    EXPECT_TRUE(InLab([&] { return Zorvel::ArpAdd(Address(kEntryAddress), kMac); }));
    EXPECT_EQ(TaggedEntry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    InLab([&] { Zorvel::ArpDel(Address(kEntryAddress)); });
    EXPECT_EQ(Entry(kEntryAddress), "");
    EXPECT_EQ(logged.DebugLines(),
              (std::vector<std::string>{"QRM:D:Zorvel::ArpAdd - Arp add ip: '10.213.0.50' for eth '0A-1B-2C-3D-4E-5F'.",
                                        "QRM:D:Zorvel::ArpDel - Arp delete ip: '10.213.0.50' "}));
}

TEST_F(NeighbourLogTest, RefusedAddLogsItsFailure) {
    LoggedLinuxPlatform logged;
    EXPECT_FALSE(InLab([&] { return Zorvel::ArpAdd(Address("10.99.0.1"), kMac); }));
    EXPECT_EQ(logged.DebugLines(),
              (std::vector<std::string>{"QRM:D:Zorvel::ArpAdd - Arp add ip: '10.99.0.1' for eth '0A-1B-2C-3D-4E-5F'.",
                                        "QRM:E:Zorvel::ArpAdd - arp failed"}));
}

}  // namespace
