// The Qt view of the main dialog: that the behaviour reaches the widgets of
// the template and the widgets' events reach the behaviour. The behaviour
// itself is tested over a fake view (tests/dialog).
#include "DialogFixture.h"
#include "ModalCloser.h"
#include "ui/ProgressBar.h"

#include <QMenu>

#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;

bool Busy(DialogFixture& t) { return t.dialog->Behaviour().IsBusy(); }

TEST_F(DialogFixture, OpensWithTheTemplatesLook) {
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
    EXPECT_EQ(controls().progressBar->value(), 0);
    EXPECT_FALSE(controls().progressBar->isTextVisible());
    EXPECT_FALSE(dialog->isSizeGripEnabled());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DialogFixture, EnterAtStartEndsTheDialog) {
    Open();
    QTest::keyClick(controls().serialNumberEdit, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnClose - Closing"));
}

TEST_F(DialogFixture, ARefusedSerialNumberIsSelectedInItsField) {
    Open();
    Enter("02C0A7", kAddress);
    controls().setIPButton->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Invalid serial number!");
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    EXPECT_TRUE(controls().serialNumberEdit->hasFocus());
    EXPECT_EQ(controls().serialNumberEdit->selectedText(), "02C0A7");
}

TEST_F(DialogFixture, TabGoesThroughTheTemplatesTabStops) {
    Open();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 5; ++i) {
        PressKey(Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, (std::vector<QWidget*>{controls().ipAddressCtrl->Field(0), controls().setIPButton,
                                               controls().homePageButton, controls().exitButton,
                                               controls().serialNumberEdit}));
}

TEST_F(DialogFixture, ARefusedAddressIsRetypedOverItsSelectedField) {
    Open();
    controls().serialNumberEdit->setText(kSerial);
    controls().ipAddressCtrl->SetText("192.168.5.255");
    controls().setIPButton->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The selected IP Address 192.168.5.255 is not valid.");
    EXPECT_FALSE(Busy(*this));
    QTest::keyClicks(QApplication::focusWidget(), "10");
    EXPECT_EQ(controls().ipAddressCtrl->Text(), "10.168.5.255");
}

TEST_F(DialogFixture, BusyAndBackThroughTheWidgets) {
    Open();
    StartAssignment();
    EXPECT_FALSE(controls().serialNumberEdit->isEnabled());
    EXPECT_FALSE(controls().ipAddressCtrl->isEnabled());
    EXPECT_FALSE(controls().setIPButton->isEnabled());
    EXPECT_FALSE(controls().homePageButton->isEnabled());
    EXPECT_EQ(controls().exitButton->text(), "&Cancel");
    EXPECT_EQ(DefaultButton(), controls().exitButton);
    EXPECT_TRUE(controls().exitButton->hasFocus());
    EXPECT_TRUE(controls().hintText->isVisible());
    EXPECT_TRUE(controls().progressBar->IsStepping());
    EXPECT_EQ(controls().progressBar->maximum(), 1200000);
    // The bar's own timer moves it with the clock.
    platform->tickCount += 42000;
    EXPECT_TRUE(QTest::qWaitFor([&] { return controls().progressBar->value() == 42000; }, 5000));

    PressCancel();
    EXPECT_FALSE(Busy(*this));
    EXPECT_TRUE(controls().serialNumberEdit->isEnabled());
    EXPECT_TRUE(controls().setIPButton->isEnabled());
    EXPECT_EQ(controls().exitButton->text(), "E&xit");
    EXPECT_FALSE(controls().hintText->isVisible());
    EXPECT_EQ(controls().progressBar->value(), 0);
    EXPECT_FALSE(controls().progressBar->IsStepping());
    EXPECT_EQ(DefaultButton(), controls().setIPButton);
    EXPECT_TRUE(controls().ipAddressCtrl->Field(3)->hasFocus());
}

TEST_F(DialogFixture, AnOutcomePostedByTheJobReachesTheDialog) {
    Open();
    StartAssignment();
    deviceAnswers = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }, 5000));
    EXPECT_THAT(boxes.shown[0].text, HasSubstr("was successfully assigned"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(Busy(*this));
    EXPECT_EQ(DefaultButton(), controls().homePageButton);
    EXPECT_TRUE(controls().homePageButton->hasFocus());
}

TEST_F(DialogFixture, TheBarsExpiryReachesTheDialog) {
    Open();
    StartAssignment();
    platform->tickCount += 1200000;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }, 5000));
    EXPECT_EQ(boxes.shown[0].text, "Failed to assign IP address 192.168.5.77 to 02C0A7A1B2C3.");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(Busy(*this));
}

TEST_F(DialogFixture, ClosingTheWindowWhileBusyCancels) {
    Open();
    StartAssignment();
    CloseWindow();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(Busy(*this));
    EXPECT_TRUE(HasLine("QRM:T:SetIPDlg::OnClose - Canceling"));
}

TEST_F(DialogFixture, EscWhileBusyCancelsTheJobAndEnds) {
    Open();
    StartAssignment();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform->ArpCalls().empty(); }, 5000));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(platform->ArpCalls().size(), 2u);
}

TEST_F(DialogFixture, TheHomePageCommandShowsTheWaitCursor) {
    Open();
    bool waitCursor = false;
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        const QCursor* cursor = QApplication::overrideCursor();
        waitCursor = cursor && cursor->shape() == Qt::WaitCursor;
        return true;
    };
    controls().ipAddressCtrl->SetText("192.168.5.9");
    controls().homePageButton->click();
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(platform->OpenedUrls(), std::vector<std::string>{"http://192.168.5.9"});
}

// --- About -------------------------------------------------------------------------------

TEST_F(DialogFixture, TheAboutMenuHoldsASeparatorAndTheAboutItem) {
    Open();
    const QList<QAction*> actions = dialog->AboutMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_TRUE(actions[0]->isSeparator());
    EXPECT_EQ(actions[1]->text(), "&About TARVIK Addrix...");
}

TEST_F(DialogFixture, TheAboutItemShowsNameAndVersion) {
    Open();
    QString caption;
    QString text;
    bool hasIcon = false;
    ModalCloser closer([&](QWidget* about) {
        caption = about->windowTitle();
        text = about->findChild<QLabel*>("versionText")->text();
        hasIcon = !about->findChild<QLabel*>("aboutIcon")->pixmap().isNull();
    });
    dialog->AboutMenu()->actions()[1]->trigger();
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

}  // namespace
