// Keyboard interaction, for a control given a focus policy: the keys light and click
// hotspots as the pointer does, raising the same events.
#include "hotspot/Morvane.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

namespace vandora {

void TMorvane::keyPressEvent(QKeyEvent* event)
{
    // Shortcuts with Ctrl, Alt or Meta belong to the window.
    if (IsDesigning() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        TCustomControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down: StepHover(1); return;
    case Qt::Key_Left:
    case Qt::Key_Up: StepHover(-1); return;
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
    // Reached with Tab, the control shows where the keys start: the first hotspot (the
    // last with Shift+Tab).
    if (IsDesigning() || hoverIndex_ != -1 || hotSpots_->Count() == 0)
        return;
    if (event->reason() == Qt::TabFocusReason)
        HoverByKey(0);
    else if (event->reason() == Qt::BacktabFocusReason)
        HoverByKey(hotSpots_->Count() - 1);
}

void TMorvane::focusOutEvent(QFocusEvent* event)
{
    TCustomControl::focusOutEvent(event);
    // A light the keys put on goes with the focus; the pointer's stays while it is there.
    if (keyHover_ && !underMouse())
        SetHoverIndex(-1);
    keyHover_ = false;
}

void TMorvane::StepHover(int step)
{
    const int count = hotSpots_->Count();
    if (count == 0)
        return;
    const int from = ValidIndex(hoverIndex_) ? hoverIndex_ : (step > 0 ? -1 : count);
    HoverByKey(((from + step) % count + count) % count);
}

void TMorvane::HoverByKey(int index)
{
    if (!ValidIndex(index))
        return;
    QPointer<TMorvane> alive(this);
    SetHoverIndex(index);
    if (alive)
        keyHover_ = true;
}

void TMorvane::ClickHovered()
{
    // A pointer press still held is the pointer's to finish.
    if (!ValidIndex(hoverIndex_) || clickIndex_ != -1)
        return;
    PressHotSpot(hoverIndex_);
    ReleasePress(nullptr);
}

} // namespace vandora
