// Blinking: one timer drives every blinking hotspot in step.
#include "hotspot/Morvane.h"

namespace vandora {

void TMorvane::BlinkTick()
{
    if (IsDesigning())
        return;
    bool any = false;
    for (int i = 0; i < hotSpots_->Count(); ++i) {
        if (!hotSpots_->Item(i)->Blink())
            continue;
        any = true;
        if (blinkPhase_ == 0)
            DrawBlink(i);
        else
            RestoreArea(i);
    }
    blinkPhase_ = blinkPhase_ <= 0 ? 1 : 0;
    if (!any)
        blinkTimer_.SetEnabled(false);
}

void TMorvane::SetBlinkInterval(int value)
{
    // A negative interval would reach the timer as weeks; it stops blinking instead.
    blinkInterval_ = value < 0 ? 0 : value;
    if (IsDesigning())
        return;
    blinkTimer_.SetInterval(std::uint32_t(blinkInterval_));
    blinkTimer_.SetEnabled(blinkInterval_ != 0);
}

} // namespace vandora
