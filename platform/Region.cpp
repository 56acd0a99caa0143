#include "platform/Region.h"

#include "platform/Canvas.h"
#include "platform/PolygonScan.h"

#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>
#include <utility>

namespace vandora {

namespace {

// Coordinates beyond 27 bits, far past any window, overflow the arithmetic of regions and
// clipping downstream: such a shape gives no region, and drawing goes unclipped as for any
// failed creation.
constexpr int kLimit = (1 << 27) - 1;

bool WithinLimit(TPoint point)
{
    return point.x >= -kLimit && point.x <= kLimit && point.y >= -kLimit && point.y <= kLimit;
}

HRGN ScanPolygon(const TPoint* points, int count, bool winding)
{
    std::optional<QRegion> region = TPolygonScan(points, count, winding).Region();
    return region ? HRGN(std::move(*region)) : HRGN();
}

int RegionKind(const QRegion& r)
{
    return r.isEmpty() ? NULLREGION : r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    // In 64 bits: a box at the edge of the int range must not wrap round into a huge one.
    const std::int64_t x0 = std::min<std::int64_t>(left, right), x1 = std::max<std::int64_t>(left, right);
    const std::int64_t y0 = std::min<std::int64_t>(top, bottom), y1 = std::max<std::int64_t>(top, bottom);
    if (x0 == x1 || y0 == y1)
        return HRGN(QRegion());
    if (!WithinLimit(TPoint{int(x0), int(y0)}) || !WithinLimit(TPoint{int(x1), int(y1)}))
        return HRGN();
    // The outline Qt's own elliptic region is made from, scanned here: Qt gives up on one
    // taller than 100,000 rows and hands back a region that crashes when used.
    QPainterPath path;
    path.addEllipse(double(x0), double(y0), double(x1 - x0), double(y1 - y0));
    const QPolygon outline = path.toSubpathPolygons().at(0).toPolygon();
    std::vector<TPoint> points;
    points.reserve(std::size_t(outline.size()));
    for (const QPoint& p : outline)
        points.push_back(TPoint{p.x(), p.y()});
    return ScanPolygon(points.data(), int(points.size()), false);
}

HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode)
{
    if (points == nullptr || count < 3 || (fillMode != ALTERNATE && fillMode != WINDING))
        return HRGN();
    if (!std::all_of(points, points + count, WithinLimit))
        return HRGN();
    return ScanPolygon(points, count, fillMode == WINDING);
}

int CombineRgn(HRGN& dest, const HRGN& src1, const HRGN& src2, int mode)
{
    if (!src1 || (mode != RGN_COPY && !src2))
        return REGION_ERROR;
    const QRegion& a = src1.Region();
    QRegion result;
    switch (mode) {
    case RGN_AND: result = a.intersected(src2.Region()); break;
    case RGN_OR: result = a.united(src2.Region()); break;
    case RGN_XOR: result = a.xored(src2.Region()); break;
    case RGN_DIFF: result = a.subtracted(src2.Region()); break;
    case RGN_COPY: result = a; break;
    default: return REGION_ERROR;
    }
    dest = HRGN(std::move(result));
    return RegionKind(dest.Region());
}

int SelectClipRgn(TCanvas& canvas, const HRGN* region)
{
    if (region == nullptr || !*region) {
        canvas.SetClipRegion(std::nullopt);
        return SIMPLEREGION;
    }
    canvas.SetClipRegion(region->Region());
    return RegionKind(region->Region());
}

bool DeleteObject(HRGN& region)
{
    const bool had = bool(region);
    region.Release();
    return had;
}

} // namespace vandora
