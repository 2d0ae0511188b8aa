#include "dialog/SetIPApp.h"

#include "FakeView.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// Start-up's view: records boxes and main dialogs.
class RecordingApplicationView : public ApplicationView {
public:
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override {
        shown.push_back({text, icon, caption});
    }
    void RunMainDialog() override { ++mainDialogs; }
    std::string ProgramPath() override { return "/opt/addrix/addrix"; }

    std::vector<ShownMessage> shown;
    int mainDialogs = 0;
};

class SetIPAppTest : public ::testing::Test {
protected:
    void SetUp() override { ResetOsVersionClassForTesting(); }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }

    void Run() {
        SetIPApp startUp(view);
        EXPECT_FALSE(startUp.InitInstance());
    }

    ScopedFakePlatform platform;
    RecordingApplicationView view;
};

TEST_F(SetIPAppTest, ConfiguresTheLogAndRunsTheMainDialog) {
    Run();
    EXPECT_EQ(Log::Instance().ModuleTag(), "QRM");
    EXPECT_EQ(Log::Instance().DebuggerLevel(), 3);
    EXPECT_EQ(Log::Instance().FileLevel(), 0);
    EXPECT_FALSE(Log::Instance().FilePath().has_value());
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.mainDialogs, 1);
}

TEST_F(SetIPAppTest, WithoutSocketsItShowsMessage230AndNoDialog) {
    platform->socketsAvailable = false;
    Run();
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, "Windows sockets initialization failed.");
    EXPECT_EQ(view.shown[0].caption, "Addrix");
    EXPECT_EQ(view.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.mainDialogs, 0);
}

struct RightsCase {
    const char* name;
    bool canSendEcho;
    bool canChangeNeighbours;
    const char* missing;
};

std::ostream& operator<<(std::ostream& out, const RightsCase& c) { return out << c.name; }

class MissingRights : public SetIPAppTest, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(MissingRights, AreNamedOnceWithTheWayToGrantThem) {
    platform->rights = NetworkRights{GetParam().canSendEcho, GetParam().canChangeNeighbours};
    Run();
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.shown[0].caption, "Addrix");
    const std::string& text = view.shown[0].text;
    EXPECT_THAT(text, HasSubstr(std::string("rights it needs: ") + GetParam().missing + "."));
    EXPECT_THAT(text, HasSubstr("setcap cap_net_raw,cap_net_admin+ep /opt/addrix/addrix"));
    EXPECT_THAT(text, HasSubstr("TARVIK Addrix"));
    EXPECT_EQ(view.mainDialogs, 1);
}

INSTANTIATE_TEST_SUITE_P(Rights, MissingRights,
                         ::testing::Values(RightsCase{"NoEcho", false, true, "CAP_NET_RAW"},
                                           RightsCase{"NoNeighbours", true, false, "CAP_NET_ADMIN"},
                                           RightsCase{"Neither", false, false, "CAP_NET_RAW, CAP_NET_ADMIN"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
