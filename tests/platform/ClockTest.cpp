// The performance counter and the tick count, and the seam that lets the counter fail.
#include "TestDoubles.h"

#include "platform/Clock.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TFakeClock;

TEST(ClockTest, TheDefaultCounterWorksAndNeverGoesBack)
{
    std::int64_t a = 0;
    std::int64_t b = 0;
    ASSERT_TRUE(QueryPerformanceCounter(a));
    ASSERT_TRUE(QueryPerformanceCounter(b));
    EXPECT_GE(b, a);
    std::int64_t frequency = 0;
    EXPECT_TRUE(QueryPerformanceFrequency(frequency));
    EXPECT_EQ(frequency, 1'000'000'000);
}

TEST(ClockTest, TheDefaultTickCountIsMilliseconds)
{
    const std::uint32_t ticks = GetTickCount();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    const std::uint32_t expected = std::uint32_t(std::uint64_t(ms));
    EXPECT_LE(expected - ticks, 1000u); // same clock, same unit (modulo 2^32)
}

TEST(ClockTest, ACounterThatFailsLeavesTheTickCount)
{
    TFakeClock clock;
    clock.counterWorks = false;
    clock.ticks = 4242;
    ScopedService<IClockService> guard(SetClockService, &clock);
    std::int64_t count = -1;
    EXPECT_FALSE(QueryPerformanceCounter(count));
    std::int64_t frequency = 0;
    EXPECT_FALSE(QueryPerformanceFrequency(frequency));
    EXPECT_EQ(GetTickCount(), 4242u);

    // The caller's fall-back, as the quiz seeds its random source.
    auto seed = [] {
        std::int64_t c = 0;
        return QueryPerformanceCounter(c) ? std::uint32_t(c) : GetTickCount();
    };
    EXPECT_EQ(seed(), 4242u);
    clock.counterWorks = true;
    clock.counter = 77;
    EXPECT_EQ(seed(), 77u);
}
