#include "platform/PolygonScan.h"

#include <algorithm>
#include <iterator>

namespace vandora {

void TPolygonScan::TEdge::Step()
{
    // Moves x to the next row, rounding as the window system's scan conversion does.
    if (m1 > 0) {
        if (d > 0) {
            x += m1;
            d += incr1;
        } else {
            x += m;
            d += incr2;
        }
    } else if (d >= 0) {
        x += m1;
        d += incr1;
    } else {
        x += m;
        d += incr2;
    }
}

TPolygonScan::TPolygonScan(const TPoint* points, int count, bool winding) : winding_(winding)
{
    firstRow_ = points[0].y;
    endRow_ = points[0].y;
    for (int i = 0; i < count; ++i) {
        AddEdge(points[i == 0 ? count - 1 : i - 1], points[i]);
        firstRow_ = std::min(firstRow_, points[i].y);
        endRow_ = std::max(endRow_, points[i].y);
    }
    std::stable_sort(edges_.begin(), edges_.end(), [](const TEdge& a, const TEdge& b) {
        return a.top != b.top ? a.top < b.top : a.x < b.x;
    });
}

void TPolygonScan::AddEdge(TPoint from, TPoint to)
{
    if (from.y == to.y)
        return; // horizontal edges bound no row
    TEdge e;
    e.downward = from.y < to.y;
    const TPoint top = e.downward ? from : to;
    const TPoint bottom = e.downward ? to : from;
    e.top = top.y;
    e.last = bottom.y - 1;
    const std::int64_t dy = std::int64_t(bottom.y) - top.y;
    const std::int64_t dx = std::int64_t(bottom.x) - top.x;
    e.x = top.x;
    e.m = dx / dy;
    if (dx < 0) {
        e.m1 = e.m - 1;
        e.incr1 = -2 * dx + 2 * dy * e.m1;
        e.incr2 = -2 * dx + 2 * dy * e.m;
        e.d = 2 * e.m * dy - 2 * dx - 2 * dy;
    } else {
        e.m1 = e.m + 1;
        e.incr1 = 2 * dx - 2 * dy * e.m1;
        e.incr2 = 2 * dx - 2 * dy * e.m;
        e.d = -2 * e.m * dy + 2 * dx;
    }
    edges_.push_back(e);
}

std::optional<QRegion> TPolygonScan::Region()
{
    // Every row costs at least three steps (itself and two edges): a polygon with more
    // rows than the limit allows fails without being scanned.
    if ((std::int64_t(endRow_) - firstRow_) * 3 > kMostSteps)
        return std::nullopt;
    for (int row = firstRow_; row < endRow_; ++row) {
        LoadEdgesStartingAt(row);
        if (!Spend(std::int64_t(active_.size()) + 1))
            return std::nullopt;
        CollectBounds();
        if (!EmitRow(row) || !StepAndDropEdges(row))
            return std::nullopt;
    }
    QRegion region;
    if (!rects_.empty())
        region.setRects(rects_.data(), int(rects_.size()));
    return region;
}

bool TPolygonScan::Spend(std::int64_t steps)
{
    steps_ += steps;
    return steps_ <= kMostSteps;
}

void TPolygonScan::LoadEdgesStartingAt(int row)
{
    // The new edges, in order of x, each go before the active ones at the same x.
    const auto first = edges_.begin() + std::ptrdiff_t(nextEdge_);
    auto last = first;
    while (last != edges_.end() && last->top == row)
        ++last;
    if (first == last)
        return;
    std::vector<TEdge> merged;
    merged.reserve(active_.size() + std::size_t(last - first));
    std::merge(first, last, active_.begin(), active_.end(), std::back_inserter(merged),
               [](const TEdge& a, const TEdge& b) { return a.x < b.x; });
    active_ = std::move(merged);
    nextEdge_ = std::size_t(last - edges_.begin());
}

void TPolygonScan::CollectBounds()
{
    bounds_.clear();
    if (!winding_) {
        for (const TEdge& e : active_)
            bounds_.push_back(e.x);
        return;
    }
    // Non-zero: only the edges where the count of crossings turns to or from zero.
    int crossings = 0;
    bool inside = false;
    for (const TEdge& e : active_) {
        crossings += e.downward ? 1 : -1;
        if ((crossings != 0) != inside) {
            bounds_.push_back(e.x);
            inside = !inside;
        }
    }
}

bool TPolygonScan::EmitRow(int row)
{
    spans_.clear(); // kept between rows: one allocation for the whole scan
    for (std::size_t i = 0; i + 1 < bounds_.size(); i += 2)
        if (bounds_[i] != bounds_[i + 1]) {
            spans_.push_back(bounds_[i]);
            spans_.push_back(bounds_[i + 1]);
        }
    // A row like the one above makes its band one row taller.
    if (!spans_.empty() && spans_ == bandBounds_ && !rects_.empty() && rects_.back().bottom() == row - 1) {
        for (qsizetype i = bandStart_; i < qsizetype(rects_.size()); ++i)
            rects_[std::size_t(i)].setBottom(row);
        return true;
    }
    if (qsizetype(rects_.size() + spans_.size() / 2) > kMostRects)
        return false;
    bandStart_ = qsizetype(rects_.size());
    for (std::size_t i = 0; i < spans_.size(); i += 2)
        rects_.emplace_back(QPoint(int(spans_[i]), row), QPoint(int(spans_[i + 1]) - 1, row));
    std::swap(bandBounds_, spans_);
    return true;
}

bool TPolygonScan::StepAndDropEdges(int row)
{
    std::erase_if(active_, [row](const TEdge& e) { return e.last == row; });
    for (TEdge& e : active_)
        e.Step();
    // Insertion sort: the order changes only where edges cross, and each swap counts.
    for (std::size_t i = 1; i < active_.size(); ++i)
        for (std::size_t j = i; j > 0 && active_[j].x < active_[j - 1].x; --j) {
            std::swap(active_[j], active_[j - 1]);
            if (!Spend(1))
                return false;
        }
    return true;
}

} // namespace vandora
