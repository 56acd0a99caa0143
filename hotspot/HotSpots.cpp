#include "hotspot/HotSpots.h"

#include "hotspot/Morvane.h"
#include "hotspot/RescaleOrigin.h"
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
    const int fromWidth = baseWidth_;
    const int fromHeight = baseHeight_;
    baseWidth_ = newWidth;
    baseHeight_ = newHeight;
    for (int i = 0; i < Count(); ++i)
        RescaleHotSpot(*Item(i), fromWidth, fromHeight, newWidth, newHeight);
    if (owner_)
        owner_->Invalidate();
}

void THotSpots::RescaleHotSpot(THotSpot& hotspot, int fromWidth, int fromHeight, int newWidth, int newHeight)
{
    // A hotspot left as the last rescale made it is scaled again from where the run began,
    // so that the rounding of the sizes passed through does not add up.
    TRescaleOrigin& origin = hotspot.RescaleOrigin();
    if (origin.Continues(hotspot.Shape(), fromWidth, fromHeight)) {
        hotspot.Shape().RestoreGeometry(origin.Shape());
        fromWidth = origin.BaseWidth();
        fromHeight = origin.BaseHeight();
    } else {
        origin.Start(hotspot.Shape(), fromWidth, fromHeight);
    }
    const double sx = double(newWidth) / double(fromWidth);
    const double sy = double(newHeight) / double(fromHeight);
    const int x = hotspot.X();
    const int y = hotspot.Y();
    const int right = hotspot.Right();
    const int bottom = hotspot.Bottom();
    if (hotspot.ShapeType() == stEllipse) {
        hotspot.SetCorners(Scaled(x, sx), Scaled(y, sy), Scaled(right, sx), Scaled(bottom, sy));
        hotspot.RebuildStateBitmaps();
    } else {
        hotspot.SetX(Scaled(x, sx));
        hotspot.SetY(Scaled(y, sy));
        hotspot.SetRight(Scaled(right, sx));
        hotspot.SetBottom(Scaled(bottom, sy));
    }
    origin.Finish(hotspot.Shape(), newWidth, newHeight);
}

} // namespace vandora
