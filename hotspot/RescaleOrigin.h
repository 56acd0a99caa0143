#pragma once
// Where a run of rescales of one hotspot started. A stretched control is rescaled at every
// size its window passes through; scaling each time from the last result would compound
// the rounding (a drag from 120 to 60 pixels and back left boxes at half their place, and
// a control shrunk to a few pixels lost its outlines for good). As long as the hotspot is
// exactly as the last rescale left it, the next one starts again from the origin.
#include "hotspot/HotSpotShape.h"

namespace vandora {

class TRescaleOrigin {
public:
    TRescaleOrigin() = default;

    // Whether the shape, in the given base size, is what the last rescale left: nothing
    // else has changed it or the base since, so the run goes on from the origin.
    bool Continues(const THotSpotShape& current, int baseWidth, int baseHeight) const;
    // A new run, from the shape as it is in the given base size.
    void Start(const THotSpotShape& current, int baseWidth, int baseHeight);
    // What this rescale left, in the new base size.
    void Finish(const THotSpotShape& result, int baseWidth, int baseHeight);

    const THotSpotShape& Shape() const { return origin_; }
    int BaseWidth() const { return originWidth_; }
    int BaseHeight() const { return originHeight_; }

private:
    bool started_ = false;
    THotSpotShape origin_{stRectangle};
    int originWidth_ = 0;
    int originHeight_ = 0;
    THotSpotShape result_{stRectangle};
    int resultWidth_ = 0;
    int resultHeight_ = 0;
};

} // namespace vandora
