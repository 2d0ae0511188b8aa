// The Qt main dialog on the fake device network, its message boxes recorded.
#pragma once

#include "DialogDriver.h"
#include "support/FakeDeviceNetwork.h"
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

    void TearDown() override {
        Close();
        network.JoinWorkers();
    }

    // Enters a valid request and presses Set IP; the job then pings away.
    void StartAssignment() {
        Enter(kSerial, kAddress);
        controls().setIPButton->click();
        ASSERT_TRUE(dialog->Behaviour().IsBusy());
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
    FakeDeviceNetwork network{*platform};
    std::atomic<bool>& addressInUse = network.addressInUse;
    std::atomic<bool>& deviceAnswers = network.deviceAnswers;
};
