// TTimer: runs only while enabled with a non-zero interval; ticks raise OnTimer.
#include "platform/Timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

using namespace vandora;

TEST(TimerTest, DefaultsAreEnabledAndOneSecond)
{
    TTimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(timer.Running());
    EXPECT_STREQ(timer.ClassName(), "TTimer");
}

TEST(TimerTest, RunsOnlyWhileEnabledWithANonZeroInterval)
{
    TTimer timer;
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(250);
    EXPECT_TRUE(timer.Running());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(1);
    EXPECT_TRUE(timer.Running());
}

TEST(TimerTest, IntervalIsUnsigned)
{
    TTimer timer;
    timer.SetInterval(UINT32_MAX);
    EXPECT_EQ(timer.Interval(), UINT32_MAX);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(std::uint32_t(INT_MAX) + 1u);
    EXPECT_EQ(timer.Interval(), std::uint32_t(INT_MAX) + 1u);
    EXPECT_TRUE(timer.Running());
}

TEST(TimerTest, TickRaisesOnTimerWithTheTimerAsSender)
{
    TTimer timer;
    TObject* sender = nullptr;
    int ticks = 0;
    timer.OnTimer = TNotifyEvent([&](TObject* s) {
        sender = s;
        ++ticks;
    });
    timer.Tick();
    timer.Tick();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(sender, &timer);
}

TEST(TimerTest, TickWithoutHandlerDoesNothing)
{
    TTimer timer;
    timer.Tick();
    SUCCEED();
}

TEST(TimerTest, ARunningTimerTicksThroughTheEventLoop)
{
    TTimer timer;
    int ticks = 0;
    timer.OnTimer = TNotifyEvent([&](TObject*) { ++ticks; });
    timer.SetInterval(1);
    // The event loop delivers the ticks; no fixed sleep, just events until the first one.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
    timer.SetEnabled(false);
    const int after = ticks;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 20)
        QCoreApplication::processEvents();
    EXPECT_EQ(ticks, after); // a disabled timer does not tick
    // An interval of 0 stops it even while enabled (a 0 ms Qt timer would tick on every
    // pass of the event loop).
    timer.SetEnabled(true);
    timer.SetInterval(0);
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(ticks, after);
}
