#pragma once
// One clickable region of the hotspot image control: identity, geometry (kept in its
// shape), state flags, and four looks, each pre-composed into a small bitmap.
#include "hotspot/HotSpotShape.h"
#include "platform/Bitmap.h"
#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Picture.h"
#include "platform/Region.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vandora {

class THotSpots;
class TMorvane;
class TRescaleOrigin;
class TReader;
class TWriter;

class THotSpot : public TCollectionItem {
public:
    // Appends the new hotspot to the collection (it gets the next index).
    explicit THotSpot(TCollection* collection);
    ~THotSpot() override;

    const char* ClassName() const override { return "THotSpot"; }
    // "HotSpot" followed by the index.
    std::string DisplayName() const override;
    // Adds the outline, PolyPoints: the point count, the angle, then x and y of each point.
    void DeclareCustomProperties(TFiler& filer) override;
    void ReadPolyPoints(TReader& reader);
    void WritePolyPoints(TWriter& writer) const;

    // --- published properties, in their stored order ---
    TSpotShapeType ShapeType() const { return shape_.ShapeType(); }
    void SetShapeType(TSpotShapeType value);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string value) { hint_ = std::move(value); }
    const std::string& Name() const { return name_; }
    void SetName(std::string value) { name_ = std::move(value); }
    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t value) { id_ = value; }
    int X() const { return shape_.X(); }
    void SetX(int value) { shape_.SetX(value); }
    int Y() const { return shape_.Y(); }
    void SetY(int value) { shape_.SetY(value); }
    int Width() const { return shape_.Width(); }
    void SetWidth(int value);
    int Height() const { return shape_.Height(); }
    void SetHeight(int value);
    const TPicture& HoverImage() const { return hoverImage_; }
    void SetHoverImage(const TPicture* value) { hoverImage_.Assign(value); }
    const TPicture& ClickImage() const { return clickImage_; }
    void SetClickImage(const TPicture* value) { clickImage_.Assign(value); }
    const TBitmap& HoverClippedBitmap() const { return hoverClippedBitmap_; }
    const TBitmap& ClickClippedBitmap() const { return clickClippedBitmap_; }
    const TBitmap& SelectClippedBitmap() const { return selectClippedBitmap_; }
    const TBitmap& BlinkClippedBitmap() const { return blinkClippedBitmap_; }
    int Angle() const { return shape_.Angle(); }
    void SetAngle(int value) { shape_.SetAngle(value); }
    bool Clipped() const { return clipped_; }
    void SetClipped(bool value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool ShowClick() const { return showClick_; }
    void SetShowClick(bool value);
    TColor HoverColor() const { return hoverColor_; }
    void SetHoverColor(TColor value) { hoverColor_ = value; }
    TColor ClickColor() const { return clickColor_; }
    void SetClickColor(TColor value);
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor value);
    TColor BlinkColor() const { return blinkColor_; }
    void SetBlinkColor(TColor value) { blinkColor_ = value; }
    int HoverImageIndex() const { return hoverImageIndex_; }
    void SetHoverImageIndex(int value) { hoverImageIndex_ = value; }
    int ClickImageIndex() const { return clickImageIndex_; }
    void SetClickImageIndex(int value) { clickImageIndex_ = value; }
    int SelectedImageIndex() const { return selectedImageIndex_; }
    void SetSelectedImageIndex(int value) { selectedImageIndex_ = value; }
    int BlinkImageIndex() const { return blinkImageIndex_; }
    void SetBlinkImageIndex(int value) { blinkImageIndex_ = value; }
    const TPicture& SelectedImage() const { return selectedImage_; }
    void SetSelectedImage(const TPicture* value) { selectedImage_.Assign(value); }
    const TPicture& BlinkImage() const { return blinkImage_; }
    void SetBlinkImage(const TPicture* value) { blinkImage_.Assign(value); }
    bool Blink() const { return blink_; }
    void SetBlink(bool value);
    bool Selected() const { return selected_; }
    void SetSelected(bool value);
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int value) { offsetX_ = value; }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int value) { offsetY_ = value; }

    // --- geometry ---
    int Right() const { return ClampedSum(X(), Width()); }
    void SetRight(int value) { SetWidth(ClampedSum(value, -std::int64_t(X()))); }
    int Bottom() const { return ClampedSum(Y(), Height()); }
    void SetBottom(int value) { SetHeight(ClampedSum(value, -std::int64_t(Y()))); }
    TRect BoundsRect() const { return TRect{X(), Y(), Right(), Bottom()}; }
    void SetCorners(int left, int top, int right, int bottom) { shape_.SetCorners(left, top, right, bottom); }
    void SetPoints(const TPoints& points) { shape_.SetPoints(points); }
    const THotSpotShape& Shape() const { return shape_; }
    // The clip region of the outline: its rounded points, filled even-odd, moved by
    // (dx, dy). No region when the outline has fewer than 3 points.
    HRGN CreateOutlineRgn(int dx, int dy) const;
    THotSpotShape& Shape() { return shape_; }

    // --- operations ---
    // The point test (0 outside, 1 inside, 2 on an ellipse's rim); binds the control's
    // picture as the background first when none is bound yet.
    std::uint8_t ContainsPoint(int px, int py);
    // Whether no picture, or an empty one, is bound to compose the looks on.
    bool AwaitsBackground() const { return backgroundPicture_ == nullptr || backgroundPicture_->Empty(); }
    // Binds the owning control's picture and composes every look (without a control, nothing).
    void BindControlPicture();
    // Whether the looks were never composed on a picture, or last built without one.
    bool LooksAwaitPicture() const { return looksAwaitPicture_; }
    void DrawShape(TCanvas& canvas) const { shape_.DrawOutline(canvas); }
    void ToggleSelected() { SetSelected(!selected_); }
    // Unselects every other selected hotspot of the collection, in index order.
    void DeselectOthers();
    // Composes one look into one of the four state bitmaps.
    void BuildStateBitmap(const TPicture& statePicture, TBitmap& target, TColor stateColor, int imageIndex);
    void RebuildStateBitmaps();
    void RebuildBlinkBitmap();
    void RebuildSelectedBitmap();
    void RebuildHoverBitmap();
    void RebuildClickBitmap();
    // Copies another hotspot (not its Down, ShowClick, background or bitmaps).
    void CopyFrom(const THotSpot& source);
    // The same for any persistent source; anything but a hotspot raises EConvertError.
    void Assign(const TPersistent* source);

    // Where the collection's current run of rescales of this hotspot started; made at its
    // first rescale.
    TRescaleOrigin& RescaleOrigin();

    // The control's picture this hotspot's looks are composed on; not owned.
    const TPicture* BackgroundPicture() const { return backgroundPicture_; }
    void SetBackgroundPicture(const TPicture* picture) { backgroundPicture_ = picture; }
    // The collection that owns this hotspot, when it is a THotSpots; not owned.
    THotSpots* OwnerCollection() const { return ownerCollection_; }
    TMorvane* OwnerControl() const;
    // The owning control when it shows this hotspot's collection: only then does this
    // hotspot's index name a hotspot on its window.
    TMorvane* ShowingControl() const;

private:
    // Enables the owning control's blink timer, unless it is designing or loading.
    void WakeBlinkTimer();
    void ComposeStateBitmap(const TPicture& statePicture, TBitmap& target, TColor stateColor, int imageIndex);
    TPicture hoverImage_;
    TPicture clickImage_;
    const TPicture* backgroundPicture_ = nullptr;
    TBitmap clickClippedBitmap_;
    TBitmap hoverClippedBitmap_;
    TBitmap selectClippedBitmap_;
    TBitmap blinkClippedBitmap_;
    THotSpotShape shape_{stRectangle};
    std::string hint_;
    std::string name_;
    std::int32_t id_ = 0;
    bool clipped_ = false;
    THotSpots* ownerCollection_ = nullptr;
    bool down_ = false;
    bool showClick_ = false;
    bool blink_ = false;
    bool selected_ = false;
    std::int32_t blinkImageIndex_ = -1;
    std::int32_t selectedImageIndex_ = -1;
    std::int32_t clickImageIndex_ = -1;
    std::int32_t hoverImageIndex_ = -1;
    TColor blinkColor_ = clWhite;
    TColor hoverColor_ = clYellow;
    TColor selectedColor_ = clRed;
    TColor clickColor_ = clGray;
    TPicture selectedImage_;
    TPicture blinkImage_;
    std::unique_ptr<TRescaleOrigin> rescaleOrigin_;
    std::int32_t offsetY_ = 4;
    std::int32_t offsetX_ = 4;
    // The outline's region, made once per change of the points: pointer feedback then
    // costs a copy, not a scan conversion.
    mutable HRGN outlineRegion_;
    mutable std::uint64_t outlineRevision_ = 0;
    mutable bool outlineBuilt_ = false;
    bool looksAwaitPicture_ = true; // none is composed on a picture yet
};

} // namespace vandora
