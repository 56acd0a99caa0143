#pragma once
// Integer geometry handed to the drawing services.
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace vandora {

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

using TIntPoints = std::vector<TPoint>;

// A rectangle by its edges; Right and Bottom are exclusive, as the drawing calls expect.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    // Saturated: a rectangle spanning more than the int range is as wide as the range.
    std::int32_t Width() const { return Saturated(std::int64_t(Right) - Left); }
    std::int32_t Height() const { return Saturated(std::int64_t(Bottom) - Top); }
    // From the corners: Qt keeps the last pixel, Right - 1, and no sum may overflow on the
    // way (an empty one at the very start of the range is just empty).
    QRect ToQRect() const
    {
        if (Right == INT32_MIN || Bottom == INT32_MIN)
            return QRect();
        return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1));
    }
    friend bool operator==(const TRect&, const TRect&) = default;

private:
    static std::int32_t Saturated(std::int64_t v)
    {
        return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    }
};

inline TRect Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    return TRect{left, top, right, bottom};
}

} // namespace vandora
