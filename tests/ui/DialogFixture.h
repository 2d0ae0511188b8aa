// The Qt main dialog on the fake platform: a host "fakehost" at 192.168.5.23 on
// a /24 adapter, a device whose answers the test decides, message boxes that
// are recorded, the log at full level, and every worker thread joined at the end.
#pragma once

#include "DialogDriver.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QtTest/QTest>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

class DialogFixture : public ::testing::Test, public DialogDriver {
public:
    static constexpr const char* kSerial = "02C0A7A1B2C3";
    static constexpr const char* kAddress = "192.168.5.77";

    void SetUp() override {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        ResetOsVersionClassForTesting();
        platform->hosts["fakehost"] = Platform::System().InetAddr("192.168.5.23");
        platform->adapters = AdapterList{AdapterList::Status::Ok, {Adapter{{{"192.168.5.23", "255.255.255.0"}}}}};
        platform->onEcho = [this](const FakePlatform::EchoCall&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (addressInUse) return true;
            return deviceAnswers && !platform->ArpCalls().empty();
        };
        platform->onStartThread = [this](std::function<void()>& body) {
            std::lock_guard<std::mutex> lock(workersMutex);
            workers.emplace_back(std::move(body));
            return true;
        };
    }

    void TearDown() override {
        Close();
        std::lock_guard<std::mutex> lock(workersMutex);
        for (std::thread& worker : workers) worker.join();
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }

    // Enters a valid request and presses Set IP; the job then pings away.
    void StartAssignment() {
        Enter(kSerial, kAddress);
        controls().setIPButton->click();
        ASSERT_TRUE(dialog->Behaviour().IsBusy());
    }

    // Waits, without handling events, until the job's run has ended, so
    // that its outcome waits in the queue.
    bool WaitForWorkerStopped() {
        for (int i = 0; i < 5000; ++i) {
            if (HasLine("QRM:D:Thread::ThreadStarter - I am stoped")) return true;
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

    // The attempt's 20 minutes run out.
    void Expire() {
        platform->tickCount += 1200000;
        dialog->Behaviour().OnBarStep();
    }
    void PressCancel() { controls().exitButton->click(); }
    // The close box, Alt+F4 or the window menu's Close.
    void CloseWindow() { dialog->close(); }

    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void RightClickBackground() {
        const QPoint inside(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, dialog->mapToGlobal(inside));
        QApplication::sendEvent(dialog.get(), &event);
    }

    bool HasLine(const std::string& line) {
        const auto lines = platform->DebugLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    QPushButton* DefaultButton() {
        for (QPushButton* button : {controls().setIPButton, controls().homePageButton, controls().exitButton})
            if (button->isDefault()) return button;
        return nullptr;
    }

    ScopedFakePlatform platform;
    std::atomic<bool> addressInUse{false};
    std::atomic<bool> deviceAnswers{false};
    std::mutex workersMutex;
    std::vector<std::thread> workers;
};
