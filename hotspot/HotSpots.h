#pragma once
// The control's ordered, owning list of hotspots. The index of a hotspot is its identity
// inside the control; the last one is the topmost.
#include "hotspot/HotSpot.h"
#include "platform/Collection.h"

namespace vandora {

class TMorvane;

class THotSpots : public TCollection {
public:
    // owner: the control the collection belongs to, not owned; may be null.
    explicit THotSpots(TMorvane* owner);
    ~THotSpots() override;

    const char* ClassName() const override { return "THotSpots"; }
    TMorvane* OwnerControl() const { return owner_; }
    // The owner when this is the collection it shows; else null.
    TMorvane* ShowingControl() const;

    // A new hotspot with its creation values, appended at the end.
    THotSpot* AddHotSpot() { return static_cast<THotSpot*>(Add()); }
    // Raises EListError outside 0..Count-1.
    THotSpot* Item(int index) const { return static_cast<THotSpot*>(Items(index)); }

    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }
    void SetBaseWidth(int value) { baseWidth_ = value; }
    void SetBaseHeight(int value) { baseHeight_ = value; }

    // Replaces the contents by copies of the source's hotspots, in order, and takes its
    // base size. A null source raises EConvertError before anything changes.
    void CopyFrom(const THotSpots* source);
    // Maps every hotspot from the base size to the new size. Rescales that follow one
    // another scale each hotspot from where the first of them found it (as long as nothing
    // else changed it), so a size that comes back gives the same coordinates again.
    void Rescale(int newWidth, int newHeight);
    // Every batch end, nested ones too, forgets the hovered and the pressed hotspot.
    void EndBatch() override;

protected:
    TCollectionItem* CreateItem() override;
    void ItemRemoving(int index) override;

private:
    static void RescaleHotSpot(THotSpot& hotspot, int fromWidth, int fromHeight, int newWidth, int newHeight);

    TMorvane* owner_;
    int baseHeight_ = 0;
    int baseWidth_ = 0;
};

} // namespace vandora
