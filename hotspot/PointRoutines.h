#pragma once
// Real and integer points, and the integer routines the polygon test is made of.
#include "platform/Types.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace vandora {

struct TRealPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const TRealPoint&, const TRealPoint&) = default;
};

using TPoints = std::vector<TRealPoint>;

// +1 when P1, P2, P3 turn one way, -1 the other way; collinear points give -1, never 0.
int Orientation(TPoint p1, TPoint p2, TPoint p3);
// Segments A-B and C-D cross (touching counts).
bool SegmentsIntersect(TPoint a, TPoint b, TPoint c, TPoint d);
// Nearest integer, ties to even. Values beyond the 32-bit range saturate; NaN gives 0.
inline int RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = double(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = double(std::numeric_limits<std::int32_t>::max());
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    // Adding 1.5 * 2^52 leaves the integer in the low bits, rounded by the processor's
    // default mode (to nearest, ties to even); cheaper than a library call on every edge.
    const double shifted = value + 6755399441055744.0;
    std::int64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    return std::int32_t(std::uint32_t(std::uint64_t(bits) & 0xFFFFFFFFu));
}
TPoint RoundPoint(const TRealPoint& point);
// a + b kept within the 32-bit range: a box that reaches past it ends at the range's edge
// instead of wrapping round to the other side.
inline int ClampedSum(std::int64_t a, std::int64_t b)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    const std::int64_t sum = a + b;
    return int(sum < lo ? lo : sum > hi ? hi : sum);
}
// low <= value <= high, both ends included.
inline bool InRange(int value, int low, int high)
{
    return low <= value && value <= high;
}

} // namespace vandora
