#include "ui/ProgressCtrl.h"

#include "platform/fake/FakePlatform.h"

#include <QCoreApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kTotal = 1200000;

// The bar's parent: records the expiry notices it gets.
class ExpiryParent : public QWidget {
public:
    bool event(QEvent* event) override {
        if (event->type() == TimerExpiredEvent::EventType()) {
            expiries.push_back(static_cast<TimerExpiredEvent*>(event)->timerId);
            return true;
        }
        return QWidget::event(event);
    }
    std::vector<uint32_t> expiries;
};

class ProgressCtrlTest : public ::testing::TestWithParam<uint32_t> {
protected:
    // Moves the fake clock to `elapsed` after the start and takes one step.
    void StepAt(uint32_t elapsed) {
        platform->tickCount = start + elapsed;
        bar->OnTimer();
        QCoreApplication::sendPostedEvents();
    }

    ScopedFakePlatform platform;
    ExpiryParent parent;
    ProgressCtrl* bar = new ProgressCtrl(1, kTotal, 500, &parent);
    uint32_t start = GetParam();
};

TEST_P(ProgressCtrlTest, PositionIsTheElapsedTime) {
    platform->tickCount = start;
    bar->Start();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), static_cast<int>(kTotal));
    EXPECT_EQ(bar->value(), 0);
    for (uint32_t elapsed : {500u, 1000u, 700000u, kTotal - 1}) {
        StepAt(elapsed);
        EXPECT_EQ(bar->value(), static_cast<int>(elapsed));
    }
    EXPECT_TRUE(parent.expiries.empty());
    EXPECT_TRUE(bar->IsRunning());
}

TEST_P(ProgressCtrlTest, ExpiresOnceWithItsTimerId) {
    platform->tickCount = start;
    bar->Start();
    StepAt(kTotal);
    EXPECT_EQ(parent.expiries, std::vector<uint32_t>{1});
    EXPECT_EQ(bar->value(), static_cast<int>(kTotal));
    EXPECT_FALSE(bar->IsRunning());
    StepAt(kTotal + 500);
    EXPECT_EQ(parent.expiries.size(), 1u);
}

TEST_P(ProgressCtrlTest, StopTellsNobodyAndKeepsThePosition) {
    platform->tickCount = start;
    bar->Start();
    StepAt(3000);
    bar->Stop();
    StepAt(kTotal + 1000);
    EXPECT_TRUE(parent.expiries.empty());
    EXPECT_EQ(bar->value(), 3000);
    bar->Reset();
    EXPECT_EQ(bar->value(), 0);
}

TEST_P(ProgressCtrlTest, RestartMeasuresFromTheNewStart) {
    platform->tickCount = start;
    bar->Start();
    StepAt(kTotal - 10);
    start += kTotal - 10;
    bar->Start();
    StepAt(kTotal - 1);
    EXPECT_TRUE(parent.expiries.empty());
    StepAt(kTotal);
    EXPECT_EQ(parent.expiries.size(), 1u);
}

// Starts far from the wrap and just before it: elapsed time survives the wrap.
INSTANTIATE_TEST_SUITE_P(StartTicks, ProgressCtrlTest,
                         ::testing::Values(0u, 123456u, 0xFFFFFFFFu - 1000u, 0xFFFFFFFFu - kTotal + 1, 0xFFFFFFFFu));

TEST(ProgressCtrlTimer, StepsArriveFromItsOwnTimer) {
    ScopedFakePlatform platform;
    ExpiryParent parent;
    auto* bar = new ProgressCtrl(1, 100, 10, &parent);
    bar->Start();
    platform->tickCount = 40;
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 40; }, 5000));
    platform->tickCount = 100;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !parent.expiries.empty(); }, 5000));
    EXPECT_EQ(parent.expiries, std::vector<uint32_t>{1});
}

}  // namespace
