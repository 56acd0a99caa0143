// Keyboard interaction, for a control given a focus policy: the keys light and click
// hotspots as the pointer does, raising the same events.
#include "hotspot/Morvane.h"

#include "hotspot/MorvaneAccessible.h"
#include "platform/OnThrow.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

#include <cstdlib>
#include <utility>

namespace vandora {

void TMorvane::keyPressEvent(QKeyEvent* event)
{
    // Shortcuts with Ctrl, Alt or Meta belong to the window.
    if (IsDesigning() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        TCustomControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Right: MoveHover(1, 0); return;
    case Qt::Key_Left: MoveHover(-1, 0); return;
    case Qt::Key_Down: MoveHover(0, 1); return;
    case Qt::Key_Up: MoveHover(0, -1); return;
    case Qt::Key_PageDown: StepHover(1); return;
    case Qt::Key_PageUp: StepHover(-1); return;
    case Qt::Key_Home: HoverByKey(0); return;
    case Qt::Key_End: HoverByKey(hotSpots_->Count() - 1); return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // With nothing lit the key is the window's (its default button, say); a held key
        // clicks once.
        if (!ValidIndex(hoverIndex_))
            break;
        if (!event->isAutoRepeat())
            ClickHovered();
        return;
    case Qt::Key_Escape:
        if (!ValidIndex(hoverIndex_))
            break;
        SetHoverIndex(-1);
        return;
    default: break;
    }
    TCustomControl::keyPressEvent(event);
}

void TMorvane::focusInEvent(QFocusEvent* event)
{
    TCustomControl::focusInEvent(event);
    // Back from a message box or another window: the keys' light was kept, say where it is.
    if (keyHover_ && ValidIndex(hoverIndex_)) {
        AnnounceKeysLightAfterFocus();
        return;
    }
    // Reached with Tab, the control shows where the keys start: the first hotspot (the
    // last with Shift+Tab).
    if (IsDesigning() || hoverIndex_ != -1 || hotSpots_->Count() == 0)
        return;
    if ((event->reason() == Qt::TabFocusReason && LightByKey(0))
        || (event->reason() == Qt::BacktabFocusReason && LightByKey(hotSpots_->Count() - 1)))
        AnnounceKeysLightAfterFocus();
}

void TMorvane::AnnounceKeysLightAfterFocus()
{
    // Qt announces the control itself once its focus-in returns: the lit hotspot, said
    // before that, would not be a screen reader's last word.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus() && keyHover_ && ValidIndex(hoverIndex_))
                TMorvaneAccessible::HotSpotFocused(this, hoverIndex_);
        },
        Qt::QueuedConnection);
}

void TMorvane::focusOutEvent(QFocusEvent* event)
{
    TCustomControl::focusOutEvent(event);
    // A light the keys put on goes with the focus, back to the pointer's while it is there;
    // but not while the window only lost activation (a message box, another program): the
    // focus comes back here with it, and a keyboard player goes on from where they were.
    const bool windowOnly = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (keyHover_ && !windowOnly) {
        keyHover_ = false;
        SetHoverIndex(underMouse() ? HotSpotUnderPointer() : -1);
    }
}

void TMorvane::StepHover(int step)
{
    const int count = hotSpots_->Count();
    if (count == 0)
        return;
    const int from = ValidIndex(hoverIndex_) ? hoverIndex_ : (step > 0 ? -1 : count);
    HoverByKey(((from + step) % count + count) % count);
}

void TMorvane::MoveHover(int dx, int dy)
{
    // With nothing lit, an arrow starts where Page Down or Page Up would.
    if (ValidIndex(hoverIndex_))
        HoverByKey(HotSpotToward(hoverIndex_, dx, dy));
    else
        StepHover(dx + dy);
}

int TMorvane::HotSpotToward(int from, int dx, int dy) const
{
    if (!ValidIndex(from))
        return -1;
    // Twice the box centres, so that they stay whole numbers.
    const auto centre = [this](int i) {
        const THotSpot& h = *hotSpots_->Item(i);
        return std::pair<std::int64_t, std::int64_t>{2 * std::int64_t(h.X()) + h.Width(),
                                                     2 * std::int64_t(h.Y()) + h.Height()};
    };
    const auto [fromX, fromY] = centre(from);
    // Lowest wins: first whether it lies more aside than ahead (outside 45 degrees), then
    // the distance ahead plus twice the distance aside, so straight on counts for more.
    int best = -1;
    std::pair<bool, std::int64_t> bestKey;
    for (int i = 0; i < hotSpots_->Count(); ++i) {
        const auto [x, y] = centre(i);
        const std::int64_t along = (x - fromX) * dx + (y - fromY) * dy;
        const std::int64_t across = std::abs((x - fromX) * dy - (y - fromY) * dx);
        // Only what lies that way, not more than twice as far aside as ahead.
        if (i == from || along <= 0 || across > 2 * along)
            continue;
        const std::pair<bool, std::int64_t> key{across > along, along + 2 * across};
        if (best == -1 || key < bestKey) {
            best = i;
            bestKey = key;
        }
    }
    return best;
}

void TMorvane::HoverByKey(int index)
{
    if (LightByKey(index) && hasFocus())
        TMorvaneAccessible::HotSpotFocused(this, hoverIndex_);
}

bool TMorvane::LightByKey(int index)
{
    if (!ValidIndex(index))
        return false;
    QPointer<TMorvane> alive(this);
    // An enter handler that throws has still lit the hotspot: the light is the keys', and
    // goes with the focus.
    TOnThrow keysLight([&] {
        if (alive)
            keyHover_ = ValidIndex(hoverIndex_);
    });
    SetHoverIndex(index);
    if (!alive)
        return false;
    keyHover_ = true;
    return ValidIndex(hoverIndex_);
}

void TMorvane::ClickHovered()
{
    // A pointer press still held is the pointer's to finish.
    if (!ValidIndex(hoverIndex_) || clickIndex_ != -1)
        return;
    PressHotSpot(hoverIndex_);
    ReleasePress(TRelease::FromKey);
}

void TMorvane::ClickHotSpot(int index)
{
    QPointer<TMorvane> alive(this);
    TIndexGuard sameHotSpot(*this, index);
    HoverByKey(index);
    if (alive && ValidIndex(index) && hoverIndex_ == index)
        ClickHovered();
}

} // namespace vandora
