#include "platform/Timer.h"

#include <QTimer>
#include <algorithm>
#include <climits>

namespace vandora {

TTimer::TTimer() : timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { Tick(); });
    Update();
}

TTimer::~TTimer()
{
    timer_->stop();
}

void TTimer::SetInterval(std::uint32_t ms)
{
    if (interval_ == ms)
        return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool value)
{
    if (enabled_ == value)
        return;
    enabled_ = value;
    Update();
}

bool TTimer::Running() const
{
    return timer_->isActive(); // the Qt timer itself, so a test sees what really runs
}

void TTimer::Tick()
{
    OnTimer(this);
}

void TTimer::Update()
{
    // As the framework does, a change restarts the count from now.
    timer_->stop();
    if (!enabled_ || interval_ == 0)
        return;
    timer_->setInterval(int(std::min<std::uint32_t>(interval_, INT_MAX)));
    timer_->start();
}

} // namespace vandora
