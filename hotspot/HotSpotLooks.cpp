// Composing a hotspot's four looks into its state bitmaps.
#include "hotspot/HotSpot.h"

#include "hotspot/BackgroundCopy.h"
#include "hotspot/Morvane.h"
#include "platform/CustomImageList.h"
#include "platform/Region.h"

#include <algorithm>
#include <climits>

namespace vandora {

namespace {

// Integer product, real division, nearest integer with ties to even.
int Scaled(int value, int numerator, int denominator)
{
    return RoundToInt(double(std::int64_t(value) * numerator) / double(denominator));
}

// Clears a canvas's clip region when the look is done, also when drawing raised.
class ClipScope {
public:
    ClipScope(TCanvas& canvas, HRGN region) : canvas_(canvas), region_(std::move(region))
    {
        if (region_)
            SelectClipRgn(canvas_, &region_);
    }
    ~ClipScope()
    {
        SelectClipRgn(canvas_, nullptr);
        DeleteObject(region_);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    TCanvas& canvas_;
    HRGN region_;
};

} // namespace

HRGN THotSpot::CreateOutlineRgn(int dx, int dy) const
{
    if (!outlineBuilt_ || outlineRevision_ != shape_.Revision()) {
        const TPoints& points = shape_.Points();
        TIntPoints rounded(points.size());
        std::transform(points.begin(), points.end(), rounded.begin(), RoundPoint);
        outlineRegion_ = CreatePolygonRgn(rounded.data(), int(rounded.size()), ALTERNATE);
        outlineRevision_ = shape_.Revision();
        outlineBuilt_ = true;
    }
    if (!outlineRegion_)
        return HRGN();
    return HRGN(outlineRegion_.Region().translated(dx, dy));
}

void THotSpot::RebuildHoverBitmap()
{
    BuildStateBitmap(hoverImage_, hoverClippedBitmap_, hoverColor_, hoverImageIndex_);
}

void THotSpot::RebuildClickBitmap()
{
    BuildStateBitmap(clickImage_, clickClippedBitmap_, clickColor_, clickImageIndex_);
}

void THotSpot::RebuildSelectedBitmap()
{
    BuildStateBitmap(selectedImage_, selectClippedBitmap_, selectedColor_, selectedImageIndex_);
}

void THotSpot::RebuildBlinkBitmap()
{
    // While selected, the blink look is the selected look.
    if (selected_)
        BuildStateBitmap(selectedImage_, blinkClippedBitmap_, selectedColor_, selectedImageIndex_);
    else
        BuildStateBitmap(blinkImage_, blinkClippedBitmap_, blinkColor_, blinkImageIndex_);
}

void THotSpot::RebuildStateBitmaps()
{
    looksAwaitPicture_ = false;
    RebuildHoverBitmap();
    RebuildClickBitmap();
    RebuildSelectedBitmap();
    RebuildBlinkBitmap();
}

void THotSpot::BuildStateBitmap(const TPicture& statePicture, TBitmap& target, TColor stateColor, int imageIndex)
{
    ComposeStateBitmap(statePicture, target, stateColor, imageIndex);
    // A look is only ever copied from: one byte a pixel where its colours allow.
    target.Compact();
}

void THotSpot::ComposeStateBitmap(const TPicture& statePicture, TBitmap& target, TColor stateColor, int imageIndex)
{
    TMorvane* control = OwnerControl();
    if (!control) {
        target.SetHeight(0);
        target.SetWidth(0);
        return;
    }
    // Size of the look and the rectangle of the picture under it.
    const bool stretch = control->Stretch();
    int w = Width();
    int h = Height();
    TRect source = BoundsRect();
    if (stretch) {
        const int pw = control->Picture().Width();
        const int ph = control->Picture().Height();
        const int cw = control->Width();
        const int ch = control->Height();
        if (cw != 0 && ch != 0)
            source = TRect{Scaled(X(), pw, cw), Scaled(Y(), ph, ch), Scaled(Right(), pw, cw), Scaled(Bottom(), ph, ch)};
    } else if (!statePicture.Empty()) {
        w = std::min(w, statePicture.Width());
        h = std::min(h, statePicture.Height());
    }
    // A look larger than a bitmap holds is not built: the hotspot then shows none.
    if (std::int64_t(std::max(w, 0)) * std::max(h, 0) > TBitmap::kMaxPixels)
        w = h = 0;
    target.SetSize(w, h);
    if (backgroundPicture_ == nullptr || backgroundPicture_->Empty()) {
        // Even a look of no size yet: the box may come later (a polygon's outline is read
        // after its other properties), and the looks are composed when a picture is bound.
        looksAwaitPicture_ = true;
        return;
    }
    if (target.Empty())
        return;

    const TRect dest{0, 0, w, h};
    CopyBackground(*backgroundPicture_, target.Canvas(), dest, source, TBackgroundCopy::NeededRectangle);

    HRGN region;
    if (clipped_) {
        if (ShapeType() == stEllipse) {
            region = CreateEllipticRgn(0, 0, w, h);
        } else if (X() != INT_MIN && Y() != INT_MIN) {
            // (An outline out at the range's first value has no region anyway, and its
            // negation does not exist.)
            region = CreateOutlineRgn(-X(), -Y());
        }
    }
    TCanvas& canvas = target.Canvas();
    ClipScope clip(canvas, clipped_ ? std::move(region) : HRGN());
    if (!statePicture.Empty()) {
        if (stretch)
            canvas.StretchDraw(dest, *statePicture.Graphic());
        else
            canvas.Draw(0, 0, *statePicture.Graphic());
    } else if (stateColor != clNone) {
        canvas.Brush.Color = stateColor;
        canvas.FillRect(dest);
    }
    if (control->Images() != nullptr && imageIndex >= 0)
        control->Images()->Draw(canvas, offsetX_, offsetY_, imageIndex, true);
}

} // namespace vandora
