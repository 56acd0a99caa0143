#pragma once
// The hotspot image control: a picture with named hotspots that light up under the
// pointer, can be pressed, selected, held down and made to blink. Every look is composed
// in advance, so pointer feedback is one clipped copy of a small bitmap.
#include "hotspot/HotSpots.h"
#include "platform/Bitmap.h"
#include "platform/CustomControl.h"
#include "platform/Picture.h"
#include "platform/Timer.h"

#include <QPointer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vandora {

class TCustomImageList;

enum TSelectionMode : std::uint8_t { smSingleSelect = 0, smMultiSelectCtrl = 1, smMultiSelect = 2 };

// Sender (the control) and the hotspot concerned.
using THotSpotEvent = TEvent<TObject*, THotSpot*>;

class TMorvane : public TCustomControl {
    Q_OBJECT
    // The plain published properties, for Qt's ways of setting them: setProperty, dynamic
    // properties on a widget promoted in Qt Designer, qproperty- in a style sheet.
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int blinkInterval READ BlinkInterval WRITE SetBlinkInterval)
    Q_PROPERTY(bool stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool transparent READ Transparent WRITE SetTransparent)
public:
    explicit TMorvane(QWidget* parent = nullptr);
    ~TMorvane() override;

    const char* ClassName() const override { return "TMorvane"; }
    virtual std::uint32_t VersionNumber() const { return 0x01050000; }

    // --- published properties ---
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int BlinkInterval() const { return blinkInterval_; }
    void SetBlinkInterval(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TCursor HotSpotCursor() const { return hotSpotCursor_; }
    void SetHotSpotCursor(TCursor value) { hotSpotCursor_ = value; }
    THotSpots& HotSpots() { return *hotSpots_; }
    const THotSpots& HotSpots() const { return *hotSpots_; }
    void SetHotSpots(const THotSpots* value);
    // The image list the looks take their glyphs from; not owned, must outlive the control
    // or be cleared first.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value) { images_ = value; }
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    void SetPicture(const TPicture* value);
    TSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSelectionMode value) { selectionMode_ = value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    // "1.5.0.0"; writing is accepted and ignored.
    std::string Version() const;
    void SetVersion(const std::string& value) { (void)value; }

    THotSpotEvent OnHotSpotEnter;
    THotSpotEvent OnHotSpotExit;
    THotSpotEvent OnHotSpotClick;
    THotSpotEvent OnHotSpotRightClick;
    THotSpotEvent OnHotSpotDblClick;
    TNotifyEvent OnPaint;

signals:
    // The same events for Qt's connect: each is emitted right after its On... handler has
    // run, for the same hotspot; not when that handler removed the hotspot or destroyed
    // the control. A slot may do anything a handler may.
    void hotSpotEntered(vandora::THotSpot* hotSpot);
    void hotSpotExited(vandora::THotSpot* hotSpot);
    void hotSpotClicked(vandora::THotSpot* hotSpot);
    void hotSpotRightClicked(vandora::THotSpot* hotSpot);
    void hotSpotDoubleClicked(vandora::THotSpot* hotSpot);

public:
    // --- state ---
    int HoverIndex() const { return hoverIndex_; }
    int ClickIndex() const { return clickIndex_; }
    void SetClickIndex(int value) { clickIndex_ = value; }
    // Sets the hovered index without drawing or hotspot events (the collection's batch end,
    // a new collection, a release elsewhere); only the accessible description follows.
    void SetHoverIndexQuietly(int value)
    {
        hoverIndex_ = value;
        DescribeHover();
    }
    TCursor NormalCursor() const { return normalCursor_; }
    TTimer& BlinkTimer() { return blinkTimer_; }
    int BlinkPhase() const { return blinkPhase_; }
    // The picture as last painted, at the control's size, without the looks: 32-bit, or
    // with an alpha channel when Transparent.
    const QImage& BackgroundBuffer() const { return backgroundBuffer_; }

    // --- drawing one hotspot; surface null means straight onto the window ---
    void DrawHover(int index, TCanvas* surface = nullptr);
    void DrawClick(int index, TCanvas* surface = nullptr);
    void DrawSelected(int index, TCanvas* surface = nullptr);
    void DrawBlink(int index, TCanvas* surface = nullptr);
    // Puts the picture back over one hotspot on the window. Raises EListError for an
    // invalid index.
    void RestoreArea(int index);

    // Whether the collection is this control's own. Another collection may name the control
    // as its owner (one made to be copied in with SetHotSpots), but its indices do not name
    // the hotspots the control shows.
    bool HoldsHotSpots(const THotSpots* collection) const { return hotSpots_.get() == collection; }
    // The hotspot under a point: searched from the last index down, the first hit wins; -1.
    int HotSpotAt(int x, int y);
    // The hotspot under the pointer where it is now, for changes no pointer event brought.
    int HotSpotUnderPointer();
    // Lights the hotspot under a pointer at (x, y), or none, and sets the cursor to match.
    void HoverAt(int x, int y);
    // The hotspot the arrow key (dx, dy) leads to from hotspot `from`, by box centres: the
    // nearest within 45 degrees of that way, else the nearest at most twice as far aside
    // as ahead; -1 when there is none.
    int HotSpotToward(int from, int dx, int dy) const;
    // The blink timer's tick.
    void BlinkTick();

    // For layouts: the picture's size, or without one the size the control was given. An
    // AutoSize control has a fixed size policy, any other the preferred one.
    QSize sizeHint() const override;

    void Loaded() override;
    // The stored selection, as far as it was read, under the control's selection mode.
    void ReadFailed() override { KeepOneSelectionIfSingle(); }
    // Under smSingleSelect, deselects all but the last selected hotspot.
    void KeepOneSelectionIfSingle();
    // The hint for the pointer's place: the hovered hotspot's, else the control's own.
    void HintRequest(THintInfo& info) override;
    // Keeps the hovered and pressed indices naming the same hotspots when one is destroyed.
    void HotSpotRemoving(int index);

protected:
    void Paint() override;
    void Resize() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void MouseLeave() override;
    // Keys, for a control given a focus policy (it takes no focus by default): the arrows
    // light the nearest hotspot that way, Page Down and Page Up the next and previous in
    // index order, Home and End the first and the last; Space and Enter click the lit
    // one, Esc puts the light out.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class TLook { Hover, Click, Selected, Blink };
    void DrawLook(TLook look, int index, TCanvas* surface);
    void PaintEmpty();
    void PaintPicture();
    void PaintOverlays(TCanvas& canvas);
    void PictureChanged();
    void BindHotSpots();
    void SetHoverIndex(int value);
    // The left button's part of a press on a hotspot: the click look and the selection.
    void PressHotSpot(int index);
    // Holds a hotspot down until the left release: the click look, a press pending.
    void HoldDown(int index);
    // How a left press ends: released at a point (a click when over the pressed hotspot),
    // from the keyboard (always a click) or lost (never a click).
    enum class TRelease { AtPoint, FromKey, Lost };
    // Ends a left press: a click, else an exit of the pressed hotspot (unless leaving the
    // control already raised that one).
    void ReleasePress(TRelease how, TPoint at = {});
    // A left press whose release never came (a modal box opened by a handler took it) ends
    // as a release away from the hotspot once the pointer shows the button up.
    void EndLostPress(TShiftState buttonsHeld);
    // The keyboard's counterparts of pointing at a hotspot and clicking it.
    void StepHover(int step);
    void MoveHover(int dx, int dy);
    void HoverByKey(int index);
    // Lights a hotspot as the keys do, unannounced; false when nothing is lit after it (or
    // the control was destroyed by a handler).
    bool LightByKey(int index);
    // Tells assistive technology which hotspot the keys lit, after the focus event.
    void AnnounceKeysLightAfterFocus();
    void ClickHovered();
    // Lights a hotspot and clicks it as Space would: assistive technology's press.
    void ClickHotSpot(int index);
    friend class THotSpotAccessible;
    bool Outside(int x, int y) const { return x < 0 || y < 0 || x > Width() || y > Height(); }
    bool ValidIndex(int index) const { return index >= 0 && index < hotSpots_->Count(); }
    using THotSpotSignal = void (TMorvane::*)(THotSpot*);
    // Raises a hotspot event, then emits its signal; false when a handler or a slot
    // destroyed the control.
    bool Raise(const THotSpotEvent& event, THotSpotSignal signal, int index);

    // An index held across a handler call. While the guard lives, destroying hotspots
    // keeps it naming the same hotspot, or -1 when that one is gone.
    class TIndexGuard {
    public:
        TIndexGuard(TMorvane& control, int& index);
        ~TIndexGuard();
        TIndexGuard(const TIndexGuard&) = delete;
        TIndexGuard& operator=(const TIndexGuard&) = delete;

    private:
        QPointer<TMorvane> control_;
        int& index_;
    };
    static void FollowRemoval(int& tracked, int removed);
    // The accessible description names the hovered hotspot, or nothing.
    void DescribeHover();

    std::unique_ptr<THotSpots> hotSpots_;
    TPicture picture_;
    int hoverIndex_ = -1;
    int clickIndex_ = -1;
    QImage backgroundBuffer_;
    TColor color_ = clBlack;
    bool releaseDone_ = false;
    bool pressExitRaised_ = false; // the pressed hotspot was exited when the pointer left
    bool dblClickPending_ = false;
    bool keyHover_ = false; // the lit hotspot was chosen with the keys, not the pointer
    // Counts full paints: one run by a handler amid a hover change or a click drew the
    // looks of the state before it, which the change's own drawing does not undo.
    unsigned paints_ = 0;
    bool transparent_ = false;
    bool autoSize_ = false;
    bool stretch_ = false;
    TCursor hotSpotCursor_ = crDefault;
    TCursor normalCursor_ = crDefault;
    TCustomImageList* images_ = nullptr;
    TSelectionMode selectionMode_ = smSingleSelect;
    TTimer blinkTimer_;
    int blinkInterval_ = 100;
    int blinkPhase_ = 0;
    std::vector<int*> trackedIndices_; // held by TIndexGuard; not owned
};

} // namespace vandora
