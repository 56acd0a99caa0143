#include "hotspot/PointRoutines.h"

#include <cmath>
#include <cstdint>
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

int RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = double(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = double(std::numeric_limits<std::int32_t>::max());
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return int(std::nearbyint(value)); // the default rounding mode: to nearest, ties to even
}

TPoint RoundPoint(const TRealPoint& point)
{
    return TPoint{RoundToInt(point.x), RoundToInt(point.y)};
}

} // namespace vandora
