#include "quiz/QuizRandom.h"

#include "platform/TestDoubles.h"

#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TFakeClock;

TEST(QuizRandom, EachPickTakesOneStepOfTheGenerator)
{
    TQuizRandom random;
    random.SetState(0);
    EXPECT_EQ(random.Pick(34), 0u);
    EXPECT_EQ(random.State(), 1u);
    EXPECT_EQ(random.Pick(33), 1u);
    EXPECT_EQ(random.State(), 134775814u);
    random.Pick(1);
    EXPECT_EQ(random.State(), 3698175007u);
}

TEST(QuizRandom, StepWrapsAt32BitsAndResultIsTheHighHalfOfTheProduct)
{
    TQuizRandom random;
    random.SetState(0xFFFFFFFFu);
    // 0xFFFFFFFF * 134775813 + 1 wraps to 0xF7F77BFC; 34 * that, shifted down by 32, is 32.
    EXPECT_EQ(random.Pick(34), 32u);
    EXPECT_EQ(random.State(), 0xF7F77BFCu);

    // A full-width n keeps its 64-bit product: the result is one below the new state.
    random.SetState(0xFFFFFFFFu);
    EXPECT_EQ(random.Pick(0xFFFFFFFFu), 0xF7F77BFBu);

    for (std::uint32_t n : {1u, 2u, 7u, 34u, 1000u, 0x80000000u}) {
        random.SetState(0xDEADBEEFu);
        for (int i = 0; i < 200; ++i)
            EXPECT_LT(random.Pick(n), n);
    }
}

TEST(QuizRandom, SeedsFromTheLow32BitsOfTheCounterElseFromTheTickCount)
{
    TFakeClock clock;
    ScopedService<IClockService> guard(SetClockService, &clock);
    TQuizRandom random;
    clock.ticks = 4242;

    clock.counter = 0x123456789ABCDEF0;
    random.SeedFromClock();
    EXPECT_EQ(random.State(), 0x9ABCDEF0u);

    clock.counter = -2;
    random.SeedFromClock();
    EXPECT_EQ(random.State(), 0xFFFFFFFEu);

    clock.counterWorks = false;
    random.SeedFromClock();
    EXPECT_EQ(random.State(), 4242u);
}
