#include "hotspot/PointRoutines.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vandora {

namespace {

// A difference of two ints takes 33 bits, a product of two such differences 66.
__extension__ using TWide = __int128;

} // namespace

int Orientation(TPoint p1, TPoint p2, TPoint p3)
{
    // Products in 128 bits: the sign stays right for coordinates of any 32-bit size.
    const TWide p = TWide(std::int64_t(p2.x) - p1.x) * (std::int64_t(p3.y) - p1.y);
    const TWide q = TWide(std::int64_t(p2.y) - p1.y) * (std::int64_t(p3.x) - p1.x);
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
