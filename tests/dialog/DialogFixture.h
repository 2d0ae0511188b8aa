// The dialog's behaviour over a fake view on the fake device network.
#pragma once

#include "FakeView.h"
#include "support/FakeDeviceNetwork.h"
#include "dialog/SetIPDlg.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

class DialogFixture : public ::testing::Test {
public:
    static constexpr const char* kSerial = "02C0A7A1B2C3";
    static constexpr const char* kAddress = "192.168.5.77";

    void TearDown() override {
        dialog.reset();
        view.DeliverPosted();
        network.JoinWorkers();
    }

    void Open() {
        dialog = std::make_unique<SetIPDlg>(view);
        view.dialog = dialog.get();
        dialog->OnInitDialog();
    }

    // Sets both fields at once.
    void Enter(const char* serial, const char* address) {
        view.Control(ControlIds::kSerialNumber).text = serial;
        view.TypeAddress(address);
    }

    // Enters a valid request and presses Set IP; the job then pings away.
    void StartAssignment() {
        Enter(kSerial, kAddress);
        dialog->OnCommand(ControlIds::kSetIPButton);
        ASSERT_TRUE(dialog->IsBusy());
    }

    // Waits, without delivering messages, until the job's run has ended, so
    // that its outcome waits in the queue.
    bool WaitForWorkerStopped() { return WaitForLine("QRM:D:Thread::ThreadStarter - I am stoped"); }
    bool WaitForLine(const std::string& line) {
        for (int i = 0; i < 5000; ++i) {
            if (HasLine(line)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    bool WaitForEntryRemoved() {
        for (int i = 0; i < 5000; ++i) {
            for (const std::string& call : platform->ArpCalls())
                if (call.rfind("-d ", 0) == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    // The attempt's 20 minutes run out: the next step of the bar tells the dialog.
    void Expire() {
        platform->tickCount += 1200000;
        dialog->OnBarStep();
        view.DeliverPosted();
    }
    void PressCancel() { dialog->OnCommand(ControlIds::kExitButton); }
    // The close box, Alt+F4 or the window menu's Close.
    void CloseWindow() { dialog->OnClose(); }
    void PressEsc() { dialog->OnCancel(); }
    // Enter chooses the default button.
    void PressEnter() { dialog->OnCommand(view.defaultButton); }

    bool HasLine(const std::string& line) {
        const auto lines = platform->DebugLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    ScopedFakePlatform platform;
    FakeDeviceNetwork network{*platform};
    std::atomic<bool>& addressInUse = network.addressInUse;
    std::atomic<bool>& deviceAnswers = network.deviceAnswers;
    FakeView view;
    std::unique_ptr<SetIPDlg> dialog;
};
