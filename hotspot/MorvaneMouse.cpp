// Pointer interaction: hover tracking, presses, releases, double clicks and hints.
#include "hotspot/Morvane.h"

#include "hotspot/HotSpotAccessible.h"

#include "platform/KeyState.h"
#include "platform/OnThrow.h"

#include <QPointer>

#include <utility>

namespace vandora {

int TMorvane::HotSpotAt(int x, int y)
{
    for (int i = hotSpots_->Count() - 1; i >= 0; --i)
        if (hotSpots_->Item(i)->ContainsPoint(x, y) != 0)
            return i;
    return -1;
}

int TMorvane::HotSpotUnderPointer()
{
    const TPoint p = PointerPos();
    return Outside(p.x, p.y) ? -1 : HotSpotAt(p.x, p.y);
}

bool TMorvane::Raise(const THotSpotEvent& event, THotSpotSignal signal, int index)
{
    if (!ValidIndex(index))
        return true;
    QPointer<TMorvane> alive(this);
    TIndexGuard sameHotSpot(*this, index);
    if (event) {
        // A copy: the handler may reassign the event it runs in.
        const THotSpotEvent handler = event;
        handler(this, hotSpots_->Item(index));
        if (!alive)
            return false;
    }
    if (ValidIndex(index))
        (this->*signal)(hotSpots_->Item(index));
    return !alive.isNull();
}

void TMorvane::SetHoverIndex(int value)
{
    if (value == hoverIndex_)
        return;
    CancelHint();
    int old = hoverIndex_;
    // The handlers below may add or destroy hotspots: both indices follow.
    TIndexGuard keepOld(*this, old);
    TIndexGuard keepNew(*this, value);
    // A handler that throws leaves the hover where the steps reached: nothing once the old
    // hotspot's look is gone, the new one once its look is drawn. The window is repainted
    // from that state: a held-down old hotspot, or a paint the handler ran first, left
    // looks of the state before.
    QPointer<TMorvane> alive(this);
    bool entered = false;
    const unsigned paintsBefore = paints_;
    TOnThrow settle([&] {
        if (!alive)
            return;
        SetHoverIndexQuietly(entered && ValidIndex(value) ? value : -1);
        Invalidate();
    });
    if (ValidIndex(old) && clickIndex_ == -1) {
        if (!hotSpots_->Item(old)->ShowClick())
            RestoreArea(old);
        if (!Raise(OnHotSpotExit, &TMorvane::hotSpotExited, old))
            return;
    }
    if (ValidIndex(value) && clickIndex_ == -1) {
        if (!hotSpots_->Item(value)->ShowClick())
            DrawHover(value);
        entered = true;
        if (!Raise(OnHotSpotEnter, &TMorvane::hotSpotEntered, value))
            return;
    }
    hoverIndex_ = ValidIndex(value) ? value : -1;
    if ((ValidIndex(old) && hotSpots_->Item(old)->Down()) || paints_ != paintsBefore)
        Invalidate();
    DescribeHover();
}

void TMorvane::DescribeHover()
{
    const QString name = ValidIndex(hoverIndex_) ? SpokenName(*hotSpots_->Item(hoverIndex_)) : QString();
    if (name != accessibleDescription())
        setAccessibleDescription(name);
}

void TMorvane::MouseMove(TShiftState shift, int x, int y)
{
    QPointer<TMorvane> alive(this);
    TCustomControl::MouseMove(shift, x, y);
    if (!alive || IsDesigning())
        return;
    EndLostPress(shift);
    if (alive)
        HoverAt(x, y);
}

void TMorvane::HoverAt(int x, int y)
{
    QPointer<TMorvane> alive(this);
    keyHover_ = false;
    if (Outside(x, y)) {
        SetHoverIndex(-1);
        if (alive)
            SetCursor(normalCursor_);
        return;
    }
    const int hit = HotSpotAt(x, y);
    if (hit != -1) {
        SetHoverIndex(hit);
        if (alive)
            SetCursor(hotSpotCursor_);
        return;
    }
    SetCursor(normalCursor_);
    SetHoverIndex(-1);
}

void TMorvane::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TMorvane> alive(this);
    // Taken before OnMouseDown runs: a handler that throws must not leave the next real
    // press to be taken for a double click's second half.
    const bool doubleClicksPress = std::exchange(dblClickPending_, false);
    TCustomControl::MouseDown(button, shift, x, y);
    if (!alive || doubleClicksPress)
        return;
    // Two left presses with no release between them: the first one's release was lost.
    EndLostPress(button == mbLeft ? shift & ~TShiftState(ssLeft) : shift);
    if (!alive)
        return;
    // The keys may have moved the light off the hotspot under a pointer that has not moved
    // since: the press is where the pointer is.
    if (keyHover_) {
        HoverAt(x, y);
        if (!alive)
            return;
    }
    int target = hoverIndex_;
    TIndexGuard keepTarget(*this, target);
    if (target == -1) {
        if (Outside(x, y)) {
            SetHoverIndex(-1);
            return;
        }
        target = HotSpotAt(x, y);
        SetHoverIndex(target);
        if (!alive || !ValidIndex(target))
            return;
    }
    if (button == mbRight && !Raise(OnHotSpotRightClick, &TMorvane::hotSpotRightClicked, target))
        return;
    if (button != mbLeft || !ValidIndex(target))
        return;
    PressHotSpot(target);
}

void TMorvane::PressHotSpot(int index)
{
    HoldDown(index);
    hotSpots_->Item(index)->ToggleSelected();
}

void TMorvane::HoldDown(int index)
{
    releaseDone_ = false;
    pressExitRaised_ = false;
    clickIndex_ = index;
    DrawClick(index);
}

void TMorvane::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TMorvane> alive(this);
    TCustomControl::MouseUp(button, shift, x, y);
    if (!alive)
        return;
    ReleasePress(TRelease::AtPoint, TPoint{x, y});
}

void TMorvane::EndLostPress(TShiftState buttonsHeld)
{
    if (!releaseDone_ && clickIndex_ != -1 && (buttonsHeld & ssLeft) == 0)
        ReleasePress(TRelease::Lost);
}

void TMorvane::ReleasePress(TRelease how, TPoint at)
{
    if (releaseDone_)
        return;
    releaseDone_ = true;
    if (!ValidIndex(clickIndex_)) {
        clickIndex_ = -1;
        return;
    }
    const int c = clickIndex_;
    // A click or exit handler that throws still ends the press: the control would
    // otherwise stay pressed, with no hover, no events and no key clicks until the next press.
    // A paint the handler ran first drew the click look: the window is repainted.
    QPointer<TMorvane> alive(this);
    bool click = false;
    TOnThrow endPress([&] {
        if (!alive)
            return;
        clickIndex_ = -1;
        if (!click)
            SetHoverIndexQuietly(-1);
        Invalidate();
    });
    THotSpot* pressed = hotSpots_->Item(c);
    if (!pressed->ShowClick() && !pressed->Selected())
        RestoreArea(c);
    else if (pressed->Selected() && !pressed->ShowClick() && !pressed->Down())
        DrawSelected(c); // a double click's press toggles nothing: its click look lay on top
    click = how == TRelease::FromKey || (how == TRelease::AtPoint && pressed->ContainsPoint(at.x, at.y) != 0);
    const unsigned paintsBefore = paints_;
    if (click) {
        int drawnHover = hoverIndex_;
        TIndexGuard keepDrawnHover(*this, drawnHover);
        if (ValidIndex(hoverIndex_) && !hotSpots_->Item(hoverIndex_)->ShowClick())
            DrawHover(hoverIndex_);
        if (!Raise(OnHotSpotClick, &TMorvane::hotSpotClicked, c))
            return;
        clickIndex_ = -1;
        // The pointer left or moved on while the handler ran (a modal box took it): those
        // hover changes drew nothing, and the hover look drawn above would stay.
        if (hoverIndex_ != drawnHover) {
            Invalidate();
            return;
        }
    } else {
        if (!pressExitRaised_ && !Raise(OnHotSpotExit, &TMorvane::hotSpotExited, c))
            return;
        clickIndex_ = -1;
        SetHoverIndexQuietly(-1);
    }
    if (paints_ != paintsBefore)
        Invalidate(); // a handler's paint drew the click look, which ends here
}

void TMorvane::DblClick()
{
    QPointer<TMorvane> alive(this);
    TCustomControl::DblClick();
    if (!alive)
        return;
    dblClickPending_ = true;
    // A handler that throws ends the event before its press part, which would have taken
    // the flag down: the next real press must not be swallowed.
    TOnThrow noPressFollows([&] {
        if (alive)
            dblClickPending_ = false;
    });
    int target = keyHover_ ? -1 : hoverIndex_;
    keyHover_ = false;
    TIndexGuard keepTarget(*this, target);
    if (target == -1) {
        target = HotSpotUnderPointer();
        SetHoverIndex(target);
        if (!alive || !ValidIndex(target))
            return;
    }
    HoldDown(target);
    Raise(OnHotSpotDblClick, &TMorvane::hotSpotDoubleClicked, target);
}

void TMorvane::MouseLeave()
{
    // The keys' light is not the pointer's to take (a box opened by its click sends a
    // leave when the pointer rests on the control).
    if (keyHover_)
        return;
    // While a press is pending the hover change raises nothing, so the exit is raised
    // here; otherwise the hover change raises it. Either way a handler sees it once. The
    // press's end still exits the pressed hotspot unless this exit was already for it.
    if (ValidIndex(hoverIndex_) && clickIndex_ != -1) {
        pressExitRaised_ = pressExitRaised_ || hoverIndex_ == clickIndex_;
        QPointer<TMorvane> alive(this);
        TOnThrow leave([&] {
            if (alive)
                SetHoverIndexQuietly(-1);
        });
        if (!Raise(OnHotSpotExit, &TMorvane::hotSpotExited, hoverIndex_))
            return;
    }
    SetHoverIndex(-1);
}

void TMorvane::HintRequest(THintInfo& info)
{
    info.HintStr = ValidIndex(hoverIndex_) ? hotSpots_->Item(hoverIndex_)->Hint() : Hint();
}

} // namespace vandora
