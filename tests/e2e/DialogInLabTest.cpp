// The dialog on the host side of the lab, on the real Linux layer: a user
// types a device's serial number and an address, presses Set IP and waits for
// the outcome. lab_case.sh starts it in the host namespace, names the device
// in ADDRIX_E2E_SERIAL and ADDRIX_E2E_ADDRESS, and checks the device's side
// and the host's neighbour table itself.
#include "support/LoggedLinuxPlatform.h"
#include "support/Log.h"
#include "ui/DialogDriver.h"

#include <QtTest/QTest>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

#include <gtest/gtest.h>

namespace {

// The device restarts a few seconds after the job began; the job's own
// pings take a second each.
constexpr int kOutcomeWaitMs = 60000;
// After the outcome the job still removes the neighbour entry.
constexpr int kJobEndWaitMs = 10000;

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class DialogInLab : public ::testing::Test, public DialogDriver {
protected:
    void SetUp() override {
        serial = FromEnvironment("ADDRIX_E2E_SERIAL");
        address = FromEnvironment("ADDRIX_E2E_ADDRESS");
        ASSERT_FALSE(serial.empty() || address.empty())
            << "started by tests/e2e/lab_case.sh, which sets ADDRIX_E2E_SERIAL and ADDRIX_E2E_ADDRESS";
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    }

    void TearDown() override {
        Close();
        // The job's worker logs through the platform until it has deleted the job.
        if (HasLine("QRM:D:Thread::Start - Start")) {
            EXPECT_TRUE(WaitForLine("QRM:D:Thread::~Thread - Delete", kJobEndWaitMs)) << "the job's worker lives on";
        }
        if (HasFailure())
            for (const std::string& line : platform.DebugLines()) std::cerr << line << '\n';
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }

    bool HasLine(const std::string& line) const {
        const auto lines = platform.DebugLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Runs the event loop until `line` has been logged, at most `timeoutMs`.
    bool WaitForLine(const std::string& line, int timeoutMs) {
        return QTest::qWaitFor([&] { return HasLine(line); }, timeoutMs);
    }

    LoggedLinuxPlatform platform;
    std::string serial;
    std::string address;
};

TEST_F(DialogInLab, TheSetIPButtonAssignsTheDeviceAndReportsSuccess) {
    Open();
    Type(QString::fromStdString(serial), QString::fromStdString(address));
    ASSERT_EQ(controls().serialNumberEdit->text().toStdString(), serial);
    ASSERT_EQ(controls().ipAddressCtrl->Text().toStdString(), address);
    ASSERT_EQ(controls().setIPButton->text(), "&Set IP");

    QTest::mouseClick(controls().setIPButton, Qt::LeftButton);
    ASSERT_TRUE(dialog->Behaviour().IsBusy());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !boxes.shown.empty(); }, kOutcomeWaitMs)) << "no outcome shown";

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The IP address " + address + " was successfully assigned\nto " + serial +
                                       ".\n\nClick the View Home Page button to access the device's home page and "
                                       "to configure other network settings.");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(boxes.shown[0].caption, "Addrix");
    EXPECT_FALSE(dialog->Behaviour().IsBusy());
    EXPECT_TRUE(controls().homePageButton->isDefault());
    // The job removes its neighbour entry after telling of the success.
    EXPECT_TRUE(WaitForLine("QRM:T:SetIP::Run - Done", kJobEndWaitMs));
}

}  // namespace
