// The arp command of the Linux layer: its parameter forms, and the neighbour
// entries it sets and removes in the kernel of a lab namespace.
#include "net/Zorvel.h"
#include "platform/linux/ArpCommandLine.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Log.h"
#include "support/LoggedLinuxPlatform.h"
#include "support/NetLab.h"
#include "support/ThreadCapabilities.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Action = ArpCommandLine::Action;
using Mac = ArpCommandLine::MacAddress;

struct ParseCase {
    const char* parameters;
    std::optional<Action> action;  // nothing: refused
    const char* address;
    Mac mac;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.parameters << '"'; }

class ArpCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ArpCommandLineTest, ParsesTheTwoFormsOnly) {
    const ParseCase& expected = GetParam();
    const std::optional<ArpCommandLine> command = ArpCommandLine::Parse(expected.parameters);
    ASSERT_EQ(command.has_value(), expected.action.has_value());
    if (!command) return;
    EXPECT_EQ(command->action, *expected.action);
    EXPECT_EQ(command->address, ::inet_addr(expected.address));
    EXPECT_EQ(command->mac, expected.mac);
}

constexpr Mac kMac{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
constexpr Mac kNoMac{};

INSTANTIATE_TEST_SUITE_P(
    Forms, ArpCommandLineTest,
    ::testing::Values(ParseCase{"-s 192.168.0.90 0A-1B-2C-3D-4E-5F", Action::Add, "192.168.0.90", kMac},
                      ParseCase{"-s 192.168.0.90 0a-1b-2c-3d-4e-5f", Action::Add, "192.168.0.90", kMac},
                      ParseCase{"-s 10.0.0.1 ff-FF-00-00-00-01", Action::Add, "10.0.0.1",
                                Mac{0xFF, 0xFF, 0, 0, 0, 1}},
                      ParseCase{"  -s  192.168.0.90   0A-1B-2C-3D-4E-5F ", Action::Add, "192.168.0.90", kMac},
                      ParseCase{"-d 192.168.0.90", Action::Delete, "192.168.0.90", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A:1B:2C:3D:4E:5F", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A1B2C3D4E5F", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A-1B-2C-3D-4E", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A-1B-2C-3D-4E-5F-60", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A-1B-2C-3D-4E5F-", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0G-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 +A-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.256 0A-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-s device.local 0A-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1", {}, "", kNoMac},
                      ParseCase{"-s 10.0.0.1 0A-1B-2C-3D-4E-5F eth0", {}, "", kNoMac},
                      ParseCase{"-S 10.0.0.1 0A-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-d", {}, "", kNoMac},
                      ParseCase{"-d 10.0.0.1 0A-1B-2C-3D-4E-5F", {}, "", kNoMac},
                      ParseCase{"-d not-an-address", {}, "", kNoMac},
                      ParseCase{"-a 10.0.0.1", {}, "", kNoMac},
                      ParseCase{"", {}, "", kNoMac}));

constexpr const char* kEntryAddress = "10.213.0.50";

// A lab with host 10.213.0.1/24; entries are made from inside its host
// namespace, as the program makes them in its own.
class NeighbourTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up("10.213.0.1/24", "10.213.0.2/24"));
    }

    bool Launch(const std::string& parameters) {
        NetLab::Entered in(lab.HostNamespace());
        if (!in.Ok()) {
            ADD_FAILURE() << "could not enter the lab";  // never touch the host's own table
            return false;
        }
        return platform.LaunchArp(parameters);
    }

    // The entry as "ip neigh" shows it, without trailing blanks.
    std::string Entry(const std::string& address) const {
        std::string entry = lab.Capture(lab.HostNamespace(), "ip -4 neigh show " + address);
        entry.erase(entry.find_last_not_of(" \n") + 1);
        return entry;
    }

    std::string PermanentEntry(const std::string& address, const std::string& lladdr) const {
        return address + " dev " + lab.HostInterface() + " lladdr " + lladdr + " PERMANENT";
    }

    NetLab lab{"nb"};
    LinuxPlatform platform;
};

TEST_F(NeighbourTest, AddSetsAPermanentEntryOnTheRoutedInterfaceAndDeleteRemovesIt) {
    ASSERT_TRUE(Launch("-s 10.213.0.50 0A-1B-2C-3D-4E-5F"));
    EXPECT_EQ(Entry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    ASSERT_TRUE(Launch("-d 10.213.0.50"));
    EXPECT_EQ(Entry(kEntryAddress), "");
}

TEST_F(NeighbourTest, AddReplacesWhateverEntryIsThere) {
    const char* existing[] = {
        "lladdr 02:00:00:00:00:01 nud stale",
        "lladdr 02:00:00:00:00:01 nud reachable",
        "lladdr 02:00:00:00:00:01 nud permanent",
        "nud incomplete",
        "nud failed",
    };
    for (const char* entry : existing) {
        SCOPED_TRACE(entry);
        ASSERT_TRUE(lab.Run(lab.HostNamespace(), std::string("ip neigh replace 10.213.0.50 ") + entry + " dev " +
                                                     lab.HostInterface()));
        ASSERT_NE(Entry(kEntryAddress), "");
        EXPECT_TRUE(Launch("-s 10.213.0.50 0A-1B-2C-3D-4E-5F"));
        EXPECT_EQ(Entry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    }
}

TEST_F(NeighbourTest, DeleteWithoutAnEntryStillCounts) {
    EXPECT_TRUE(Launch("-d 10.213.0.50"));
    EXPECT_EQ(Entry(kEntryAddress), "");
}

// Requests the kernel cannot carry out in the lab: no route, an address
// that is not a neighbour, a malformed text. None may leave an entry.
TEST_F(NeighbourTest, RefusedRequestsAreNotLaunched) {
    const struct {
        const char* parameters;
        const char* address;
    } refused[] = {
        {"-s 10.99.0.1 0A-1B-2C-3D-4E-5F", "10.99.0.1"},     // no route
        {"-s 10.213.0.1 0A-1B-2C-3D-4E-5F", "10.213.0.1"},   // the host's own address
        {"-s 10.213.0.255 0A-1B-2C-3D-4E-5F", "10.213.0.255"},  // broadcast
        {"-s 127.0.0.1 0A-1B-2C-3D-4E-5F", "127.0.0.1"},     // loopback
        {"-s 10.213.0.50 0A-1B-2C", kEntryAddress},          // bad MAC text
        {"-s 10.213.0.50", kEntryAddress},                   // unknown form
        {"-d 10.99.0.1", "10.99.0.1"},                       // no route
    };
    for (const auto& request : refused) {
        SCOPED_TRACE(request.parameters);
        EXPECT_FALSE(Launch(request.parameters));
        EXPECT_EQ(Entry(request.address), "");
    }
}

TEST_F(NeighbourTest, WithoutNetAdminNothingChanges) {
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        WithoutCapabilities reduced({CAP_NET_ADMIN});
        ASSERT_TRUE(reduced.Ok());
        EXPECT_FALSE(platform.LaunchArp("-s 10.213.0.50 0A-1B-2C-3D-4E-5F"));
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
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        Zorvel::ArpAdd(kEntryAddress, "0A-1B-2C-3D-4E-5F");
    }
    EXPECT_EQ(Entry(kEntryAddress), PermanentEntry(kEntryAddress, "0a:1b:2c:3d:4e:5f"));
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        Zorvel::ArpDel(kEntryAddress);
    }
    EXPECT_EQ(Entry(kEntryAddress), "");
    EXPECT_EQ(logged.DebugLines(),
              (std::vector<std::string>{"QRM:D:Zorvel::ArpAdd - Arp add ip: '10.213.0.50' for eth '0A-1B-2C-3D-4E-5F'.",
                                        "QRM:D:Zorvel::ArpDel - Arp delete ip: '10.213.0.50' "}));
}

TEST_F(NeighbourLogTest, RefusedAddAndDeleteLogTheirFailure) {
    LoggedLinuxPlatform logged;
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        Zorvel::ArpAdd("10.99.0.1", "0A-1B-2C-3D-4E-5F");
        Zorvel::ArpDel("10.99.0.1");
    }
    EXPECT_EQ(logged.DebugLines(),
              (std::vector<std::string>{"QRM:D:Zorvel::ArpAdd - Arp add ip: '10.99.0.1' for eth '0A-1B-2C-3D-4E-5F'.",
                                        "QRM:E:Zorvel::ArpAdd - arp failed",
                                        "QRM:D:Zorvel::ArpDel - Arp delete ip: '10.99.0.1' ",
                                        "QRM:E:Zorvel::ArpDel - Zorvel::ArpDel - arp failed"}));
}

}  // namespace
