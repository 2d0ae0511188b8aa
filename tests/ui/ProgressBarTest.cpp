#include "ui/ProgressBar.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

TEST(ProgressBar, ShowsMillisecondsWithoutText) {
    ProgressBar bar;
    EXPECT_FALSE(bar.isTextVisible());
    bar.SetRange(1200000);
    bar.SetPosition(700000);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 1200000);
    EXPECT_EQ(bar.value(), 700000);
    // Beyond an int, the bar shows its range clipped.
    bar.SetRange(0xFFFFFFFFu);
    EXPECT_EQ(bar.maximum(), std::numeric_limits<int>::max());
}

TEST(ProgressBar, StepsArriveFromItsOwnTimerUntilStopped) {
    ProgressBar bar;
    int steps = 0;
    bar.SetStep([&] { ++steps; });
    bar.StartStepTimer(5);
    EXPECT_TRUE(bar.IsStepping());
    EXPECT_TRUE(QTest::qWaitFor([&] { return steps >= 3; }, 5000));
    bar.StopStepTimer();
    EXPECT_FALSE(bar.IsStepping());
    const int stopped = steps;
    QTest::qWait(30);
    EXPECT_EQ(steps, stopped);
}

TEST(ProgressBar, PaintsTheFilledPart) {
    ProgressBar bar;
    bar.resize(200, 12);
    bar.SetRange(100);
    bar.SetPosition(0);
    const QImage empty = bar.grab().toImage();
    bar.SetPosition(100);
    const QImage full = bar.grab().toImage();
    EXPECT_NE(empty, full);
}

}  // namespace
