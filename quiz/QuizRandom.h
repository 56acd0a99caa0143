#pragma once
// The quiz's random source: a 32-bit linear congruential generator. Its exact steps are
// fixed so that a given seed always asks the questions in the same order.
#include <cstdint>

namespace vandora {

class TQuizRandom {
public:
    // The low 32 bits of the high-resolution counter, or the millisecond tick count when
    // the counter cannot be read.
    void SeedFromClock();
    void SetState(std::uint32_t state) { state_ = state; }
    std::uint32_t State() const { return state_; }

    // A number in 0..n-1 for n >= 1; advances the state exactly once.
    std::uint32_t Pick(std::uint32_t n);

private:
    std::uint32_t state_ = 0;
};

} // namespace vandora
