#include "DialogFixture.h"
#include "ModalCloser.h"

#include <QMenu>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// --- Start ------------------------------------------------------------------

TEST_F(DialogFixture, OpensIdleWithTheLocalNetworkProposed) {
    Open();
    EXPECT_EQ(dialog->windowTitle(), "TARVIK Addrix");
    EXPECT_EQ(controls().introText->text(), "TARVIK Addrix assigns IP addresses to TARVIK network devices.");
    EXPECT_EQ(controls().ipAddressCtrl->Text(), "192.168.5.0");
    EXPECT_EQ(controls().serialNumberEdit->text(), "02C0A7");
    EXPECT_EQ(controls().serialNumberEdit->maxLength(), 12);
    EXPECT_EQ(DefaultButton(), controls().exitButton);
    EXPECT_EQ(controls().exitButton->text(), "E&xit");
    EXPECT_FALSE(controls().hintText->isVisible());
    EXPECT_TRUE(controls().serialNumberEdit->hasFocus());
    EXPECT_EQ(controls().progressCtrl->value(), 0);
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dialog->isSizeGripEnabled());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(controls().progressCtrl->isTextVisible());
    EXPECT_FALSE(dialog->windowIcon().isNull());
}

TEST_F(DialogFixture, AnUnresolvedHostProposesAllOnes) {
    platform->hosts.clear();
    Open();
    EXPECT_EQ(controls().ipAddressCtrl->Text(), "255.255.255.0");
}

TEST_F(DialogFixture, TheAboutMenuHoldsASeparatorAndTheAboutItem) {
    Open();
    const QList<QAction*> actions = dialog->AboutMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_TRUE(actions[0]->isSeparator());
    EXPECT_EQ(actions[1]->text(), "&About TARVIK Addrix...");
}

TEST_F(DialogFixture, EnterAtStartEndsTheDialog) {
    Open();
    QTest::keyClick(controls().serialNumberEdit, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnClose - Closing"));
}

// --- Validation ---------------------------------------------------------------

struct ValidationCase {
    const char* serial;
    const char* address;
    const char* message;
    // The control that has the focus afterwards: 0 serial number, 1 address.
    int focus;
};

std::ostream& operator<<(std::ostream& out, const ValidationCase& c) { return out << c.serial << " " << c.address; }

class Validation : public DialogFixture, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(Validation, TheFirstFailingCheckShowsItsMessageAndStops) {
    Open();
    Enter(GetParam().serial, GetParam().address);
    controls().setIPButton->click();

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, GetParam().message);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPBtn - Format error in data fields"));
    EXPECT_TRUE(platform->EchoCalls().empty());
    if (GetParam().focus == 0) {
        EXPECT_TRUE(controls().serialNumberEdit->hasFocus());
        EXPECT_EQ(controls().serialNumberEdit->selectedText(), controls().serialNumberEdit->text());
    } else {
        EXPECT_TRUE(controls().ipAddressCtrl->isAncestorOf(QApplication::focusWidget()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Validation,
    ::testing::Values(
        ValidationCase{"02C0A7", "192.168.5.77", "Invalid serial number!", 0},
        ValidationCase{"02C0A7A1B2CG", "192.168.5.77", "Invalid serial number!", 0},
        ValidationCase{"FFFFFFFFFFFF", "192.168.5.77", "Invalid serial number!", 0},  // broadcast
        ValidationCase{"01005E000001", "192.168.5.77", "Invalid serial number!", 0},  // multicast
        ValidationCase{"000000000000", "192.168.5.77", "Invalid serial number!", 0},
        ValidationCase{"02C0A7 1B2C3", "192.168.5.", "Invalid serial number!", 0},
        ValidationCase{"02C0A7A1B2C3", "192.168.5.", "Invalid IP address!", 1},
        ValidationCase{"02C0A7A1B2C3", "..5.77", "Invalid IP address!", 1},
        ValidationCase{"02C0A7A1B2C3", "192.168.5.0", "The selected IP Address 192.168.5.0 is not valid.", 1},
        ValidationCase{"02C0A7A1B2C3", "0.168.5.7", "The selected IP Address 0.168.5.7 is not valid.", 1},
        ValidationCase{"02C0A7A1B2C3", "10.1.2.3", "The adress 10.1.2.3 is not reachable from the local subnet. ", 1}));

TEST_F(DialogFixture, ABlankFieldEmptiesTheAddressText) {
    Open();
    Enter(kSerial, "192.168..77");
    controls().setIPButton->click();
    EXPECT_EQ(dialog->SerialNumber(), kSerial);
    EXPECT_EQ(dialog->Address(), "");
}

TEST_F(DialogFixture, OldWindowsSkipsTheSubnetCheck) {
    platform->osVersion = OsVersion{kPlatformWin32NT, 4, 0};
    Open();
    Enter(kSerial, "10.1.2.3");
    controls().setIPButton->click();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(dialog->IsBusy());
}

// --- Busy ------------------------------------------------------------------------

TEST_F(DialogFixture, APassingSetStartsTheJob) {
    Open();
    StartAssignment();
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPBtn - Set device '02C0A7A1B2C3' to ip address '192.168.5.77'"));
    EXPECT_FALSE(controls().serialNumberEdit->isEnabled());
    EXPECT_FALSE(controls().ipAddressCtrl->isEnabled());
    EXPECT_FALSE(controls().setIPButton->isEnabled());
    EXPECT_FALSE(controls().homePageButton->isEnabled());
    EXPECT_TRUE(controls().exitButton->isEnabled());
    EXPECT_EQ(controls().exitButton->text(), "&Cancel");
    EXPECT_EQ(DefaultButton(), controls().exitButton);
    EXPECT_TRUE(controls().exitButton->hasFocus());
    EXPECT_TRUE(controls().hintText->isVisible());
    EXPECT_TRUE(controls().serialNumberLabel->isEnabled());
    EXPECT_TRUE(controls().ipAddressLabel->isEnabled());
    EXPECT_TRUE(controls().progressCtrl->IsRunning());
    EXPECT_EQ(controls().progressCtrl->maximum(), 1200000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform->EchoCalls().empty(); }, 5000));
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return !platform->ArpCalls().empty(); }, 5000));
    }
    GetParam().end(*this);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsBusy(); }, 5000));
    QCoreApplication::sendPostedEvents();

    if (GetParam().message) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, GetParam().message);
        EXPECT_EQ(boxes.shown[0].icon, GetParam().icon);
        EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    } else {
        EXPECT_TRUE(boxes.shown.empty());
    }
    EXPECT_TRUE(HasLine(GetParam().logLine)) << GetParam().logLine;
    EXPECT_TRUE(controls().serialNumberEdit->isEnabled());
    EXPECT_TRUE(controls().ipAddressCtrl->isEnabled());
    EXPECT_TRUE(controls().setIPButton->isEnabled());
    EXPECT_TRUE(controls().homePageButton->isEnabled());
    EXPECT_TRUE(controls().exitButton->isEnabled());
    EXPECT_EQ(controls().exitButton->text(), "E&xit");
    EXPECT_FALSE(controls().hintText->isVisible());
    EXPECT_EQ(controls().progressCtrl->value(), 0);
    EXPECT_FALSE(controls().progressCtrl->IsRunning());
    EXPECT_TRUE(dialog->isVisible());
    if (GetParam().homePageIsDefault) {
        EXPECT_EQ(DefaultButton(), controls().homePageButton);
        EXPECT_TRUE(controls().homePageButton->hasFocus());
    } else {
        EXPECT_EQ(DefaultButton(), controls().setIPButton);
        EXPECT_TRUE(controls().ipAddressCtrl->Field(3)->hasFocus());
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsBusy(); }, 5000));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The IP address 192.168.5.77 could not be bound to 02C0A7A1B2C3 in the host's neighbour (ARP) table, so "
              "the device cannot be reached.\n\nCheck that TARVIK Addrix has the rights to change the network "
              "configuration, and try again.");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnSetIPFailed - Failed to set device '02C0A7A1B2C3' to '192.168.5.77'"));
    EXPECT_TRUE(controls().setIPButton->isEnabled());
    EXPECT_EQ(DefaultButton(), controls().setIPButton);
    EXPECT_FALSE(controls().progressCtrl->IsRunning());
    EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3"));
}

TEST_F(DialogFixture, AWorkerThatCannotStartEndsTheAttemptWithAMessage) {
    Open();
    platform->onStartThread = [](std::function<void()>&) { return false; };
    Enter(kSerial, kAddress);
    controls().setIPButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsBusy(); }, 5000));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_THAT(boxes.shown[0].text, HasSubstr("could not be bound to 02C0A7A1B2C3"));
    EXPECT_TRUE(platform->EchoCalls().empty());
}

TEST_F(DialogFixture, ASuccessPostedJustBeforeTheTimeOutIsStillShown) {
    Open();
    StartAssignment();
    deviceAnswers = true;
    ASSERT_TRUE(WaitForWorkerStopped());
    dialog->OnTimer(1);

    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Failed to assign IP address 192.168.5.77 to 02C0A7A1B2C3.");
    EXPECT_THAT(boxes.shown[1].text, HasSubstr("was successfully assigned"));
    EXPECT_FALSE(dialog->IsBusy());
    EXPECT_EQ(DefaultButton(), controls().setIPButton);
}

TEST_F(DialogFixture, AnInUsePostedJustBeforeACancelIsStillShown) {
    Open();
    addressInUse = true;
    StartAssignment();
    ASSERT_TRUE(WaitForWorkerStopped());
    PressCancel();
    EXPECT_TRUE(boxes.shown.empty());
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_THAT(boxes.shown[0].text, HasSubstr("is already in use"));
    EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(DialogFixture, OtherTimersAreNotATimeOut) {
    Open();
    StartAssignment();
    dialog->OnTimer(2);
    EXPECT_TRUE(dialog->IsBusy());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DialogFixture, AnUnknownJobEventIsOnlyLogged) {
    Open();
    EXPECT_FALSE(dialog->OnEvent(static_cast<SetIPEvent>(7), 0));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnEvent - Unhandled event '7'"));
    EXPECT_TRUE(boxes.shown.empty());
}

// --- Ending the dialog ---------------------------------------------------------------

TEST_F(DialogFixture, EscWhileBusyCancelsTheJobAndRemovesItsEntry) {
    Open();
    StartAssignment();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform->ArpCalls().empty(); }, 5000));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    // Already on return, not some time later.
    EXPECT_THAT(platform->ArpCalls(), ElementsAre("-s 192.168.5.77 02-C0-A7-A1-B2-C3", "-d 192.168.5.77"));
    EXPECT_TRUE(boxes.shown.empty());
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
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(HasLine("QRM:T:SetIPDlg::OnClose - Closing"), GetParam().logsClosing);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, IdleEnding,
    ::testing::Values(IdleEndingCase{"Exit", [](DialogFixture& t) { t.PressCancel(); }, true},
                      IdleEndingCase{"Close", [](DialogFixture& t) { t.CloseWindow(); }, true},
                      IdleEndingCase{"Esc", [](DialogFixture& t) { t.PressKey(Qt::Key_Escape); }, false},
                      IdleEndingCase{"Enter", [](DialogFixture& t) { t.PressKey(Qt::Key_Return); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFixture, AfterAnEndingEnterStartsTheNextAttempt) {
    Open();
    StartAssignment();
    PressCancel();
    ASSERT_FALSE(dialog->IsBusy());
    PressKey(Qt::Key_Return);
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
    controls().ipAddressCtrl->SetText(GetParam().address);
    int pings = 0;
    bool waitCursorWhilePinging = true;
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        const QCursor* cursor = QApplication::overrideCursor();
        waitCursorWhilePinging = waitCursorWhilePinging && cursor && cursor->shape() == Qt::WaitCursor;
        return ++pings == GetParam().answerAt;
    };
    platform->onOpenUrl = [&](const std::string&) { return GetParam().browserOpens; };
    platform->ClearRecords();
    controls().homePageButton->click();

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
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, GetParam().message);
        EXPECT_EQ(boxes.shown[0].icon, GetParam().icon);
    } else {
        EXPECT_TRUE(boxes.shown.empty());
    }
    for (const std::string& line : GetParam().lines) EXPECT_TRUE(HasLine(line)) << line;
    EXPECT_TRUE(waitCursorWhilePinging);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
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

TEST_F(DialogFixture, TheHomePageOfAnIncompleteAddressIsNotTried) {
    Open();
    controls().ipAddressCtrl->SetText("192.168.5.");
    platform->ClearRecords();
    controls().homePageButton->click();
    EXPECT_TRUE(platform->EchoCalls().empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "There is no device with the IP address 192.168.5..");
}

// --- About -------------------------------------------------------------------------------

TEST_F(DialogFixture, TheAboutCommandShowsNameAndVersion) {
    Open();
    QString caption;
    QString text;
    bool hasIcon = false;
    ModalCloser closer([&](QWidget* about) {
        caption = about->windowTitle();
        text = about->findChild<QLabel*>("versionText")->text();
        hasIcon = !about->findChild<QLabel*>("aboutIcon")->pixmap().isNull();
    });
    dialog->OnSysCommand(SetIPDlg::kAboutCommand);
    EXPECT_EQ(caption, "About TARVIK Addrix");
    EXPECT_EQ(text, "TARVIK Addrix 1.00.005.000");
    EXPECT_TRUE(hasIcon);
}

struct MenuTrigger {
    const char* name;
    std::function<void(DialogFixture&)> open;
};

std::ostream& operator<<(std::ostream& out, const MenuTrigger& c) { return out << c.name; }

class AboutMenuTrigger : public DialogFixture, public ::testing::WithParamInterface<MenuTrigger> {};

TEST_P(AboutMenuTrigger, OpensTheAboutMenu) {
    Open();
    QWidget* shown = nullptr;
    ModalCloser closer([&](QWidget* popup) { shown = popup; }, ModalCloser::Popup);
    GetParam().open(*this);
    EXPECT_EQ(shown, dialog->AboutMenu());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutMenuTrigger,
    ::testing::Values(MenuTrigger{"RightClick", [](DialogFixture& t) { t.RightClickBackground(); }},
                      MenuTrigger{"MenuKey", [](DialogFixture& t) { t.PressKey(Qt::Key_Menu); }},
                      MenuTrigger{"AltSpace", [](DialogFixture& t) { t.PressKey(Qt::Key_Space, Qt::AltModifier); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFixture, JobOutcomesArriveWhileTheAboutBoxIsOpen) {
    Open();
    StartAssignment();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform->ArpCalls().empty(); }, 5000));
    deviceAnswers = true;
    bool shownWhileOpen = false;
    ModalCloser closer([&](QWidget*) { shownWhileOpen = QTest::qWaitFor([&] { return !boxes.shown.empty(); }, 5000); });
    dialog->OnSysCommand(SetIPDlg::kAboutCommand);
    EXPECT_TRUE(shownWhileOpen);
    EXPECT_FALSE(dialog->IsBusy());
}

}  // namespace
