#include "DialogFixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// --- Start ------------------------------------------------------------------

TEST_F(DialogFixture, OpensIdleWithTheLocalNetworkProposed) {
    Open();
    EXPECT_EQ(view.caption, "TARVIK Addrix");
    EXPECT_EQ(view.Control(ControlIds::kHint).text,
              "To enable IP address assignment, please restart the Tarvik network device and wait 10 seconds.");
    EXPECT_EQ(view.AddressText(), "192.168.5.0");
    EXPECT_EQ(view.Control(ControlIds::kSerialNumber).text, "02C0A7");
    EXPECT_EQ(view.Control(ControlIds::kSerialNumber).limit, 12);
    EXPECT_EQ(view.defaultButton, ControlIds::kExitButton);
    EXPECT_EQ(view.Control(ControlIds::kExitButton).text, "E&xit");
    EXPECT_FALSE(view.Control(ControlIds::kHint).shown);
    EXPECT_EQ(view.focus, ControlIds::kSerialNumber);
    EXPECT_EQ(view.Control(ControlIds::kProgressBar).barPosition, 0u);
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.icon, kMainIconId);
    EXPECT_THAT(view.menuItems, ElementsAre(std::pair<int, std::string>{16, "&About TARVIK Addrix..."}));
}

TEST_F(DialogFixture, TheMacrosReachCaptionAndEveryText) {
    Open();
    std::vector<std::string> texts;
    view.Window().ForEachChild([&](MacroWindow& child) { texts.push_back(child.Text()); });
    EXPECT_THAT(texts, ::testing::Contains("TARVIK Addrix assigns IP addresses to TARVIK network devices."));
}

TEST_F(DialogFixture, TheAddressFieldsGetTheirRanges) {
    Open();
    const auto& ranges = view.Control(ControlIds::kAddress).ranges;
    EXPECT_EQ(ranges[0], std::make_pair(0, 255));
    EXPECT_EQ(ranges[1], std::make_pair(0, 255));
    EXPECT_EQ(ranges[2], std::make_pair(0, 255));
    EXPECT_EQ(ranges[3], std::make_pair(1, 254));
}

TEST_F(DialogFixture, WithoutAnAboutTextTheMenuStaysAsItIs) {
    platform->strings.erase(101);
    Open();
    EXPECT_TRUE(view.menuItems.empty());
}

// --- Validation ---------------------------------------------------------------

struct ValidationCase {
    const char* serial;
    const char* address;
    const char* message;
    int focus;  // the control that has the focus afterwards, its text selected
};

std::ostream& operator<<(std::ostream& out, const ValidationCase& c) { return out << c.serial << " " << c.address; }

class Validation : public DialogFixture, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(Validation, TheFirstFailingCheckShowsItsMessageAndStops) {
    Open();
    Enter(GetParam().serial, GetParam().address);
    view.selectedAll = 0;
    dialog->OnCommand(ControlIds::kSetIPButton);

    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, GetParam().message);
    EXPECT_EQ(view.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.shown[0].caption, "Addrix");
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPBtn - Format error in data fields"));
    EXPECT_TRUE(platform->EchoCalls().empty());
    EXPECT_EQ(view.focus, GetParam().focus);
    // The serial number and the validity checks select; the filled check does not.
    const bool selects = std::string(GetParam().message) != "Invalid IP address!";
    EXPECT_EQ(view.selectedAll, selects ? GetParam().focus : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Validation,
    ::testing::Values(
        ValidationCase{"02C0A7", "192.168.5.77", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"02C0A7A1B2CG", "192.168.5.77", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"FFFFFFFFFFFF", "192.168.5.77", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"01005E000001", "192.168.5.77", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"000000000000", "192.168.5.77", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"02C0A7 1B2C3", "192.168.5.", "Invalid serial number!", ControlIds::kSerialNumber},
        ValidationCase{"02C0A7A1B2C3", "192.168.5.", "Invalid IP address!", ControlIds::kAddress},
        ValidationCase{"02C0A7A1B2C3", "..5.77", "Invalid IP address!", ControlIds::kAddress},
        ValidationCase{"02C0A7A1B2C3", "192.168.5.0", "The selected IP Address 192.168.5.0 is not valid.",
                       ControlIds::kAddress},
        ValidationCase{"02C0A7A1B2C3", "0.168.5.7", "The selected IP Address 0.168.5.7 is not valid.",
                       ControlIds::kAddress},
        ValidationCase{"02C0A7A1B2C3", "10.1.2.3", "The adress 10.1.2.3 is not reachable from the local subnet. ",
                       ControlIds::kAddress}));

TEST_F(DialogFixture, ATooLongSerialNumberFailsWithTheLimitMessage) {
    Open();
    Enter("02C0A7A1B2C3D", kAddress);
    dialog->OnCommand(ControlIds::kSetIPButton);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, "Please enter no more than 12 characters.");
    EXPECT_EQ(view.focus, ControlIds::kSerialNumber);
}

TEST_F(DialogFixture, ABlankFieldEmptiesTheAddressText) {
    Open();
    Enter(kSerial, "192.168..77");
    dialog->OnCommand(ControlIds::kSetIPButton);
    EXPECT_EQ(dialog->SerialNumber(), kSerial);
    EXPECT_EQ(dialog->Address(), "");
}

TEST_F(DialogFixture, OldWindowsSkipsTheSubnetCheck) {
    platform->osVersion = OsVersion{kPlatformWin32NT, 4, 0};
    Open();
    Enter(kSerial, "10.1.2.3");
    dialog->OnCommand(ControlIds::kSetIPButton);
    EXPECT_TRUE(view.shown.empty());
    EXPECT_TRUE(dialog->IsBusy());
}

// --- Busy ------------------------------------------------------------------------

TEST_F(DialogFixture, APassingSetStartsTheJob) {
    Open();
    StartAssignment();
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPBtn - Set device '02C0A7A1B2C3' to ip address '192.168.5.77'"));
    EXPECT_FALSE(view.Control(ControlIds::kSerialNumber).enabled);
    EXPECT_FALSE(view.Control(ControlIds::kAddress).enabled);
    EXPECT_FALSE(view.Control(ControlIds::kSetIPButton).enabled);
    EXPECT_FALSE(view.Control(ControlIds::kHomePageButton).enabled);
    EXPECT_TRUE(view.Control(ControlIds::kExitButton).enabled);
    EXPECT_EQ(view.Control(ControlIds::kExitButton).text, "&Cancel");
    EXPECT_EQ(view.defaultButton, ControlIds::kExitButton);
    EXPECT_EQ(view.focus, ControlIds::kExitButton);
    EXPECT_TRUE(view.Control(ControlIds::kHint).shown);
    EXPECT_TRUE(view.Control(ControlIds::kSerialNumberLabel).enabled);
    EXPECT_TRUE(view.Control(ControlIds::kAddressLabel).enabled);
    EXPECT_TRUE(view.Control(ControlIds::kProgressBar).barTimerRunning);
    EXPECT_EQ(view.Control(ControlIds::kProgressBar).barInterval, 500u);
    EXPECT_EQ(view.Control(ControlIds::kProgressBar).barHigh, 1200000u);
    ASSERT_TRUE(view.WaitFor([&] { return !platform->EchoCalls().empty(); }));
    EXPECT_EQ(platform->EchoCalls()[0].address, Platform::System().InetAddr(kAddress));
}

// How an attempt ends, and what the dialog looks like afterwards.
struct EndingCase {
    const char* name;
    std::function<void(DialogFixture&)> end;
    const char* message;  // null: none
    MessageIcon icon;
    const char* logLine;
    bool homePageIsDefault;  // else Set IP, with the last address field focused
    bool entryAdded;
    std::function<void(DialogFixture&)> prepare = nullptr;  // before the attempt starts
};

std::ostream& operator<<(std::ostream& out, const EndingCase& c) { return out << c.name; }

class Ending : public DialogFixture, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(Ending, ReturnsToIdle) {
    Open();
    if (GetParam().prepare) GetParam().prepare(*this);
    StartAssignment();
    if (GetParam().entryAdded) {
        ASSERT_TRUE(view.WaitFor([&] { return !platform->ArpCalls().empty(); }));
    }
    GetParam().end(*this);
    ASSERT_TRUE(view.WaitFor([&] { return !dialog->IsBusy(); }));
    view.DeliverPosted();

    if (GetParam().message) {
        ASSERT_EQ(view.shown.size(), 1u);
        EXPECT_EQ(view.shown[0].text, GetParam().message);
        EXPECT_EQ(view.shown[0].icon, GetParam().icon);
        EXPECT_EQ(view.shown[0].caption, "Addrix");
    } else {
        EXPECT_TRUE(view.shown.empty());
    }
    EXPECT_TRUE(HasLine(GetParam().logLine)) << GetParam().logLine;
    for (int id : {ControlIds::kSerialNumber, ControlIds::kAddress, ControlIds::kSetIPButton,
                   ControlIds::kHomePageButton, ControlIds::kExitButton})
        EXPECT_TRUE(view.Control(id).enabled) << id;
    EXPECT_EQ(view.Control(ControlIds::kExitButton).text, "E&xit");
    EXPECT_FALSE(view.Control(ControlIds::kHint).shown);
    EXPECT_EQ(view.Control(ControlIds::kProgressBar).barPosition, 0u);
    EXPECT_FALSE(view.Control(ControlIds::kProgressBar).barTimerRunning);
    EXPECT_FALSE(view.ended);
    if (GetParam().homePageIsDefault) {
        EXPECT_EQ(view.defaultButton, ControlIds::kHomePageButton);
        EXPECT_EQ(view.focus, ControlIds::kHomePageButton);
    } else {
        EXPECT_EQ(view.defaultButton, ControlIds::kSetIPButton);
        EXPECT_EQ(view.focus, ControlIds::kAddress);
        EXPECT_EQ(view.focusedField, 3);
    }
    // Whatever the ending, the job leaves no neighbour entry behind.
    if (GetParam().entryAdded) {
        ASSERT_TRUE(WaitForEntryRemoved());
        EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3", "-d 192.168.5.77"));
    } else {
        EXPECT_TRUE(platform->ArpCalls().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Ending,
    ::testing::Values(
        EndingCase{
            "Success", [](DialogFixture& t) { t.deviceAnswers = true; },
            "The IP address 192.168.5.77 was successfully assigned\nto 02C0A7A1B2C3.\n\nClick the View Home Page "
            "button to access the device's home page and to configure other network settings.",
            MessageIcon::Information,
            "QRM:T:SetIPDlg::OnSetIPSuccess - Device '02C0A7A1B2C3' was set to '192.168.5.77'", true, true},
        EndingCase{
            "InUse", [](DialogFixture&) {},
            "The IP address 192.168.5.77 is already in use.\n\nClick the View Home Page button to access the "
            "device currently using this IP address, or enter a different IP address and try again.",
            MessageIcon::Exclamation,
            "QRM:T:SetIPDlg::OnSetIPInUse - Failed to set device '02C0A7A1B2C3' to '192.168.5.77', address in use",
            false, false, [](DialogFixture& t) { t.addressInUse = true; }},
        EndingCase{
            "AddressHeld", [](DialogFixture&) {},
            "The IP address 192.168.5.77 is being assigned by another run of TARVIK Addrix.\n\nWait until that run "
            "has finished, or enter a different IP address and try again.",
            MessageIcon::Exclamation,
            "QRM:T:SetIPDlg::OnSetIPHeld - Failed to set device '02C0A7A1B2C3' to '192.168.5.77', address held by "
            "another run",
            false, false,
            [](DialogFixture& t) {
                t.platform->addressesHeldElsewhere.insert(Platform::System().InetAddr(DialogFixture::kAddress));
            }},
        EndingCase{"TimeOut", [](DialogFixture& t) { t.Expire(); },
                   "Failed to assign IP address 192.168.5.77 to 02C0A7A1B2C3.", MessageIcon::Error,
                   "QRM:T:Failed to set device '02C0A7A1B2C3' to '192.168.5.77', timout", false, true},
        EndingCase{"CancelButton", [](DialogFixture& t) { t.PressCancel(); }, nullptr, MessageIcon::Information,
                   "QRM:T:SetIPDlg::OnClose - Canceling", false, true},
        EndingCase{"CloseWindow", [](DialogFixture& t) { t.CloseWindow(); }, nullptr, MessageIcon::Information,
                   "QRM:T:SetIPDlg::OnClose - Canceling", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFixture, AnEntryThatCannotBeAddedEndsTheAttemptWithAMessage) {
    Open();
    platform->onSetNeighbour = [](IPv4Address, const MacAddress&) { return false; };
    StartAssignment();
    ASSERT_TRUE(view.WaitFor([&] { return !dialog->IsBusy(); }));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text,
              "The IP address 192.168.5.77 could not be bound to 02C0A7A1B2C3 in the host's neighbour (ARP) table, so "
              "the device cannot be reached.\n\nCheck that TARVIK Addrix has the rights to change the network "
              "configuration, and try again.");
    EXPECT_EQ(view.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(view.shown[0].caption, "Addrix");
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPFailed - Failed to set device '02C0A7A1B2C3' to '192.168.5.77'"));
    for (int id : {ControlIds::kSerialNumber, ControlIds::kAddress, ControlIds::kSetIPButton,
                   ControlIds::kHomePageButton, ControlIds::kExitButton})
        EXPECT_TRUE(view.Control(id).enabled) << id;
    EXPECT_EQ(view.defaultButton, ControlIds::kSetIPButton);
    EXPECT_EQ(view.focus, ControlIds::kAddress);
    EXPECT_EQ(view.focusedField, 3);
    EXPECT_FALSE(view.Control(ControlIds::kProgressBar).barTimerRunning);
    EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3"));
}

TEST_F(DialogFixture, AWorkerThatCannotStartEndsTheAttemptWithAMessage) {
    Open();
    platform->onStartThread = [](std::function<void()>&) { return false; };
    Enter(kSerial, kAddress);
    dialog->OnCommand(ControlIds::kSetIPButton);
    ASSERT_TRUE(view.WaitFor([&] { return !dialog->IsBusy(); }));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_THAT(view.shown[0].text, HasSubstr("could not be bound to 02C0A7A1B2C3"));
    EXPECT_TRUE(platform->EchoCalls().empty());
    EXPECT_EQ(view.defaultButton, ControlIds::kSetIPButton);
}

TEST_F(DialogFixture, ASuccessPostedJustBeforeTheTimeOutIsStillShown) {
    Open();
    StartAssignment();
    deviceAnswers = true;
    ASSERT_TRUE(WaitForWorkerStopped());
    dialog->OnTimer(1);

    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(view.shown[0].text, "Failed to assign IP address 192.168.5.77 to 02C0A7A1B2C3.");
    EXPECT_THAT(view.shown[1].text, HasSubstr("was successfully assigned"));
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_EQ(view.defaultButton, ControlIds::kSetIPButton);
}

TEST_F(DialogFixture, AnInUsePostedJustBeforeACancelIsStillShown) {
    Open();
    addressInUse = true;
    StartAssignment();
    ASSERT_TRUE(WaitForWorkerStopped());
    PressCancel();
    EXPECT_TRUE(view.shown.empty());
    view.DeliverPosted();
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_THAT(view.shown[0].text, HasSubstr("is already in use"));
    EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(DialogFixture, OtherTimersAreNotATimeOut) {
    Open();
    StartAssignment();
    dialog->OnMessage(DialogMessage::Timer, 2);
    EXPECT_TRUE(dialog->IsBusy());
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DialogFixture, AnUnknownJobEventIsOnlyLogged) {
    Open();
    EXPECT_FALSE(dialog->OnEvent(static_cast<SetIPEvent>(7), 0));
    view.DeliverPosted();
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnEvent - Unhandled event '7'"));
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DialogFixture, CancelShowsTheWaitCursorWhileItWaits) {
    Open();
    StartAssignment();
    PressCancel();
    EXPECT_EQ(view.maxWaitCursors, 1);
    EXPECT_EQ(view.waitCursors, 0);
}

// --- Ending the dialog ---------------------------------------------------------------

TEST_F(DialogFixture, EscWhileBusyCancelsTheJobAndRemovesItsEntry) {
    Open();
    StartAssignment();
    ASSERT_TRUE(view.WaitFor([&] { return !platform->ArpCalls().empty(); }));
    PressEsc();
    EXPECT_TRUE(view.ended);
    // Already on return, not some time later.
    EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3", "-d 192.168.5.77"));
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DialogFixture, DestroyingTheDialogCancelsItsJobAndWaitsForIt) {
    Open();
    StartAssignment();
    ASSERT_TRUE(view.WaitFor([&] { return !platform->ArpCalls().empty(); }));
    dialog.reset();
    // The worker has ended and removed its entry by the time the dialog is gone.
    EXPECT_TRUE(HasLine("QRM:D:Thread::ThreadStarter - I am stoped"));
    EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3", "-d 192.168.5.77"));
    // A job that was only let go would ping on: let the device answer so that it ends.
    deviceAnswers = true;
}

struct IdleEndingCase {
    const char* name;
    std::function<void(DialogFixture&)> end;
    bool logsClosing;
};

std::ostream& operator<<(std::ostream& out, const IdleEndingCase& c) { return out << c.name; }

class IdleEnding : public DialogFixture, public ::testing::WithParamInterface<IdleEndingCase> {};

TEST_P(IdleEnding, EndsTheDialog) {
    Open();
    GetParam().end(*this);
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(HasLine("QRM:T:SetIPDlg::OnClose - Closing"), GetParam().logsClosing);
}

INSTANTIATE_TEST_SUITE_P(Ways, IdleEnding,
                         ::testing::Values(IdleEndingCase{"Exit", [](DialogFixture& t) { t.PressCancel(); }, true},
                                           IdleEndingCase{"Close", [](DialogFixture& t) { t.CloseWindow(); }, true},
                                           IdleEndingCase{"Esc", [](DialogFixture& t) { t.PressEsc(); }, false},
                                           IdleEndingCase{"Enter", [](DialogFixture& t) { t.PressEnter(); }, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFixture, AfterAnEndingEnterStartsTheNextAttempt) {
    Open();
    StartAssignment();
    PressCancel();
    ASSERT_FALSE(dialog->IsBusy());
    PressEnter();
    EXPECT_TRUE(dialog->IsBusy());
}

// --- Home page -------------------------------------------------------------------------

struct HomePageCase {
    const char* name;
    const char* address;
    int answerAt;  // the ping that is answered, 0 for none
    bool browserOpens;
    size_t pings;
    const char* message;  // null: none
    MessageIcon icon;
    std::vector<std::string> lines;
};

std::ostream& operator<<(std::ostream& out, const HomePageCase& c) { return out << c.name; }

class HomePage : public DialogFixture, public ::testing::WithParamInterface<HomePageCase> {};

TEST_P(HomePage, PingsThenOpensTheBrowser) {
    Open();
    view.TypeAddress(GetParam().address);
    int pings = 0;
    bool waitCursorWhilePinging = true;
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        waitCursorWhilePinging = waitCursorWhilePinging && view.waitCursors == 1;
        return ++pings == GetParam().answerAt;
    };
    platform->onOpenUrl = [&](const std::string&) { return GetParam().browserOpens; };
    platform->ClearRecords();
    dialog->OnCommand(ControlIds::kHomePageButton);

    const auto echoes = platform->EchoCalls();
    ASSERT_EQ(echoes.size(), GetParam().pings);
    for (const auto& echo : echoes) {
        EXPECT_EQ(echo.address, Platform::System().InetAddr(GetParam().address));
        EXPECT_EQ(echo.timeoutMs, 500u);
        EXPECT_EQ(echo.payloadSize, 0u);
    }
    if (GetParam().answerAt > 0) {
        EXPECT_THAT(platform->OpenedUrls(), ElementsAre(std::string("http://") + GetParam().address));
    } else {
        EXPECT_TRUE(platform->OpenedUrls().empty());
    }
    if (GetParam().message) {
        ASSERT_EQ(view.shown.size(), 1u);
        EXPECT_EQ(view.shown[0].text, GetParam().message);
        EXPECT_EQ(view.shown[0].icon, GetParam().icon);
    } else {
        EXPECT_TRUE(view.shown.empty());
    }
    for (const std::string& line : GetParam().lines) EXPECT_TRUE(HasLine(line)) << line;
    EXPECT_TRUE(waitCursorWhilePinging);
    EXPECT_EQ(view.waitCursors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HomePage,
    ::testing::Values(HomePageCase{"NoReply",
                                   "192.168.5.9",
                                   0,
                                   true,
                                   4,
                                   "There is no device with the IP address 192.168.5.9.",
                                   MessageIcon::Exclamation,
                                   {"QRM:T:SetIPDlg::OnHomePageBtn - No contact with address '192.168.5.9'"}},
                      HomePageCase{"FirstReply",
                                   "192.168.5.9",
                                   1,
                                   true,
                                   1,
                                   nullptr,
                                   MessageIcon::Information,
                                   {"QRM:T:SetIPDlg::OnHomePageBtn - '192.168.5.9' exists",
                                    "QRM:T:SetIPDlg::OnHomePageBtn - Opening 'http://192.168.5.9'"}},
                      HomePageCase{"LastReply",
                                   "10.0.0.1",
                                   4,
                                   true,
                                   4,
                                   nullptr,
                                   MessageIcon::Information,
                                   {"QRM:T:SetIPDlg::OnHomePageBtn - Opening 'http://10.0.0.1'"}},
                      HomePageCase{"BrowserFails",
                                   "192.168.5.9",
                                   2,
                                   false,
                                   2,
                                   "Failed to launch the default web browser.",
                                   MessageIcon::Error,
                                   {"QRM:E:SetIPDlg::OnHomePageBtn - Could not launch web browser"}}),
    [](const auto& info) { return std::string(info.param.name); });

class HomePageOfNoAddress : public DialogFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(HomePageOfNoAddress, SaysSoAtOnceWithoutLookingTheTextUp) {
    Open();
    view.TypeAddress(GetParam());
    platform->ClearRecords();
    dialog->OnCommand(ControlIds::kHomePageButton);
    EXPECT_TRUE(platform->LookedUpNames().empty());
    EXPECT_TRUE(platform->EchoCalls().empty());
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, std::string("There is no device with the IP address ") + GetParam() + ".");
    EXPECT_TRUE(HasLine(std::string("QRM:T:SetIPDlg::OnHomePageBtn - No contact with address '") + GetParam() + "'"));
}

INSTANTIATE_TEST_SUITE_P(Texts, HomePageOfNoAddress,
                         ::testing::Values("192.168.5.", "10.213.7.", "...", "999.1.1.1", "10.213.7.300"));

TEST_F(DialogFixture, TheHomePageOfAFieldWithLeadingZerosIsItsDecimalAddress) {
    Open();
    view.TypeAddress("192.168.005.050");
    platform->onEcho = [](const FakePlatform::EchoCall&) { return true; };
    platform->ClearRecords();
    dialog->OnCommand(ControlIds::kHomePageButton);
    ASSERT_EQ(platform->EchoCalls().size(), 1u);
    EXPECT_EQ(platform->EchoCalls()[0].address, Platform::System().InetAddr("192.168.5.50"));
    EXPECT_EQ(platform->OpenedUrls(), std::vector<std::string>{"http://192.168.5.50"});
}

TEST_F(DialogFixture, TheAddressSentHasNoLeadingZeros) {
    Open();
    Enter(kSerial, "192.168.005.077");
    dialog->OnCommand(ControlIds::kSetIPButton);
    ASSERT_TRUE(dialog->IsBusy());
    EXPECT_EQ(dialog->Address(), "192.168.5.77");
    ASSERT_TRUE(view.WaitFor([&] { return !platform->EchoCalls().empty(); }));
    EXPECT_EQ(platform->EchoCalls()[0].address, Platform::System().InetAddr("192.168.5.77"));
}

// Fields beyond their range are refused as typed: nothing is brought into
// range and sent.
class OutOfRangeField : public DialogFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(OutOfRangeField, IsRefusedWithMessage211) {
    Open();
    Enter(kSerial, GetParam());
    dialog->OnCommand(ControlIds::kSetIPButton);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, std::string("The selected IP Address ") + GetParam() + " is not valid.");
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_EQ(view.focus, ControlIds::kAddress);
    EXPECT_TRUE(platform->EchoCalls().empty());
}

INSTANTIATE_TEST_SUITE_P(Addresses, OutOfRangeField,
                         ::testing::Values("192.168.5.255", "192.168.256.7", "999.168.5.7", "192.168.5.300"));

// --- About -------------------------------------------------------------------------------

TEST_F(DialogFixture, TheAboutCommandRunsTheAboutBox) {
    Open();
    dialog->OnSysCommand(kAboutCommand);
    dialog->OnSysCommand(kAboutCommand | 0x5);  // the low four bits are the system's
    dialog->OnSysCommand(0xF060);               // Close is not About
    EXPECT_EQ(view.aboutBoxes, 2);
}

TEST_F(DialogFixture, JobOutcomesArriveWhileTheAboutBoxIsOpen) {
    Open();
    StartAssignment();
    ASSERT_TRUE(view.WaitFor([&] { return !platform->ArpCalls().empty(); }));
    deviceAnswers = true;
    bool shownWhileOpen = false;
    // The About box's own loop delivers what is posted meanwhile.
    view.whileAbout = [&] { shownWhileOpen = view.WaitFor([&] { return !view.shown.empty(); }); };
    dialog->OnSysCommand(kAboutCommand);
    EXPECT_TRUE(shownWhileOpen);
    EXPECT_FALSE(dialog->IsBusy());
}

}  // namespace
