#include "net/NetUtil.h"

#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

std::string FoundLine(const std::string& address, const std::string& mask) {
    return "QRM:D:NetUtil::IsIpAddressInSubnet - Found network card on computer with ipaddr: '" + address +
           "' and subnet mask '" + mask + "'";
}

std::string MatchLine(const std::string& address, const std::string& mask, const std::string& selected) {
    return "QRM:D:NetUtil::IsIpAddressInSubnet - The ipaddr: '" + address + "' and subnet mask '" + mask +
           "' is on the same subnet as the slected ip address '" + selected + "'";
}

class SubnetCheckTest : public ::testing::Test {
protected:
    void SetUp() override { Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr); }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }

    void SetAdapters(std::vector<Adapter> adapters) {
        platform->adapters = AdapterList{AdapterList::Status::Ok, std::move(adapters)};
    }

    ScopedFakePlatform platform;
};

TEST_F(SubnetCheckTest, OneAdapterHoldsItsOwnSubnetOnly) {
    SetAdapters({{{{"192.168.1.20", "255.255.255.0"}}}});

    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("192.168.1.77"), "192.168.1.20");
    EXPECT_EQ(platform->DebugLines(), (Lines{FoundLine("192.168.1.20", "255.255.255.0"),
                                             MatchLine("192.168.1.20", "255.255.255.0", "192.168.1.77")}));

    platform->ClearRecords();
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("192.168.2.77"), "");
    EXPECT_EQ(platform->DebugLines(), Lines{FoundLine("192.168.1.20", "255.255.255.0")});
}

TEST_F(SubnetCheckTest, WalkStopsAtTheFirstMatchingEntry) {
    struct Case {
        std::string name;
        std::vector<Adapter> adapters;
        std::string result;
        Lines found;  // the entries visited, as address and mask
    } cases[] = {
        {"second adapter",
         {{{{"10.0.0.5", "255.0.0.0"}}},
          {{{"192.168.1.20", "255.255.255.0"}}},
          {{{"192.168.1.30", "255.255.0.0"}}}},
         "192.168.1.20",
         {"10.0.0.5", "255.0.0.0", "192.168.1.20", "255.255.255.0"}},
        {"second entry of an adapter",
         {{{{"10.0.0.5", "255.0.0.0"}, {"192.168.1.21", "255.255.255.0"}, {"192.168.1.22", "255.255.255.0"}}},
          {{{"192.168.1.30", "255.255.0.0"}}}},
         "192.168.1.21",
         {"10.0.0.5", "255.0.0.0", "192.168.1.21", "255.255.255.0"}},
        {"no entry",
         {{{{"10.0.0.5", "255.0.0.0"}, {"172.16.0.1", "255.255.0.0"}}}, {{{"192.168.3.1", "255.255.255.0"}}}},
         "",
         {"10.0.0.5", "255.0.0.0", "172.16.0.1", "255.255.0.0", "192.168.3.1", "255.255.255.0"}},
        // An adapter without an address never matches, even under a mask that
        // would take in everything.
        {"unset address", {{{{"0.0.0.0", "0.0.0.0"}, {"", ""}}}}, "", {"0.0.0.0", "0.0.0.0", "", ""}},
        {"adapter without entries", {{}, {{{"192.168.1.20", "255.255.255.0"}}}}, "192.168.1.20",
         {"192.168.1.20", "255.255.255.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetAdapters(c.adapters);
        platform->ClearRecords();
        EXPECT_EQ(NetUtil::IsIpAddressInSubnet("192.168.1.77"), c.result);
        Lines expected;
        for (size_t index = 0; index + 1 < c.found.size(); index += 2) {
            expected.push_back(FoundLine(c.found[index], c.found[index + 1]));
        }
        if (!c.result.empty()) expected.push_back(MatchLine(c.result, c.found.back(), "192.168.1.77"));
        EXPECT_EQ(platform->DebugLines(), expected);
    }
}

TEST_F(SubnetCheckTest, InvalidSelectedAddressMatchesNothingButEveryEntryIsLogged) {
    SetAdapters({{{{"192.168.1.20", "0.0.0.0"}}}, {{{"10.1.1.1", "0.0.0.0"}}}});
    for (const char* selected : {"192.168.1.0", "192.168.1", "192.168.1.77x", ""}) {
        platform->ClearRecords();
        EXPECT_EQ(NetUtil::IsIpAddressInSubnet(selected), "") << selected;
        EXPECT_EQ(platform->DebugLines(),
                  (Lines{FoundLine("192.168.1.20", "0.0.0.0"), FoundLine("10.1.1.1", "0.0.0.0")}))
            << selected;
    }
}

TEST_F(SubnetCheckTest, ResultIsTheEntrysTextAsTheSystemGaveIt) {
    SetAdapters({{{{"192.168.001.020", "255.255.255.0"}}}});
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet(" 192.168.1.77 "), "192.168.001.020");
}

TEST_F(SubnetCheckTest, EachFailureKindLogsItsErrorAndGivesTheEmptyResult) {
    struct Case {
        AdapterList::Status status;
        std::string line;
    } cases[] = {
        {AdapterList::Status::NotSupported,
         "QRM:E:NetUtil::IsIpAddressInSubnet - The system not support GetAdaptersInfo API function!"},
        {AdapterList::Status::ListChanged, "QRM:E:NetUtil::IsIpAddressInSubnet - Unknow error!"},
        {AdapterList::Status::NoAdapter, "QRM:E:NetUtil::IsIpAddressInSubnet - No net device information!"},
    };
    for (const Case& c : cases) {
        // Whatever list came with the failure is not walked.
        platform->adapters = AdapterList{c.status, {{{{"192.168.1.20", "255.255.255.0"}}}}};
        platform->ClearRecords();
        EXPECT_EQ(NetUtil::IsIpAddressInSubnet("192.168.1.77"), "");
        EXPECT_EQ(platform->DebugLines(), Lines{c.line});
    }
}

TEST_F(SubnetCheckTest, EmptyListWalksNothing) {
    SetAdapters({});
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet("192.168.1.77"), "");
    EXPECT_EQ(platform->DebugLines(), Lines{});
}

TEST_F(SubnetCheckTest, AbsentOrOverlongSelectedAddressQueriesNothing) {
    SetAdapters({{{{"192.168.1.20", "0.0.0.0"}}}});
    const std::string overlong = std::string(256 - 12, ' ') + "192.168.1.77";
    for (const char* selected : {static_cast<const char*>(nullptr), overlong.c_str()}) {
        EXPECT_EQ(NetUtil::IsIpAddressInSubnet(selected), "");
    }
    EXPECT_EQ(platform->AdapterQueries(), 0);
    EXPECT_EQ(platform->DebugLines(), Lines{});

    // One character less is checked.
    EXPECT_EQ(NetUtil::IsIpAddressInSubnet(overlong.c_str() + 1), "192.168.1.20");
    EXPECT_EQ(platform->AdapterQueries(), 1);
}

class OsVersionClassTest : public ::testing::Test {
protected:
    void SetUp() override { ResetOsVersionClassForTesting(); }
    void TearDown() override { ResetOsVersionClassForTesting(); }

    ScopedFakePlatform platform;
};

TEST_F(OsVersionClassTest, ClassifiesEveryRowOfTheTable) {
    struct Case {
        OsVersion version;
        int osClass;
    } cases[] = {
        {{kPlatformWin32NT, 3, 51}, 0},
        {{kPlatformWin32NT, 4, 0}, 0},
        {{kPlatformWin32NT, 4, 90}, 0},
        {{kPlatformWin32NT, 5, 0}, 4},
        {{kPlatformWin32NT, 10, 0}, 4},
        {{kPlatformWin32NT, 0xFFFFFFFF, 0}, 4},  // unsigned: not "major 4 or lower"
        {{kPlatformWin32Windows, 4, 0}, 1},
        {{kPlatformWin32Windows, 3, 95}, 1},
        {{kPlatformWin32Windows, 4, 10}, 2},
        {{kPlatformWin32Windows, 4, 1}, 2},
        {{kPlatformWin32Windows, 5, 0}, 2},
        {{kPlatformWin32Windows, 4, 89}, 2},
        {{kPlatformWin32Windows, 4, 90}, 3},
        {{kPlatformWin32Windows, 5, 90}, 3},
        {{kPlatformWin32Windows, 4, 0xFFFFFFFF}, 3},  // unsigned: minor 90 or more
        {{kPlatformWin32s, 4, 0}, 5},
        {{kPlatformOther, 6, 1}, 5},
        {{3, 5, 0}, 5},
    };
    for (const Case& c : cases) {
        ResetOsVersionClassForTesting();
        platform->osVersion = c.version;
        EXPECT_EQ(GetOsVersionClass(), c.osClass)
            << "platform " << c.version.platformId << " version " << c.version.major << "." << c.version.minor;
    }
}

TEST_F(OsVersionClassTest, IsDeterminedOnceByTheFirstCall) {
    platform->osVersion = OsVersion{kPlatformWin32NT, 4, 0};
    EXPECT_EQ(GetOsVersionClass(), 0);
    platform->osVersion = OsVersion{kPlatformWin32NT, 5, 1};
    EXPECT_EQ(GetOsVersionClass(), 0);
    EXPECT_EQ(platform->OsVersionQueries(), 1);
}

TEST_F(OsVersionClassTest, FailedQueryLeavesClassFiveForGood) {
    platform->osVersion = std::nullopt;
    EXPECT_EQ(GetOsVersionClass(), 5);
    platform->osVersion = OsVersion{kPlatformWin32NT, 4, 0};
    EXPECT_EQ(GetOsVersionClass(), 5);
    EXPECT_EQ(platform->OsVersionQueries(), 1);
}

TEST_F(OsVersionClassTest, SelectedAddressIsCheckedForValidityThenSubnetExceptOnClassZero) {
    platform->adapters = AdapterList{AdapterList::Status::Ok, {{{{"192.168.1.20", "255.255.255.0"}}}}};
    const struct {
        const char* address;
        OsVersion version;
        AddressVerdict verdict;
        int adapterQueries;
    } cases[] = {
        {"192.168.1.77", {kPlatformOther, 0, 0}, AddressVerdict::Accepted, 1},
        {"192.168.2.77", {kPlatformOther, 0, 0}, AddressVerdict::NotReachable, 1},
        {"192.168.1.0", {kPlatformOther, 0, 0}, AddressVerdict::NotValid, 0},
        {nullptr, {kPlatformOther, 0, 0}, AddressVerdict::NotValid, 0},
        {"192.168.2.77", {kPlatformWin32NT, 4, 0}, AddressVerdict::Accepted, 0},
        {"192.168.2.77", {kPlatformWin32NT, 5, 1}, AddressVerdict::NotReachable, 1},
    };
    for (const auto& c : cases) {
        ResetOsVersionClassForTesting();
        platform->ClearRecords();
        platform->osVersion = c.version;
        EXPECT_EQ(CheckSelectedAddress(c.address), c.verdict) << (c.address ? c.address : "absent");
        EXPECT_EQ(platform->AdapterQueries(), c.adapterQueries) << (c.address ? c.address : "absent");
    }
}

}  // namespace
