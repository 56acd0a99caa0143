#pragma once
// Shared by the fuzz targets that hold a hotspot control: whether its looks are small
// enough to compose quickly, and every hotspot drawn in each of its four looks.
#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"

#include <algorithm>
#include <cstdint>

namespace vandora::fuzz {

// Looks over a million pixels only cost the fuzzer time; their limits have tests of their own.
inline bool SmallLooks(const TMorvane& morvane)
{
    constexpr std::int64_t kMostPixels = std::int64_t(1) << 20;
    const THotSpots& spots = morvane.HotSpots();
    for (int i = 0; i < spots.Count(); ++i) {
        const THotSpot& spot = *spots.Item(i);
        if (std::int64_t(std::max(spot.Width(), 0)) * std::max(spot.Height(), 0) > kMostPixels)
            return false;
    }
    return true;
}

// Every hotspot drawn on the window in each of its four looks, put back, and left selected.
inline void DrawEveryLook(TMorvane& morvane)
{
    THotSpots& spots = morvane.HotSpots();
    for (int i = 0; i < spots.Count(); ++i) {
        morvane.DrawHover(i);
        morvane.DrawClick(i);
        morvane.DrawSelected(i);
        morvane.DrawBlink(i);
        morvane.RestoreArea(i);
        spots.Item(i)->SetSelected(true);
    }
}

} // namespace vandora::fuzz
