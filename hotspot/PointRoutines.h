#pragma once
// Real and integer points, and the integer routines the polygon test is made of.
#include "platform/Types.h"

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
int RoundToInt(double value);
TPoint RoundPoint(const TRealPoint& point);
// low <= value <= high, both ends included.
inline bool InRange(int value, int low, int high)
{
    return low <= value && value <= high;
}

} // namespace vandora
