#include "FakeView.h"
#include "dialog/ProgressCtrl.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kTotal = 1200000;

// Records the expiry messages the bar posts.
class ExpiryView : public FakeView {
public:
    void Post(DialogMessage message, uint32_t parameter) override {
        if (message == DialogMessage::Timer) expiries.push_back(parameter);
    }
    std::vector<uint32_t> expiries;
};

class ProgressCtrlTest : public ::testing::TestWithParam<uint32_t> {
protected:
    // Moves the fake clock to `elapsed` after the start and takes one step.
    void StepAt(uint32_t elapsed) {
        platform->tickCount = start + elapsed;
        bar.OnStep();
    }
    FakeControl& Shown() { return view.Control(ControlIds::kProgressBar); }

    ScopedFakePlatform platform;
    ExpiryView view;
    ProgressCtrl bar{view, ControlIds::kProgressBar, 1, kTotal, 500};
    uint32_t start = GetParam();
};

TEST_P(ProgressCtrlTest, PositionIsTheElapsedTime) {
    platform->tickCount = start;
    bar.Start();
    EXPECT_EQ(Shown().barHigh, kTotal);
    EXPECT_EQ(Shown().barPosition, 0u);
    EXPECT_TRUE(Shown().barTimerRunning);
    EXPECT_EQ(Shown().barInterval, 500u);
    for (uint32_t elapsed : {500u, 1000u, 700000u, kTotal - 1}) {
        StepAt(elapsed);
        EXPECT_EQ(Shown().barPosition, elapsed);
    }
    EXPECT_TRUE(view.expiries.empty());
    EXPECT_TRUE(bar.IsRunning());
}

TEST_P(ProgressCtrlTest, ExpiresOnceWithItsTimerId) {
    platform->tickCount = start;
    bar.Start();
    StepAt(kTotal);
    EXPECT_EQ(view.expiries, std::vector<uint32_t>{1});
    EXPECT_EQ(Shown().barPosition, kTotal);
    EXPECT_FALSE(bar.IsRunning());
    EXPECT_FALSE(Shown().barTimerRunning);
    StepAt(kTotal + 500);
    EXPECT_EQ(view.expiries.size(), 1u);
}

TEST_P(ProgressCtrlTest, StopTellsNobodyAndKeepsThePosition) {
    platform->tickCount = start;
    bar.Start();
    StepAt(3000);
    bar.Stop();
    EXPECT_FALSE(Shown().barTimerRunning);
    StepAt(kTotal + 1000);
    EXPECT_TRUE(view.expiries.empty());
    EXPECT_EQ(Shown().barPosition, 3000u);
    bar.Reset();
    EXPECT_EQ(Shown().barPosition, 0u);
}

TEST_P(ProgressCtrlTest, RestartMeasuresFromTheNewStart) {
    platform->tickCount = start;
    bar.Start();
    StepAt(kTotal - 10);
    start += kTotal - 10;
    bar.Start();
    StepAt(kTotal - 1);
    EXPECT_TRUE(view.expiries.empty());
    StepAt(kTotal);
    EXPECT_EQ(view.expiries.size(), 1u);
}

// Starts far from the wrap and just before it: elapsed time survives the wrap.
INSTANTIATE_TEST_SUITE_P(StartTicks, ProgressCtrlTest,
                         ::testing::Values(0u, 123456u, 0xFFFFFFFFu - 1000u, 0xFFFFFFFFu - kTotal + 1, 0xFFFFFFFFu));

}  // namespace
