#include "hotspot/HotSpot.h"

#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"
#include "hotspot/RescaleOrigin.h"
#include "platform/Exceptions.h"
#include "platform/KeyState.h"

namespace vandora {

THotSpot::THotSpot(TCollection* collection) : TCollectionItem(collection)
{
    hoverImage_.SetOnChange([this] { RebuildHoverBitmap(); });
    clickImage_.SetOnChange([this] { RebuildClickBitmap(); });
    ownerCollection_ = dynamic_cast<THotSpots*>(collection);
    selectedImage_.SetOnChange([this] { RebuildSelectedBitmap(); });
    blinkImage_.SetOnChange([this] { RebuildBlinkBitmap(); });
}

THotSpot::~THotSpot()
{
    // The pictures die with the hotspot; their notifications must not rebuild anything.
    hoverImage_.SetOnChange({});
    clickImage_.SetOnChange({});
    selectedImage_.SetOnChange({});
    blinkImage_.SetOnChange({});
}

TRescaleOrigin& THotSpot::RescaleOrigin()
{
    if (!rescaleOrigin_)
        rescaleOrigin_ = std::make_unique<TRescaleOrigin>();
    return *rescaleOrigin_;
}

std::string THotSpot::DisplayName() const
{
    return "HotSpot" + std::to_string(Index());
}

TMorvane* THotSpot::OwnerControl() const
{
    return ownerCollection_ ? ownerCollection_->OwnerControl() : nullptr;
}

TMorvane* THotSpot::ShowingControl() const
{
    return ownerCollection_ ? ownerCollection_->ShowingControl() : nullptr;
}

void THotSpot::SetShapeType(TSpotShapeType value)
{
    shape_.StoreShapeType(value);
    if (value == stEllipse)
        shape_.BuildEllipse();
    RebuildStateBitmaps();
}

void THotSpot::SetWidth(int value)
{
    if (shape_.SetWidth(value))
        RebuildStateBitmaps();
}

void THotSpot::SetHeight(int value)
{
    if (shape_.SetHeight(value))
        RebuildStateBitmaps();
}

void THotSpot::SetClipped(bool value)
{
    clipped_ = value;
    RebuildStateBitmaps();
}

void THotSpot::SetDown(bool value)
{
    down_ = value;
    if (TMorvane* control = OwnerControl())
        control->Invalidate();
}

void THotSpot::SetShowClick(bool value)
{
    showClick_ = value;
    if (TMorvane* control = OwnerControl())
        control->Invalidate();
}

void THotSpot::SetClickColor(TColor value)
{
    if (value == clickColor_)
        return;
    clickColor_ = value;
    RebuildClickBitmap();
}

void THotSpot::SetSelectedColor(TColor value)
{
    if (value == selectedColor_)
        return;
    selectedColor_ = value;
    RebuildSelectedBitmap();
    if (blink_)
        RebuildBlinkBitmap();
    TMorvane* control = ShowingControl();
    if (selected_ && !blink_ && control)
        control->DrawSelected(Index());
}

void THotSpot::SetBlink(bool value)
{
    if (value == blink_)
        return;
    blink_ = value;
    if (!value)
        return; // the last look stays until the area is next drawn
    RebuildBlinkBitmap();
    WakeBlinkTimer();
}

void THotSpot::WakeBlinkTimer()
{
    TMorvane* control = OwnerControl();
    if (control && !control->IsDesigning() && !control->IsLoading())
        control->BlinkTimer().SetEnabled(true);
}

void THotSpot::SetSelected(bool value)
{
    if (value == selected_)
        return;
    TMorvane* control = OwnerControl();
    if (!control)
        return;
    selected_ = value;
    RebuildBlinkBitmap();
    if (value) {
        // A form stores the hotspots before the selection mode: while it is read, the mode
        // is not yet the stored one, so the control applies it when loading ends.
        const TSelectionMode mode = control->IsLoading() ? smMultiSelect : control->SelectionMode();
        switch (mode) {
        case smSingleSelect:
            DeselectOthers();
            break;
        case smMultiSelectCtrl:
            if ((GetKeyState(VK_CONTROL) & 0x8000) == 0)
                DeselectOthers();
            break;
        case smMultiSelect:
            break;
        }
        if (TMorvane* showing = ShowingControl())
            showing->DrawSelected(Index());
    } else if (TMorvane* showing = ShowingControl()) {
        showing->RestoreArea(Index());
    }
}

void THotSpot::DeselectOthers()
{
    if (!ownerCollection_)
        return;
    // Indices, not pointers: a deselection may run code that changes the collection.
    for (int i = 0; i < ownerCollection_->Count(); ++i) {
        THotSpot* other = ownerCollection_->Item(i);
        if (other != this && other->Selected())
            other->SetSelected(false);
    }
}

std::uint8_t THotSpot::ContainsPoint(int px, int py)
{
    if (AwaitsBackground())
        BindControlPicture();
    return shape_.PtInShape(px, py);
}

void THotSpot::BindControlPicture()
{
    if (TMorvane* control = OwnerControl()) {
        backgroundPicture_ = &control->Picture();
        RebuildStateBitmaps();
    }
}

void THotSpot::CopyFrom(const THotSpot& source)
{
    if (&source == this)
        return; // already equal; the rebuilds the steps would cause change nothing
    hint_ = source.hint_;
    SetCorners(source.X(), source.Y(), source.Right(), source.Bottom());
    clipped_ = source.clipped_;
    hoverImage_.Assign(&source.hoverImage_);
    clickImage_.Assign(&source.clickImage_);
    blink_ = source.blink_;
    selected_ = source.selected_;
    hoverImageIndex_ = source.hoverImageIndex_;
    clickImageIndex_ = source.clickImageIndex_;
    selectedImageIndex_ = source.selectedImageIndex_;
    blinkImageIndex_ = source.blinkImageIndex_;
    hoverColor_ = source.hoverColor_;
    clickColor_ = source.clickColor_;
    selectedColor_ = source.selectedColor_;
    blinkColor_ = source.blinkColor_;
    selectedImage_.Assign(&source.selectedImage_);
    blinkImage_.Assign(&source.blinkImage_);
    offsetY_ = source.offsetY_;
    offsetX_ = source.offsetX_;
    name_ = source.name_;
    id_ = source.id_;
    SetShapeType(source.ShapeType());
    shape_.SetPoints(source.shape_.Points());
    shape_.StoreAngle(source.Angle());
    // ShapeType rebuilt the looks before the outline came: a polygon copied onto a
    // polygon kept the old box and outline, so its looks showed another place.
    RebuildStateBitmaps();
    // Blink came as a plain store: a stopped timer would leave the copy still for good.
    if (blink_)
        WakeBlinkTimer();
}

void THotSpot::Assign(const TPersistent* source)
{
    if (const auto* hotspot = dynamic_cast<const THotSpot*>(source)) {
        CopyFrom(*hotspot);
        return;
    }
    throw EConvertError(AssignErrorText(source ? source->ClassName() : "nil", ClassName()));
}

} // namespace vandora
