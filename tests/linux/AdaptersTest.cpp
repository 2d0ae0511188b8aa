#include "net/NetUtil.h"
#include "platform/Platform.h"
#include "support/NetLab.h"

#include <gtest/gtest.h>
#include <net/if.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// The list as (address, mask) pairs per adapter, for readable comparison.
std::vector<Entries> Flatten(const AdapterList& list) {
    std::vector<Entries> adapters;
    for (const Adapter& adapter : list.adapters) {
        Entries entries;
        for (const AdapterAddress& entry : adapter.addresses) entries.emplace_back(entry.address, entry.mask);
        adapters.push_back(entries);
    }
    return adapters;
}

class AdaptersTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up("10.213.0.1/24"));
    }

    NetLab lab{"ad"};
};

// The host side gets a second address (under a label of its own) on the lab's
// interface and a second interface with one address; loopback is up, and the
// interfaces carry IPv6 link-local addresses as well.
TEST_F(AdaptersTest, ListsIpv4EntriesPerInterfaceInTheKernelsOrder) {
    const std::string first = lab.HostInterface();
    const std::string second = first + "x";
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "ip addr add 10.214.7.1/16 dev " + first + " label " + first + ":1"));
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "ip link add " + second + " type veth peer name " + first + "y"));
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "ip addr add 172.31.9.9/28 dev " + second));
    ASSERT_TRUE(lab.Run(lab.HostNamespace(), "ip link set " + second + " up"));

    NetLab::Entered entered(lab.HostNamespace());
    ASSERT_TRUE(entered.Ok());
    // The kernel lists addresses interface by interface, by index.
    ASSERT_LT(::if_nametoindex(first.c_str()), ::if_nametoindex(second.c_str()));

    const AdapterList list = Platform::System().GetAdapters();
    EXPECT_EQ(list.status, AdapterList::Status::Ok);
    EXPECT_EQ(Flatten(list), (std::vector<Entries>{{{"10.213.0.1", "255.255.255.0"}, {"10.214.7.1", "255.255.0.0"}},
                                                   {{"172.31.9.9", "255.255.255.240"}}}));

    // The subnet check over the real list.
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("10.214.200.3"), "10.214.7.1");
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("172.31.9.14"), "172.31.9.9");
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("172.31.9.17"), "");
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("127.0.0.2"), "");
}

TEST_F(AdaptersTest, HostWithOnlyLoopbackHasNoAdapter) {
    // The device side: loopback up, its interface without an IPv4 address.
    NetLab::Entered entered(lab.DeviceNamespace());
    ASSERT_TRUE(entered.Ok());
    const AdapterList list = Platform::System().GetAdapters();
    EXPECT_EQ(list.status, AdapterList::Status::NoAdapter);
    EXPECT_TRUE(list.adapters.empty());
}

}  // namespace
