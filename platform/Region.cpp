#include "platform/Region.h"

#include "platform/Canvas.h"

#include <QPolygon>

#include <algorithm>

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
    // Qt's scan conversion overflows its 32-bit arithmetic on spans near 2^31 (a runaway
    // allocation), so coordinates beyond 27 bits, far past any window, give no region. It
    // also gives up on polygons more than 100,000 rows tall, returning an empty region and
    // leaking its edge table; such a polygon gives no region either, so drawing goes
    // unclipped as for any failed creation, not hidden.
    constexpr int kLimit = (1 << 27) - 1;
    constexpr int kTallestRows = 100000;
    QPolygon polygon(count);
    int top = points[0].y;
    int bottom = points[0].y;
    for (int i = 0; i < count; ++i) {
        if (points[i].x < -kLimit || points[i].x > kLimit || points[i].y < -kLimit || points[i].y > kLimit)
            return HRGN();
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
        polygon.setPoint(i, points[i].x, points[i].y);
    }
    if (bottom - top > kTallestRows)
        return HRGN();
    return HRGN(QRegion(polygon, fillMode == ALTERNATE ? Qt::OddEvenFill : Qt::WindingFill));
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
