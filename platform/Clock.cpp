#include "platform/Clock.h"

#include <chrono>

namespace vandora {

namespace {

class TDefaultClockService final : public IClockService {
public:
    bool QueryPerformanceCounter(std::int64_t& count) override
    {
        count = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count();
        return true;
    }

    bool QueryPerformanceFrequency(std::int64_t& frequency) override
    {
        frequency = 1'000'000'000;
        return true;
    }

    std::uint32_t GetTickCount() override
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
    }
};

TDefaultClockService& DefaultService()
{
    static TDefaultClockService service;
    return service;
}

IClockService* g_service = nullptr;

} // namespace

IClockService& ClockService()
{
    return g_service ? *g_service : DefaultService();
}

IClockService* SetClockService(IClockService* service)
{
    IClockService* previous = g_service;
    g_service = service;
    return previous;
}

bool QueryPerformanceCounter(std::int64_t& count)
{
    return ClockService().QueryPerformanceCounter(count);
}

bool QueryPerformanceFrequency(std::int64_t& frequency)
{
    return ClockService().QueryPerformanceFrequency(frequency);
}

std::uint32_t GetTickCount()
{
    return ClockService().GetTickCount();
}

} // namespace vandora
