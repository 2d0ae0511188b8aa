#include "ModalCloser.h"
#include "RecordingMessageBoxes.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"
#include "ui/SetIPApp.h"
#include "ui/SetIPDlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

class SetIPAppTest : public ::testing::Test {
protected:
    void SetUp() override { ResetOsVersionClassForTesting(); }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }

    // Starts the program; the main dialog, if it comes, is closed at once.
    void Run() {
        ModalCloser closer([this](QWidget* window) { shownDialogs.push_back(window->windowTitle().toStdString()); });
        SetIPApp startUp;
        EXPECT_FALSE(startUp.InitInstance());
    }

    ScopedFakePlatform platform;
    RecordingMessageBoxes boxes;
    std::vector<std::string> shownDialogs;
};

TEST_F(SetIPAppTest, ConfiguresTheLogAndRunsTheMainDialog) {
    Run();
    EXPECT_EQ(Log::Instance().ModuleTag(), "QRM");
    EXPECT_EQ(Log::Instance().DebuggerLevel(), 3);
    EXPECT_EQ(Log::Instance().FileLevel(), 0);
    EXPECT_FALSE(Log::Instance().FilePath().has_value());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TARVIK Addrix"});
}

TEST_F(SetIPAppTest, WithoutSocketsItShowsMessage230AndNoDialog) {
    platform->socketsAvailable = false;
    Run();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Windows sockets initialization failed.");
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(shownDialogs.empty());
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
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    const std::string& text = boxes.shown[0].text;
    EXPECT_THAT(text, HasSubstr(std::string("rights it needs: ") + GetParam().missing + "."));
    EXPECT_THAT(text, HasSubstr("setcap cap_net_raw,cap_net_admin+ep " +
                                QCoreApplication::applicationFilePath().toStdString()));
    EXPECT_THAT(text, HasSubstr("TARVIK Addrix"));
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TARVIK Addrix"});
}

INSTANTIATE_TEST_SUITE_P(Rights, MissingRights,
                         ::testing::Values(RightsCase{"NoEcho", false, true, "CAP_NET_RAW"},
                                           RightsCase{"NoNeighbours", true, false, "CAP_NET_ADMIN"},
                                           RightsCase{"Neither", false, false, "CAP_NET_RAW, CAP_NET_ADMIN"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
