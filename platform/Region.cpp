#include "platform/Region.h"

#include "platform/Canvas.h"
#include "platform/PolygonScan.h"

#include <optional>
#include <utility>

namespace vandora {

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    const QRect box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
    if (box.isEmpty())
        return HRGN(QRegion());
    return HRGN(QRegion(box, QRegion::Ellipse));
}

HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode)
{
    if (points == nullptr || count < 3 || (fillMode != ALTERNATE && fillMode != WINDING))
        return HRGN();
    // Coordinates beyond 27 bits, far past any window, overflow the arithmetic of regions
    // and clipping downstream: such a polygon gives no region, and drawing goes unclipped
    // as for any failed creation.
    constexpr int kLimit = (1 << 27) - 1;
    for (int i = 0; i < count; ++i)
        if (points[i].x < -kLimit || points[i].x > kLimit || points[i].y < -kLimit || points[i].y > kLimit)
            return HRGN();
    std::optional<QRegion> region = TPolygonScan(points, count, fillMode == WINDING).Region();
    return region ? HRGN(std::move(*region)) : HRGN();
}

int SelectClipRgn(TCanvas& canvas, const HRGN* region)
{
    if (region == nullptr || !*region) {
        canvas.SetClipRegion(std::nullopt);
        return SIMPLEREGION;
    }
    canvas.SetClipRegion(region->Region());
    const QRegion& r = region->Region();
    return r.isEmpty() ? NULLREGION : r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool DeleteObject(HRGN& region)
{
    const bool had = bool(region);
    region.Release();
    return had;
}

} // namespace vandora
