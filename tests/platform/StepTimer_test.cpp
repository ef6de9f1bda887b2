#include "platform/StepTimer.h"

#include "tests/support/VirtualClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tavrisk {
namespace {

using test::VirtualClock;

class StepTimerTest : public ::testing::Test {
protected:
    StepTimerTest() {
        timer.SetOnTimer([this] { ticks.push_back(clock.Now()); });
    }

    VirtualClock clock;
    StepTimer timer{clock, 8000};
    std::vector<std::int64_t> ticks;
};

TEST_F(StepTimerTest, TicksEveryIntervalWhileEnabled) {
    timer.SetEnabled(true);
    clock.Advance(7999);
    EXPECT_TRUE(ticks.empty());
    clock.Advance(16001);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{8000, 16000, 24000}));
}

TEST_F(StepTimerTest, DisabledTimerNeverTicks) {
    clock.Advance(100000);
    timer.SetEnabled(true);
    timer.SetEnabled(false);
    clock.Advance(100000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(clock.RunningTimers(), 0U);
}

TEST_F(StepTimerTest, EnablingAnEnabledTimerKeepsItsCount) {
    timer.SetEnabled(true);
    clock.Advance(5000);
    timer.SetEnabled(true);
    clock.Advance(3000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{8000}));
}

TEST_F(StepTimerTest, TheSameIntervalKeepsTheCount) {
    timer.SetEnabled(true);
    clock.Advance(5000);
    timer.SetInterval(8000);
    clock.Advance(3000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{8000}));
}

TEST_F(StepTimerTest, ANewIntervalOnARunningTimerRestartsTheCount) {
    timer.SetEnabled(true);
    clock.Advance(5000);
    timer.SetInterval(4000);
    clock.Advance(3999);
    EXPECT_TRUE(ticks.empty());
    clock.Advance(4001);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{9000, 13000}));
}

TEST_F(StepTimerTest, AnIntervalSetWhileOffCountsFromTheEnable) {
    timer.SetInterval(5000);
    clock.Advance(3000);
    timer.SetEnabled(true);
    clock.Advance(10000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{8000, 13000}));
}

TEST_F(StepTimerTest, ReEnablingStartsAFreshCount) {
    timer.SetEnabled(true);
    clock.Advance(6000);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    clock.Advance(8000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{14000}));
}

TEST_F(StepTimerTest, IntervalZeroNeverTicks) {
    timer.SetInterval(0);
    timer.SetEnabled(true);
    clock.Advance(100000);
    EXPECT_TRUE(ticks.empty());
    timer.SetInterval(1000);
    clock.Advance(1000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{101000}));
}

TEST_F(StepTimerTest, AHandlerThatSwitchesTheTimerOffAndOnAgain) {
    // The run's pattern: off at the start of the tick, a new interval, on
    // again when the next page is requested.
    timer.SetOnTimer([this] {
        ticks.push_back(clock.Now());
        timer.SetEnabled(false);
        timer.SetInterval(3000);
        if (ticks.size() < 3) {
            timer.SetEnabled(true);
        }
    });
    timer.SetEnabled(true);
    clock.Advance(60000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{8000, 11000, 14000}));
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(StepTimerTest, DestroyingTheTimerCancelsIt) {
    {
        StepTimer other(clock, 1000);
        other.SetOnTimer([this] { ticks.push_back(-1); });
        other.SetEnabled(true);
    }
    clock.Advance(5000);
    EXPECT_TRUE(ticks.empty());
}

TEST(VirtualClock, AFireMayAdvanceTheClockItself) {
    // A tick that opens a modal box lets other timers fire inside it.
    VirtualClock clock;
    std::vector<std::int64_t> inner;
    clock.StartRepeating(2000, [&] { inner.push_back(clock.Now()); });
    bool nested = false;
    const auto outer = clock.StartRepeating(1000, [&] {
        if (!nested) {
            nested = true;
            clock.Advance(4500);
        }
    });
    clock.Advance(1000);
    EXPECT_EQ(clock.Now(), 5500);
    EXPECT_EQ(inner, (std::vector<std::int64_t>{2000, 4000}));
    clock.Cancel(outer);
    clock.Advance(500);
    EXPECT_EQ(inner, (std::vector<std::int64_t>{2000, 4000, 6000}));
}

}  // namespace
}  // namespace tavrisk
