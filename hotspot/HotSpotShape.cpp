#include "hotspot/HotSpotShape.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace vandora {

namespace {

constexpr double kBezierCircle = 0.2761423749154;
// The far end of the polygon test's ray, unless the polygon reaches past it.
constexpr int kRayEnd = 1000;

int Extent(int low, int high)
{
    return int(std::min<std::int64_t>(std::int64_t(high) - low, std::numeric_limits<std::int32_t>::max()));
}

// Whether the edge p-q crosses the ray from a to the right, whose end lies at rayEnd or,
// if the edge reaches further, just past the edge.
bool CrossesRay(const TPoint& a, int rayEnd, const TPoint& p, const TPoint& q)
{
    const int end = std::max({rayEnd, ClampedSum(p.x, 1), ClampedSum(q.x, 1)});
    return SegmentsIntersect(a, TPoint{end, a.y}, p, q);
}

} // namespace

void THotSpotShape::UpdateBounds()
{
    if (points_.size() < 3)
        return;
    const TRealPoint& first = points_[0];
    knotLeft_ = knotRight_ = first.x;
    knotTop_ = knotBottom_ = first.y;
    const TPoint r0 = RoundPoint(first);
    int minX = r0.x, maxX = r0.x, minY = r0.y, maxY = r0.y;
    for (std::size_t i = 1; i < points_.size(); ++i) {
        const TRealPoint& p = points_[i];
        if (i % 3 == 0) {
            if (p.x < knotLeft_)
                knotLeft_ = p.x;
            if (p.x > knotRight_)
                knotRight_ = p.x;
            if (p.y > knotBottom_)
                knotBottom_ = p.y;
            if (p.y < knotTop_)
                knotTop_ = p.y;
        }
        const TPoint r = RoundPoint(p);
        minX = std::min(minX, r.x);
        maxX = std::max(maxX, r.x);
        minY = std::min(minY, r.y);
        maxY = std::max(maxY, r.y);
    }
    x_ = minX;
    y_ = minY;
    // Points far apart (rounding saturates at the 32-bit range) span more than an int:
    // the box is then as wide as an int goes.
    width_ = Extent(minX, maxX);
    height_ = Extent(minY, maxY);
}

void THotSpotShape::SetPoints(const TPoints& points)
{
    if (points.size() < 3)
        return;
    points_ = points;
    ++revision_;
    UpdateBounds();
}

void THotSpotShape::LoadPoints(TPoints points)
{
    points_ = std::move(points);
    ++revision_;
    UpdateBounds();
}

void THotSpotShape::Rotate(double theta, double cx, double cy)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    for (TRealPoint& p : points_) {
        const double dx = p.x - cx;
        const double dy = p.y - cy;
        p.x = cx + c * dx - s * dy;
        p.y = cy + s * dx + c * dy;
    }
    ++revision_;
}

void THotSpotShape::SetAngle(int angle)
{
    if (angle == angle_)
        return;
    const double theta = (double(angle_) - double(angle)) * std::numbers::pi / 180.0;
    Rotate(theta, x_ + width_ / 2.0, y_ + height_ / 2.0);
    angle_ = angle;
    UpdateBounds();
}

void THotSpotShape::BuildEllipse()
{
    const double w = width_;
    const double h = height_;
    const double left = x_;
    const double top = y_;
    const double cx = left + w / 2.0;
    const double cy = top + h / 2.0;
    const double kw = kBezierCircle * w;
    const double kh = kBezierCircle * h;
    points_ = {
        {left, cy},          {left, cy - kh},     {cx - kw, top},     {cx, top},          {cx + kw, top},
        {left + w, cy - kh}, {left + w, cy},      {left + w, cy + kh}, {cx + kw, top + h}, {cx, top + h},
        {cx - kw, top + h},  {left, cy + kh},     {left, cy},
    };
    ++revision_;
    if (angle_ != 0) {
        const int turned = angle_;
        angle_ = 0;
        SetAngle(turned);
    } else {
        UpdateBounds();
    }
}

std::uint8_t THotSpotShape::PtInShape(int x, int y) const
{
    switch (shapeType_) {
    case stRectangle: return PtInRectangle(x, y);
    case stEllipse: return PtInEllipse(x, y);
    case stPolygon: return PtInPolygon(x, y);
    }
    return 0;
}

std::uint8_t THotSpotShape::PtInRectangle(int x, int y) const
{
    return InRange(y, y_, ClampedSum(y_, height_)) && InRange(x, x_, ClampedSum(x_, width_)) ? 1 : 0;
}

std::uint8_t THotSpotShape::PtInEllipse(int x, int y) const
{
    if (width_ == 0 || height_ == 0)
        return 0;
    if (!InRange(x, ClampedSum(x_, -2), ClampedSum(x_, std::int64_t(width_) + 2)) ||
        !InRange(y, ClampedSum(y_, -2), ClampedSum(y_, std::int64_t(height_) + 2)))
        return 0;
    double a, b, cx, cy, angle;
    if (points_.size() >= 10) {
        a = std::hypot(points_[0].x - points_[6].x, points_[0].y - points_[6].y) / 2.0;
        b = std::hypot(points_[3].x - points_[9].x, points_[3].y - points_[9].y) / 2.0;
        cx = knotLeft_ + (knotRight_ - knotLeft_) / 2.0;
        cy = knotTop_ + (knotBottom_ - knotTop_) / 2.0;
        angle = angle_ / 180.0 * std::numbers::pi;
    } else {
        // An outline too short to hold the four axis ends: test the ellipse of the box.
        a = width_ / 2.0;
        b = height_ / 2.0;
        cx = x_ + a;
        cy = y_ + b;
        angle = 0.0;
    }
    // An axis of no length encloses nothing.
    if (!(a > 0.0) || !(b > 0.0))
        return 0;
    const double dx = x - cx;
    const double dy = y - cy;
    const double u = dx * std::cos(angle) - dy * std::sin(angle);
    const double v = dx * std::sin(angle) + dy * std::cos(angle);
    const double q = u * u / (a * a) + v * v / (b * b);
    if (std::fabs(q - 1.0) < 0.15)
        return 2;
    return q < 1.0 ? 1 : 0;
}

std::uint8_t THotSpotShape::PtInPolygon(int x, int y) const
{
    const std::size_t n = points_.size();
    if (n < 3)
        return 0;
    if (!InRange(x, x_, ClampedSum(x_, width_)) || !InRange(y, y_, ClampedSum(y_, height_)))
        return 0;
    // The ray must leave the polygon: a fixed end at x = 1000 would miss the edges of a
    // polygon that reaches further right, and the box can lag behind points that a resize
    // carried past it, so the ray also reaches past both ends of each edge it is tested on.
    const TPoint a{x, y};
    const int rayEnd = std::max(kRayEnd, ClampedSum(x_, std::int64_t(width_) + 1));
    unsigned crossings = 0;
    // With the ray pointing right, the first half of the crossing test says no more than
    // "one end below the ray's line, the other not": decided from the rounded y alone, so
    // x is rounded only for the few edges that pass it.
    const TRealPoint* previous = &points_[0];
    bool previousBelow = RoundToInt(previous->y) > y;
    for (std::size_t i = 1; i <= n; ++i) {
        const TRealPoint* current = &points_[i == n ? 0 : i];
        const bool below = RoundToInt(current->y) > y;
        if (below != previousBelow && CrossesRay(a, rayEnd, RoundPoint(*previous), RoundPoint(*current)))
            ++crossings;
        previous = current;
        previousBelow = below;
    }
    return (crossings & 1u) ? 1 : 0;
}

void THotSpotShape::DrawOutline(TCanvas& canvas) const
{
    TIntPoints rounded(points_.size());
    std::transform(points_.begin(), points_.end(), rounded.begin(), RoundPoint);
    if (shapeType_ == stEllipse)
        canvas.PolyBezier(rounded);
    else if (!rounded.empty())
        canvas.Polygon(rounded);
}

void THotSpotShape::SetX(int value)
{
    if (value == x_)
        return;
    const double d = double(value) - double(x_);
    for (TRealPoint& p : points_)
        p.x += d;
    ++revision_;
    if (shapeType_ == stEllipse)
        UpdateBounds();
    x_ = value;
}

void THotSpotShape::SetY(int value)
{
    if (value == y_)
        return;
    const double d = double(value) - double(y_);
    for (TRealPoint& p : points_)
        p.y += d;
    ++revision_;
    if (shapeType_ == stEllipse)
        UpdateBounds();
    y_ = value;
}

bool THotSpotShape::SetWidth(int value)
{
    if (value == width_)
        return false;
    return Scale(Axis::Horizontal, value);
}

bool THotSpotShape::SetHeight(int value)
{
    // Writing the current height still runs: it turns an ellipse upright and back and
    // rebuilds the looks.
    return Scale(Axis::Vertical, value);
}

bool THotSpotShape::Scale(Axis axis, int value)
{
    const bool horizontal = axis == Axis::Horizontal;
    // A negative size means nothing on screen: it acts as 0.
    value = std::max(value, 0);
    int& size = horizontal ? width_ : height_;
    if (points_.empty() || size == 0) {
        if (horizontal)
            SetCorners(x_, y_, ClampedSum(x_, value), ClampedSum(y_, height_));
        else
            SetCorners(x_, y_, ClampedSum(x_, width_), ClampedSum(y_, value));
        return false;
    }
    const int turned = angle_;
    double c;
    if (shapeType_ == stEllipse) {
        SetAngle(0);
        c = horizontal ? knotLeft_ + (knotRight_ - knotLeft_) / 2.0 : knotTop_ + (knotBottom_ - knotTop_) / 2.0;
        if (size == 0) {
            // The upright ellipse has no extent on this axis: rebuild it from its box.
            if (horizontal)
                SetCorners(x_, y_, ClampedSum(x_, value), ClampedSum(y_, height_));
            else
                SetCorners(x_, y_, ClampedSum(x_, width_), ClampedSum(y_, value));
            SetAngle(turned);
            return true;
        }
    } else {
        c = horizontal ? x_ : y_;
    }
    const double s = double(value) / double(size);
    for (TRealPoint& p : points_) {
        double& coordinate = horizontal ? p.x : p.y;
        coordinate = s * coordinate + (c - c * s);
    }
    ++revision_;
    size = value;
    if (shapeType_ == stEllipse) {
        // Turn back about the ellipse's own centre, so that resizing keeps it centred.
        UpdateBounds();
        const double cx = knotLeft_ + (knotRight_ - knotLeft_) / 2.0;
        const double cy = knotTop_ + (knotBottom_ - knotTop_) / 2.0;
        if (turned != angle_) {
            Rotate((double(angle_) - double(turned)) * std::numbers::pi / 180.0, cx, cy);
            angle_ = turned;
        }
        UpdateBounds();
    }
    return true;
}

void THotSpotShape::SetCorners(int left, int top, int right, int bottom)
{
    const int l = std::min(left, right);
    const int r = std::max(left, right);
    const int t = std::min(top, bottom);
    const int b = std::max(top, bottom);
    switch (shapeType_) {
    case stRectangle:
        SetPoints({{double(l), double(t)}, {double(r), double(t)}, {double(r), double(b)}, {double(l), double(b)}});
        break;
    case stEllipse:
        x_ = l;
        y_ = t;
        width_ = Extent(l, r);
        height_ = Extent(t, b);
        BuildEllipse();
        break;
    case stPolygon:
        break;
    }
}

bool THotSpotShape::SameGeometry(const THotSpotShape& other) const
{
    return x_ == other.x_ && y_ == other.y_ && width_ == other.width_ && height_ == other.height_ &&
           angle_ == other.angle_ && shapeType_ == other.shapeType_ && knotLeft_ == other.knotLeft_ &&
           knotRight_ == other.knotRight_ && knotTop_ == other.knotTop_ && knotBottom_ == other.knotBottom_ &&
           points_ == other.points_;
}

void THotSpotShape::RestoreGeometry(const THotSpotShape& saved)
{
    const std::uint64_t revision = revision_;
    *this = saved;
    revision_ = revision + 1;
}

} // namespace vandora
