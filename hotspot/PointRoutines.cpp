#include "hotspot/PointRoutines.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vandora {

int Orientation(TPoint p1, TPoint p2, TPoint p3)
{
    // 64-bit products: the sign stays right for coordinates of any 32-bit size.
    const std::int64_t p = std::int64_t(p2.x - std::int64_t(p1.x)) * (p3.y - std::int64_t(p1.y));
    const std::int64_t q = std::int64_t(p2.y - std::int64_t(p1.y)) * (p3.x - std::int64_t(p1.x));
    return p > q ? 1 : -1;
}

bool SegmentsIntersect(TPoint a, TPoint b, TPoint c, TPoint d)
{
    if (Orientation(a, b, c) * Orientation(a, b, d) > 0)
        return false;
    return Orientation(c, d, a) * Orientation(c, d, b) <= 0;
}

TPoint RoundPoint(const TRealPoint& point)
{
    return TPoint{RoundToInt(point.x), RoundToInt(point.y)};
}

} // namespace vandora
