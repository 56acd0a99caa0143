#pragma once
// Shared by the fuzz targets that hold a hotspot control: every hotspot drawn on the window
// in each of its four looks, put back, and left selected.
#include "hotspot/HotSpot.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"

namespace vandora::fuzz {

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
