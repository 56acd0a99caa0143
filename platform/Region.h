#pragma once
// Clip regions. A region is an owned handle: it is released when it goes out of scope,
// on every path, or earlier by DeleteObject. A region that could not be created is
// empty-handed (false), and selecting it clips nothing.
#include "platform/Types.h"

#include <QRegion>
#include <optional>

namespace vandora {

class TCanvas;

constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

class HRGN {
public:
    HRGN() = default;
    explicit HRGN(QRegion region) : region_(std::move(region)) {}
    // A moved-from handle holds no region (std::optional's own move would leave it engaged
    // with an empty region, which clips everything away).
    HRGN(HRGN&& other) noexcept : region_(std::move(other.region_)) { other.region_.reset(); }
    HRGN& operator=(HRGN&& other) noexcept
    {
        if (this != &other) {
            region_ = std::move(other.region_);
            other.region_.reset();
        }
        return *this;
    }
    HRGN(const HRGN&) = delete;
    HRGN& operator=(const HRGN&) = delete;

    explicit operator bool() const { return region_.has_value(); }
    const QRegion& Region() const { return *region_; }
    void Release() { region_.reset(); }

private:
    std::optional<QRegion> region_;
};

// The ellipse inscribed in the rectangle (right and bottom exclusive; an empty box gives an
// empty region). A coordinate beyond 27 bits, or an ellipse too costly to scan (millions
// of rows, see TPolygonScan), creates no region.
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
// The polygon over count points; ALTERNATE fills by the even-odd rule, WINDING by the
// non-zero rule. Fewer than 3 points, a bad count, a coordinate beyond 27 bits (far past
// any window) or a polygon too costly to scan (see TPolygonScan) create no region.
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode);
// Sets dest to src1 combined with src2 (src2 unused for RGN_COPY) and returns the result's
// kind; with a source that holds no region, or an unknown mode, it returns REGION_ERROR
// and leaves dest as it was. dest may be one of the sources.
int CombineRgn(HRGN& dest, const HRGN& src1, const HRGN& src2, int mode);
// Limits drawing on the canvas to the region; a null or failed region removes the limit.
int SelectClipRgn(TCanvas& canvas, const HRGN* region);
// Releases the region; false when there was none.
bool DeleteObject(HRGN& region);

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int REGION_ERROR = 0;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

} // namespace vandora
