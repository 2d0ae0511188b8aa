#include "ui/IPAddressCtrl.h"

#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// The parent of the control: counts its field-changed notifications.
class NotifiedParent : public QWidget {
public:
    bool event(QEvent* event) override {
        if (event->type() == FieldChangedEvent::EventType()) {
            auto* changed = static_cast<FieldChangedEvent*>(event);
            notifications.push_back({changed->source, changed->sourceId, changed->code});
            return true;
        }
        return QWidget::event(event);
    }
    struct Notification {
        IPAddressCtrl* source;
        int sourceId;
        int code;
    };
    std::vector<Notification> notifications;
};

class IPAddressCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        control = new IPAddressCtrl(&parent);
        control->setProperty("controlId", 1013);
        control->SetFieldRange(3, 1, 254);
        parent.show();
        QApplication::setActiveWindow(&parent);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
        control->SetFieldFocus(0);
    }

    // Types into whatever has the focus, as a user does.
    void Type(const QString& keys) {
        for (QChar key : keys) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    int FocusedField() const {
        for (int field = 0; field < IPAddressCtrl::kFieldCount; ++field)
            if (control->Field(field)->hasFocus()) return field;
        return -1;
    }

    NotifiedParent parent;
    IPAddressCtrl* control = nullptr;
};

struct TextCase {
    const char* text;
    int filled;
    uint32_t address;
    const char* shown;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) { return out << '"' << c.text << '"'; }

class IPAddressCtrlText : public ::testing::TestWithParam<TextCase> {};

TEST_P(IPAddressCtrlText, ReportsTheFilledFields) {
    IPAddressCtrl control;
    control.SetText(GetParam().text);
    uint32_t address = 1;
    EXPECT_EQ(control.GetAddress(address), GetParam().filled);
    EXPECT_EQ(address, GetParam().address);
    EXPECT_EQ(control.Text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, IPAddressCtrlText,
                         ::testing::Values(TextCase{"192.168.1.7", 4, 0xC0A80107, "192.168.1.7"},
                                           TextCase{"10..3.", 2, 0x0A000300, "10..3."}, TextCase{"", 0, 0, "..."},
                                           TextCase{"IPAddress1", 0, 0, "..."}, TextCase{"0.0.0.0", 4, 0, "0.0.0.0"},
                                           TextCase{"300.1.1.1", 4, 0xFF010101, "255.1.1.1"},
                                           TextCase{"1.2.3.4.5", 4, 0x01020304, "1.2.3.4"},
                                           TextCase{"a.2.b.4", 2, 0x00020004, ".2..4"}));

TEST(IPAddressCtrlValue, SetAddressFillsAllFields) {
    IPAddressCtrl control;
    control.SetAddress(0xC0A800FE);
    uint32_t address = 0;
    EXPECT_EQ(control.GetAddress(address), 4);
    EXPECT_EQ(address, 0xC0A800FEu);
    EXPECT_EQ(control.Text(), "192.168.0.254");
}

TEST_F(IPAddressCtrlTest, TypingMovesOnAfterThreeDigitsOrADot) {
    Type("192168.1.23");
    EXPECT_EQ(control->Text(), "192.168.1.23");
    EXPECT_EQ(FocusedField(), 3);
}

TEST_F(IPAddressCtrlTest, NonDigitsAreDropped) {
    Type("1a-2");
    EXPECT_EQ(control->Text(), "12...");
}

TEST_F(IPAddressCtrlTest, ADotInAnEmptyFieldStays) {
    Type(".");
    EXPECT_EQ(FocusedField(), 0);
}

TEST_F(IPAddressCtrlTest, BackspaceInAnEmptyFieldGoesBack) {
    Type("10.");
    EXPECT_EQ(FocusedField(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(FocusedField(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(control->Text(), "1...");
}

TEST_F(IPAddressCtrlTest, ArrowsCrossTheFieldEdges) {
    Type("10.20");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(FocusedField(), 0);
    EXPECT_EQ(control->Field(0)->cursorPosition(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(FocusedField(), 1);
    EXPECT_EQ(control->Field(1)->cursorPosition(), 0);
}

struct RangeCase {
    int field;
    const char* typed;
    const char* kept;
};

std::ostream& operator<<(std::ostream& out, const RangeCase& c) { return out << c.field << " " << c.typed; }

class IPAddressCtrlRange : public IPAddressCtrlTest, public ::testing::WithParamInterface<RangeCase> {};

// What was typed stays as typed: the dialog refuses what is out of range.
TEST_P(IPAddressCtrlRange, LeavingAFieldKeepsWhatWasTyped) {
    control->SetFieldFocus(GetParam().field);
    Type(GetParam().typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    control->SetFieldFocus(GetParam().field == 0 ? 1 : 0);
    EXPECT_EQ(control->Field(GetParam().field)->text().toStdString(), GetParam().kept);
    EXPECT_EQ(control->Fields()[GetParam().field], std::stoi(GetParam().kept));
}

INSTANTIATE_TEST_SUITE_P(Fields, IPAddressCtrlRange,
                         ::testing::Values(RangeCase{0, "999", "999"}, RangeCase{0, "0", "0"},
                                           RangeCase{2, "256", "256"}, RangeCase{3, "255", "255"},
                                           RangeCase{3, "0", "0"}, RangeCase{3, "254", "254"}, RangeCase{3, "1", "1"}));

TEST_F(IPAddressCtrlTest, FocusingAFieldSelectsItsText) {
    control->SetText("127.0.213.79");
    // As after a refused address: the control gets the focus, and typing replaces the field.
    parent.setFocus();
    control->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(FocusedField(), 0);
    EXPECT_EQ(control->Field(0)->selectedText(), "127");
    Type("10");
    EXPECT_EQ(control->Text(), "10.0.213.79");
}

TEST(IPAddressCtrlTabOrder, TabEntersAtTheFirstFieldAndLeavesFromAny) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* control = new IPAddressCtrl(&window);
    auto* after = new QLineEdit(&window);
    control->SetText("10.1.2.3");
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(control->Field(0)->hasFocus());
    EXPECT_EQ(control->Field(0)->selectedText(), "10");
    control->SetFieldFocus(2);
    QTest::keyClick(control->Field(2), Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_TRUE(control->Field(0)->hasFocus());
}

TEST_F(IPAddressCtrlTest, FocusByIndex) {
    for (int field : {3, 1, 2, 0}) {
        control->SetFieldFocus(field);
        EXPECT_EQ(FocusedField(), field);
    }
}

TEST_F(IPAddressCtrlTest, EachReleaseNotifiesTheParentOnce) {
    QTest::keyPress(control->Field(0), Qt::Key_1);
    EXPECT_TRUE(parent.notifications.empty());
    QTest::keyRelease(control->Field(0), Qt::Key_1);
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0].source, control);
    EXPECT_EQ(parent.notifications[0].sourceId, 1013);
    EXPECT_EQ(parent.notifications[0].code, IPAddressCtrl::kFieldChanged);

    QTest::mouseClick(control->Field(2), Qt::LeftButton);
    QTest::mouseClick(control->Field(3), Qt::RightButton);
    QTest::mouseClick(control->Field(1), Qt::MiddleButton);
    EXPECT_EQ(parent.notifications.size(), 3u);
}

TEST_F(IPAddressCtrlTest, ACharacterForTheControlItselfIsTraced) {
    ScopedFakePlatform platform;
    Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QApplication::sendEvent(control, &key);
    // A key that a field leaves to its parents is not the control's own.
    QTest::keyClick(control->Field(1), Qt::Key_Return);
    Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    EXPECT_EQ(platform->DebugLines(), std::vector<std::string>{"QRM:T:IPAddressCtrl::OnChar"});
}

}  // namespace
