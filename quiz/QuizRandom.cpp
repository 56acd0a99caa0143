#include "quiz/QuizRandom.h"

#include "platform/Clock.h"

namespace vandora {

void TQuizRandom::SeedFromClock()
{
    std::int64_t counter = 0;
    if (QueryPerformanceCounter(counter))
        state_ = static_cast<std::uint32_t>(static_cast<std::uint64_t>(counter));
    else
        state_ = GetTickCount();
}

std::uint32_t TQuizRandom::Pick(std::uint32_t n)
{
    // Unsigned arithmetic wraps, which is the modulo 2^32 of the step.
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t{n} * state_) >> 32);
}

} // namespace vandora
