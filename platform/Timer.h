#pragma once
// A timer whose ticks arrive on the user-interface thread, over QTimer.
#include "platform/Component.h"
#include "platform/Events.h"

#include <cstdint>
#include <memory>

class QTimer;

namespace vandora {

class TTimer : public TComponent {
public:
    TTimer();
    ~TTimer() override;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    const char* ClassName() const override { return "TTimer"; }

    // Milliseconds between ticks (default 1000). 0 stops the timer. Values above INT_MAX
    // run at INT_MAX milliseconds, the longest QTimer knows.
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t ms);

    // Default true.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // Whether ticks come: the underlying timer runs (Enabled and a non-zero Interval).
    bool Running() const;

    // Raised on every tick, with the timer as the sender.
    TNotifyEvent OnTimer;

    // One tick now, as when the interval has elapsed: raises OnTimer. It does not look at
    // Enabled or Interval (Running() tells whether ticks would come), so tests need not wait.
    void Tick();

private:
    void Update();

    std::unique_ptr<QTimer> timer_;
    std::uint32_t interval_ = 1000;
    bool enabled_ = true;
};

} // namespace vandora
