// The full repaint and the drawing of one hotspot's look between repaints.
#include "hotspot/Morvane.h"

#include "platform/Region.h"

#include <algorithm>

namespace vandora {

namespace {

// The box of one of an ellipse's looks, anchored at the hotspot's corner.
struct EllipseSize {
    int w;
    int h;
    friend bool operator==(const EllipseSize&, const EllipseSize&) = default;
};

// Limits a canvas to a hotspot's outline for one drawing, and lifts the limit again on
// every path. An ellipse is limited to the union of the ellipses given.
class HotSpotClip {
public:
    HotSpotClip(TCanvas& canvas, const THotSpot& hotspot, std::initializer_list<EllipseSize> ellipses)
        : canvas_(canvas)
    {
        if (!hotspot.Clipped())
            return;
        if (hotspot.ShapeType() == stEllipse)
            region_ = EllipsesRgn(hotspot, ellipses);
        else
            region_ = hotspot.CreateOutlineRgn(0, 0);
        if (region_)
            SelectClipRgn(canvas_, &region_);
        active_ = true;
    }
    ~HotSpotClip()
    {
        if (!active_)
            return;
        SelectClipRgn(canvas_, nullptr);
        DeleteObject(region_);
    }
    HotSpotClip(const HotSpotClip&) = delete;
    HotSpotClip& operator=(const HotSpotClip&) = delete;

private:
    // No region when any ellipse cannot have one: the drawing then goes unclipped, as for
    // any failed creation.
    static HRGN EllipsesRgn(const THotSpot& hotspot, std::initializer_list<EllipseSize> ellipses)
    {
        HRGN all;
        for (auto e = ellipses.begin(); e != ellipses.end(); ++e) {
            if (std::find(ellipses.begin(), e, *e) != e)
                continue;
            HRGN one = CreateEllipticRgn(hotspot.X(), hotspot.Y(), ClampedSum(hotspot.X(), e->w),
                                         ClampedSum(hotspot.Y(), e->h));
            if (!one)
                return HRGN();
            if (!all)
                all = std::move(one);
            else if (CombineRgn(all, all, one, RGN_OR) == REGION_ERROR)
                return HRGN();
        }
        return all;
    }

    TCanvas& canvas_;
    HRGN region_;
    bool active_ = false;
};

// The ellipse box of a look: its picture limits it unless the control stretches.
EllipseSize LookSize(const THotSpot& hotspot, const TPicture& picture, bool stretch)
{
    if (stretch || picture.Empty())
        return {hotspot.Width(), hotspot.Height()};
    return {std::min(hotspot.Width(), picture.Width()), std::min(hotspot.Height(), picture.Height())};
}

} // namespace

void TMorvane::Paint()
{
    ++paints_;
    if (picture_.Graphic() == nullptr)
        PaintEmpty();
    else
        PaintPicture();
    OnPaint(this);
}

void TMorvane::PaintEmpty()
{
    TCanvas& canvas = Canvas();
    canvas.Pen.Style = psDash;
    canvas.Pen.Color = color_;
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(0, 0, Width(), Height());
    canvas.Pen.Style = psSolid;
}

void TMorvane::PaintPicture()
{
    const TGraphic& graphic = *picture_.Graphic();
    const bool holdsImage = !graphic.Empty();
    TRect r{0, 0, graphic.Width(), graphic.Height()};
    const TRect whole{0, 0, Width(), Height()};

    // B: the picture on the background colour, opaque for now. An opaque bitmap covers
    // all of it, so B is that bitmap's pixels, shared until something draws on them.
    TBitmap b;
    if (const TBitmap* bitmap = OpaqueBitmap(graphic)) {
        b.Assign(bitmap->Image());
    } else {
        b.SetSize(holdsImage ? graphic.Width() : Width(), holdsImage ? graphic.Height() : Height());
        if (!transparent_) {
            b.Canvas().Brush.Style = bsSolid;
            b.Canvas().Brush.Color = color_;
            b.Canvas().FillRect(r);
        }
        if (holdsImage)
            b.Canvas().Draw(0, 0, graphic);
    }
    const bool bCoversControl = b.Width() == Width() && b.Height() == Height();
    b.SetTransparent(transparent_);

    // C: everything composed off-screen, then one copy to the window. An opaque B of the
    // control's size covers all of C, so C starts as B's pixels.
    r = whole;
    TBitmap c;
    if (!transparent_ && bCoversControl) {
        c.Assign(b.Image());
    } else {
        c.SetSize(Width(), Height());
        c.Canvas().Brush.Style = bsSolid;
        c.Canvas().Brush.Color = color_;
        c.Canvas().FillRect(r);
        if (stretch_)
            c.Canvas().StretchDraw(r, b);
        else
            c.Canvas().Draw(0, 0, b);
    }
    if (transparent_)
        c.SetTransparent(true);
    // Exactly what the window shows without the looks, so that erasing a look puts back
    // what a repaint would: Color beside a smaller picture, and with Transparent the key
    // colour see-through. Shared pixels until the looks are drawn on the composition.
    const QImage background = c.DrawImage();
    if (!IsDesigning())
        backgroundBuffer_ = background;
    if (transparent_ && !IsDesigning()) {
        // The looks go over the see-through composition, whole, as they are drawn between
        // repaints: the key colour is the picture's, never that of a look that happens to
        // cover the corner it is taken from. (Design mode's not-xor outlines need the
        // opaque composition under them.)
        Canvas().CopyRect(whole, background, whole);
        PaintOverlays(Canvas());
        return;
    }
    PaintOverlays(c.Canvas());
    Canvas().Draw(0, 0, c);
    // C and B are released here, C first, also when a step above raised.
}

void TMorvane::PaintOverlays(TCanvas& canvas)
{
    if (IsDesigning()) {
        canvas.Pen.Style = psDot;
        canvas.Pen.Mode = pmNotXor;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = clBlack;
        canvas.Brush.Style = bsClear;
        for (int i = 0; i < hotSpots_->Count(); ++i)
            hotSpots_->Item(i)->DrawShape(canvas);
        return;
    }
    if (ValidIndex(hoverIndex_) && clickIndex_ == -1) {
        const THotSpot* hovered = hotSpots_->Item(hoverIndex_);
        if (!hovered->ShowClick() && !hovered->Selected())
            DrawHover(hoverIndex_, &canvas);
    }
    if (clickIndex_ != -1)
        DrawClick(clickIndex_, &canvas);
    for (int i = 0; i < hotSpots_->Count(); ++i) {
        const THotSpot* hotspot = hotSpots_->Item(i);
        if (hotspot->Down() || hotspot->ShowClick())
            DrawClick(i, &canvas);
        else if (hotspot->Selected())
            DrawSelected(i, &canvas);
    }
}

void TMorvane::DrawHover(int index, TCanvas* surface)
{
    DrawLook(TLook::Hover, index, surface);
}

void TMorvane::DrawClick(int index, TCanvas* surface)
{
    DrawLook(TLook::Click, index, surface);
}

void TMorvane::DrawSelected(int index, TCanvas* surface)
{
    DrawLook(TLook::Selected, index, surface);
}

void TMorvane::DrawBlink(int index, TCanvas* surface)
{
    DrawLook(TLook::Blink, index, surface);
}

void TMorvane::DrawLook(TLook look, int index, TCanvas* surface)
{
    // While a form is read the picture may still be the one it replaces, and loading
    // ends with a repaint of every look: a look drawn (and composed) now is wasted or stale.
    if (!ValidIndex(index) || IsLoading())
        return;
    TCanvas& target = surface ? *surface : Canvas();
    THotSpot& hotspot = *hotSpots_->Item(index);
    if (look == TLook::Hover && (hotspot.Selected() || hotspot.Blink()))
        return;
    // A hotspot added after the picture is bound at its first pointer test; one selected
    // or held down in code before that would show looks never composed.
    if (hotspot.AwaitsBackground() && !picture_.Empty())
        hotspot.BindControlPicture();
    const TBitmap* bitmap = nullptr;
    const TPicture* picture = nullptr;
    switch (look) {
    case TLook::Hover:
        bitmap = &hotspot.HoverClippedBitmap();
        picture = &hotspot.HoverImage();
        break;
    case TLook::Click:
        bitmap = &hotspot.ClickClippedBitmap();
        picture = &hotspot.ClickImage();
        break;
    case TLook::Selected:
        bitmap = &hotspot.SelectClippedBitmap();
        picture = &hotspot.SelectedImage();
        break;
    case TLook::Blink:
        bitmap = &hotspot.BlinkClippedBitmap();
        // While selected the blink look is built from the selected one's picture: its
        // ellipse is that picture's size.
        picture = hotspot.Selected() ? &hotspot.SelectedImage() : &hotspot.BlinkImage();
        break;
    }
    HotSpotClip clip(target, hotspot, {LookSize(hotspot, *picture, stretch_)});
    if (!bitmap->Empty())
        target.Draw(hotspot.X(), hotspot.Y(), *bitmap);
}

void TMorvane::RestoreArea(int index)
{
    const THotSpot& hotspot = *hotSpots_->Item(index);
    if (hotspot.Down() || (hotspot.Selected() && !hotspot.Blink()))
        return;
    // Each look of an ellipse is its own picture's size, and any of them may be showing:
    // the erase covers them all, so that no ring of a larger look is left behind.
    HotSpotClip clip(Canvas(), hotspot,
                     {LookSize(hotspot, hotspot.HoverImage(), stretch_),
                      LookSize(hotspot, hotspot.ClickImage(), stretch_),
                      LookSize(hotspot, hotspot.SelectedImage(), stretch_),
                      LookSize(hotspot, hotspot.BlinkImage(), stretch_)});
    const TRect box = hotspot.BoundsRect();
    Canvas().CopyRect(box, backgroundBuffer_, box);
}

} // namespace vandora
