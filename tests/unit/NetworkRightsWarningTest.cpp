#include "net/NetworkRightsWarning.h"
#include "platform/fake/FakePlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

struct RightsCase {
    const char* name;
    NetworkRights rights;
    bool needsNeighbours;
    const char* missing;  // null: no warning
};

void PrintTo(const RightsCase& c, std::ostream* os) { *os << c.name; }

class NetworkRightsWarningTest : public ::testing::TestWithParam<RightsCase> {
protected:
    ScopedFakePlatform platform;
};

TEST_P(NetworkRightsWarningTest, NamesWhatIsMissingAndHowToGrantIt) {
    const RightsCase& c = GetParam();
    const std::string warning = NetworkRightsWarning(c.rights, c.needsNeighbours, "/opt/addrix/addrix");
    if (!c.missing) {
        EXPECT_EQ(warning, "");
        return;
    }
    EXPECT_THAT(warning, HasSubstr(std::string("TARVIK Addrix lacks network rights it needs: ") + c.missing + "."));
    EXPECT_THAT(warning, HasSubstr("setcap cap_net_raw,cap_net_admin+ep /opt/addrix/addrix"));
}

INSTANTIATE_TEST_SUITE_P(
    Rights, NetworkRightsWarningTest,
    ::testing::Values(RightsCase{"All", {true, true}, true, nullptr},
                      RightsCase{"NoEcho", {false, true}, true, "CAP_NET_RAW"},
                      RightsCase{"NoNeighbours", {true, false}, true, "CAP_NET_ADMIN"},
                      RightsCase{"Neither", {false, false}, true, "CAP_NET_RAW, CAP_NET_ADMIN"},
                      RightsCase{"NoNeighboursNotNeeded", {true, false}, false, nullptr},
                      RightsCase{"NoEchoNeighboursNotNeeded", {false, false}, false, "CAP_NET_RAW"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
