#pragma once
// The high-resolution performance counter and the millisecond tick count.
//
// Seam: both are read through an IClockService. The default one reads the steady
// (monotonic) clock; a test installs a double, e.g. one whose counter fails, to check the
// caller's fall-back to the tick count.
#include <cstdint>

namespace vandora {

class IClockService {
public:
    virtual ~IClockService() = default;
    // The counter's current value; false when there is no counter.
    virtual bool QueryPerformanceCounter(std::int64_t& count) = 0;
    // Counter ticks per second; false when there is no counter.
    virtual bool QueryPerformanceFrequency(std::int64_t& frequency) = 0;
    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t GetTickCount() = 0;
};

IClockService& ClockService();
// Installs a service (not owned) and returns the one it replaces; null puts the default back.
IClockService* SetClockService(IClockService* service);

// The default counter counts nanoseconds of the monotonic clock.
bool QueryPerformanceCounter(std::int64_t& count);
bool QueryPerformanceFrequency(std::int64_t& frequency);
std::uint32_t GetTickCount();

} // namespace vandora
