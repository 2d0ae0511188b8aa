// Host lookup of the Linux layer. It runs inside a lab namespace, where a
// name the local files do not know fails at once instead of reaching a
// name server outside.
#include "net/IpAddress.h"
#include "support/NetLab.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

class HostLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up());
    }
    NetLab lab{"hl"};
};

TEST_F(HostLookupTest, NamesGiveTheirFirstIPv4AddressOrAllOnes) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    const struct {
        const char* name;
        const char* address;
    } cases[] = {
        {"localhost", "127.0.0.1"},
        {"10.1.2.3", "10.1.2.3"},
        {"addrix-nowhere.invalid", "255.255.255.255"},
        {"", "255.255.255.255"},
    };
    for (const auto& expected : cases) {
        EXPECT_EQ(IpAddress::FromHostName(expected.name).GetAddress(), ::inet_addr(expected.address))
            << expected.name;
    }
}

TEST_F(HostLookupTest, ConcurrentLookupsAgree) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    auto lookUp = [](const char* name, uint32_t expected) {
        int agreed = 0;
        for (int round = 0; round < 50; ++round) agreed += IpAddress::FromText(name).GetAddress() == expected;
        return agreed;
    };
    auto known = std::async(std::launch::async, lookUp, "localhost", ::inet_addr("127.0.0.1"));
    auto unknown = std::async(std::launch::async, lookUp, "addrix-nowhere.invalid", IpAddress::kUnresolved);
    EXPECT_EQ(known.get(), 50);
    EXPECT_EQ(unknown.get(), 50);
}

}  // namespace
