// Host lookup of the Linux layer. It runs inside a lab namespace, where a
// name the local files do not know fails at once instead of reaching a
// name server outside: the lab has no route to one. A host whose lookups go
// through a local resolver service (which lives outside the namespace) is
// skipped, since such a service would ask the outside world.
#include "net/IpAddress.h"
#include "support/NetLab.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

namespace {

class HostLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        if (!LookupsStayInTheNamespace())
            GTEST_SKIP() << "host lookups here may go through a resolver service outside the namespace";
        ASSERT_TRUE(lab.Up());
    }

    // True when host names are looked up only in local files and by DNS
    // sent from the calling thread's own namespace.
    static bool LookupsStayInTheNamespace() {
        if (std::ifstream("/var/run/nscd/socket").good()) return false;
        std::ifstream nsswitch("/etc/nsswitch.conf");
        std::string line;
        while (std::getline(nsswitch, line)) {
            std::istringstream words(line);
            std::string database, source;
            if (!(words >> database) || database != "hosts:") continue;
            while (words >> source) {
                if (source != "files" && source != "dns") return false;
            }
            return true;
        }
        return false;
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
