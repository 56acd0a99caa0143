#include "hotspot/HotSpots.h"

#include "hotspot/Morvane.h"
#include "platform/Exceptions.h"

namespace vandora {

namespace {

int Scaled(int value, double factor)
{
    return RoundToInt(value * factor);
}

} // namespace

THotSpots::THotSpots(TMorvane* owner) : TCollection(owner), owner_(owner) {}

THotSpots::~THotSpots() = default;

TCollectionItem* THotSpots::CreateItem()
{
    // The new hotspot appends itself; the collection owns it from then on.
    return new THotSpot(this);
}

TMorvane* THotSpots::ShowingControl() const
{
    return owner_ != nullptr && owner_->HoldsHotSpots(this) ? owner_ : nullptr;
}

void THotSpots::EndBatch()
{
    TCollection::EndBatch();
    if (TMorvane* control = ShowingControl()) {
        control->SetHoverIndexQuietly(-1);
        control->SetClickIndex(-1);
    }
}

void THotSpots::ItemRemoving(int index)
{
    if (TMorvane* control = ShowingControl())
        control->HotSpotRemoving(index);
}

void THotSpots::CopyFrom(const THotSpots* source)
{
    if (source == nullptr)
        throw EConvertError(AssignErrorText("nil", ClassName()));
    if (source == this)
        return; // clearing first would empty both: a copy onto itself keeps what it has
    BeginBatch();
    try {
        Clear();
        for (int i = 0; i < source->Count(); ++i)
            AddHotSpot()->CopyFrom(*source->Item(i));
    } catch (...) {
        EndBatch();
        throw;
    }
    EndBatch();
    baseHeight_ = source->baseHeight_;
    baseWidth_ = source->baseWidth_;
}

void THotSpots::Rescale(int newWidth, int newHeight)
{
    if (baseWidth_ == 0 || newWidth == 0 || baseHeight_ == 0 || newHeight == 0)
        return;
    if (owner_ && owner_->IsLoading())
        return;
    const double sx = double(newWidth) / double(baseWidth_);
    const double sy = double(newHeight) / double(baseHeight_);
    baseWidth_ = newWidth;
    baseHeight_ = newHeight;
    for (int i = 0; i < Count(); ++i) {
        THotSpot* hotspot = Item(i);
        const int x = hotspot->X();
        const int y = hotspot->Y();
        const int right = hotspot->Right();
        const int bottom = hotspot->Bottom();
        if (hotspot->ShapeType() == stEllipse) {
            hotspot->SetCorners(Scaled(x, sx), Scaled(y, sy), Scaled(right, sx), Scaled(bottom, sy));
            hotspot->RebuildStateBitmaps();
        } else {
            hotspot->SetX(Scaled(x, sx));
            hotspot->SetY(Scaled(y, sy));
            hotspot->SetRight(Scaled(right, sx));
            hotspot->SetBottom(Scaled(bottom, sy));
        }
    }
    if (owner_)
        owner_->Invalidate();
}

} // namespace vandora
