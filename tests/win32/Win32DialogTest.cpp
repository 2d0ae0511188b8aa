// The Win32 view of the main dialog under the real (or Wine's) window
// system, on the fake platform: created without a loop of its own and driven
// by window messages, as the user's clicks and the job's outcomes arrive.
#include "dialog/AboutBox.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/FakeDeviceNetwork.h"
#include "win32/HwndMacroWindow.h"
#include "win32/Win32MainDialog.h"
#include "win32/Win32MessageBoxes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// Handles the thread's queued messages, as a dialog's loop does.
void PumpMessages(HWND dialog) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && ::IsDialogMessageA(dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

struct ShownBox {
    std::string text;
    MessageIcon icon;
    std::string caption;
};

// Boxes answered with OK at once; like a real box's loop, each first
// handles what was posted so far.
class RecordingBoxes : public Win32MessageBoxes {
public:
    RecordingBoxes() { Install(this); }
    ~RecordingBoxes() override { Install(nullptr); }
    void Show(HWND owner, const std::string& text, MessageIcon icon, const std::string& caption) override {
        shown.push_back({text, icon, caption});
        PumpMessages(owner);
    }
    std::vector<ShownBox> shown;
};

class Win32DialogTest : public ::testing::Test {
protected:
    static constexpr const char* kSerial = "02C0A7A1B2C3";

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS};
        ASSERT_TRUE(::InitCommonControlsEx(&controls));
        window = dialog.Create();
        ASSERT_NE(window, nullptr) << "no window (is there a display?)";
        ::ShowWindow(window, SW_SHOW);
        PumpMessages(window);
    }

    void TearDown() override {
        if (window) ::DestroyWindow(window);
        PumpMessages(nullptr);
        network.JoinWorkers();
    }

    HWND Item(int id) { return ::GetDlgItem(window, id); }
    std::string Text(int id) { return WindowText(Item(id)); }
    bool Enabled(int id) { return ::IsWindowEnabled(Item(id)); }
    int DefaultButton() { return LOWORD(::SendMessageA(window, DM_GETDEFID, 0, 0)); }
    // The control that has the focus, or the address control for one of its fields.
    int FocusedId() {
        HWND focused = ::GetFocus();
        if (focused && ::IsChild(Item(ControlIds::kAddress), focused)) return ControlIds::kAddress;
        return focused ? ::GetDlgCtrlID(focused) : 0;
    }
    HWND AddressField(int field) {
        HWND child = ::GetWindow(Item(ControlIds::kAddress), GW_CHILD);
        for (int i = 0; i < field && child; ++i) child = ::GetWindow(child, GW_HWNDNEXT);
        return child;
    }

    void Click(int id) {
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Enter(const char* serial, DWORD address) {
        ::SetDlgItemTextA(window, ControlIds::kSerialNumber, serial);
        ::SendDlgItemMessageA(window, ControlIds::kAddress, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    }
    void StartAssignment() {
        Enter(kSerial, MAKEIPADDRESS(192, 168, 5, 77));
        Click(ControlIds::kSetIPButton);
        ASSERT_TRUE(dialog.Behaviour().IsBusy());
    }
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            PumpMessages(window);
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            ::Sleep(1);
        }
    }

    void ExpectIdle(int defaultButton, int focused) {
        EXPECT_FALSE(dialog.Behaviour().IsBusy());
        for (int id : {ControlIds::kSerialNumber, ControlIds::kAddress, ControlIds::kSetIPButton,
                       ControlIds::kHomePageButton, ControlIds::kExitButton})
            EXPECT_TRUE(Enabled(id)) << id;
        EXPECT_EQ(Text(ControlIds::kExitButton), "E&xit");
        EXPECT_FALSE(::IsWindowVisible(Item(ControlIds::kHint)));
        EXPECT_EQ(::SendDlgItemMessageA(window, ControlIds::kProgressBar, PBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(DefaultButton(), defaultButton);
        EXPECT_EQ(FocusedId(), focused);
    }

    ScopedFakePlatform platform;
    FakeDeviceNetwork network{*platform};
    std::atomic<bool>& addressInUse = network.addressInUse;
    std::atomic<bool>& deviceAnswers = network.deviceAnswers;
    RecordingBoxes boxes;
    Win32MainDialog dialog;
    HWND window = nullptr;
};

TEST_F(Win32DialogTest, OpensIdleWithTheTemplatesLook) {
    EXPECT_EQ(WindowText(window), "TARVIK Addrix");
    EXPECT_EQ(Text(ControlIds::kSerialNumber), "02C0A7");
    DWORD address = 0;
    EXPECT_EQ(::SendDlgItemMessageA(window, ControlIds::kAddress, IPM_GETADDRESS, 0,
                                    reinterpret_cast<LPARAM>(&address)),
              4);
    EXPECT_EQ(address, static_cast<DWORD>(MAKEIPADDRESS(192, 168, 5, 0)));
    EXPECT_EQ(DefaultButton(), ControlIds::kExitButton);
    EXPECT_EQ(Text(ControlIds::kExitButton), "E&xit");
    EXPECT_FALSE(::IsWindowVisible(Item(ControlIds::kHint)));
    EXPECT_EQ(FocusedId(), ControlIds::kSerialNumber);
    EXPECT_NE(::SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
    char item[64] = {};
    ::GetMenuStringA(::GetSystemMenu(window, FALSE), kAboutCommand, item, sizeof item, MF_BYCOMMAND);
    EXPECT_STREQ(item, "&About TARVIK Addrix...");
    // The serial-number field is an upper-case edit of 12 characters.
    EXPECT_TRUE(::GetWindowLongA(Item(ControlIds::kSerialNumber), GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(::SendDlgItemMessageA(window, ControlIds::kSerialNumber, EM_GETLIMITTEXT, 0, 0), 12);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Win32DialogTest, SetIPMakesItBusy) {
    StartAssignment();
    EXPECT_FALSE(Enabled(ControlIds::kSerialNumber));
    EXPECT_FALSE(Enabled(ControlIds::kAddress));
    EXPECT_FALSE(Enabled(ControlIds::kSetIPButton));
    EXPECT_FALSE(Enabled(ControlIds::kHomePageButton));
    EXPECT_TRUE(Enabled(ControlIds::kExitButton));
    EXPECT_EQ(Text(ControlIds::kExitButton), "&Cancel");
    EXPECT_EQ(DefaultButton(), ControlIds::kExitButton);
    EXPECT_EQ(FocusedId(), ControlIds::kExitButton);
    EXPECT_TRUE(::IsWindowVisible(Item(ControlIds::kHint)));
    EXPECT_EQ(::SendDlgItemMessageA(window, ControlIds::kProgressBar, PBM_GETRANGE, FALSE, 0), 1200000);
    // The bar's step timer moves it with the clock.
    platform->tickCount += 42000;
    EXPECT_TRUE(PumpUntil(
        [&] { return ::SendDlgItemMessageA(window, ControlIds::kProgressBar, PBM_GETPOS, 0, 0) == 42000; }));
}

TEST_F(Win32DialogTest, TheJobsSuccessArrivesByItsPostedMessage) {
    StartAssignment();
    deviceAnswers = true;
    ASSERT_TRUE(PumpUntil([&] { return !boxes.shown.empty(); }));
    EXPECT_THAT(boxes.shown[0].text, HasSubstr("The IP address 192.168.5.77 was successfully assigned"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    ExpectIdle(ControlIds::kHomePageButton, ControlIds::kHomePageButton);
}

TEST_F(Win32DialogTest, AnAddressInUseReturnsToTheLastField) {
    addressInUse = true;
    StartAssignment();
    ASSERT_TRUE(PumpUntil([&] { return !boxes.shown.empty(); }));
    EXPECT_THAT(boxes.shown[0].text, HasSubstr("is already in use"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    ExpectIdle(ControlIds::kSetIPButton, ControlIds::kAddress);
    EXPECT_EQ(::GetFocus(), AddressField(3));
}

TEST_F(Win32DialogTest, CancelReturnsToIdleWithoutAWord) {
    StartAssignment();
    Click(ControlIds::kExitButton);
    EXPECT_TRUE(boxes.shown.empty());
    ExpectIdle(ControlIds::kSetIPButton, ControlIds::kAddress);
    EXPECT_TRUE(::IsWindowVisible(window));
}

TEST_F(Win32DialogTest, ARefusedSerialNumberIsSelectedInItsField) {
    Enter("02C0A7", MAKEIPADDRESS(192, 168, 5, 77));
    Click(ControlIds::kSetIPButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Invalid serial number!");
    EXPECT_EQ(FocusedId(), ControlIds::kSerialNumber);
    DWORD start = 1, end = 0;
    ::SendDlgItemMessageA(window, ControlIds::kSerialNumber, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                          reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 6u);
    EXPECT_FALSE(dialog.Behaviour().IsBusy());
}

TEST_F(Win32DialogTest, TheLastFieldIsNeverBroughtIntoItsRange) {
    Enter(kSerial, MAKEIPADDRESS(192, 168, 5, 255));
    Click(ControlIds::kSetIPButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The selected IP Address 192.168.5.255 is not valid.");
    EXPECT_FALSE(dialog.Behaviour().IsBusy());
}

TEST_F(Win32DialogTest, ExitWhenIdleAndEscEndTheDialog) {
    Click(IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(window));
}

TEST(Win32AboutBox, ShowsTheApplicationNameAndVersion) {
    ScopedFakePlatform platform;
    HWND about = CreateAboutBox(nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "About TARVIK Addrix");
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowText(child));
    EXPECT_THAT(texts, ::testing::Contains("TARVIK Addrix 1.00.005.000"));
    EXPECT_THAT(texts, ::testing::Contains("OK"));
    ::DestroyWindow(about);
}

}  // namespace
