#pragma once
// The pixels of a polygon as a region, found row by row in time linear in the rows and
// edges. Qt's own polygon region costs time that grows with the square of its rows (a
// slanted outline 20,000 rows tall takes a second), so a form could stall the program
// with one hotspot; this gives the same pixels, edge stepping and fill rules included.
#include "platform/Types.h"

#include <QRegion>

#include <cstdint>
#include <optional>
#include <vector>

namespace vandora {

class TPolygonScan {
public:
    // Beyond this many rectangles (64 MiB of them), or this many steps of an edge from
    // one row to the next or past another (a fraction of a second), the region is not made.
    static constexpr qsizetype kMostRects = qsizetype(1) << 22;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr std::int64_t kMostSteps = std::int64_t(1) << 20; // quick inputs under the sanitizers
#else
    static constexpr std::int64_t kMostSteps = std::int64_t(1) << 23;
#endif

    // count points, at least 3; coordinates within 28 bits. winding: the non-zero rule,
    // otherwise even-odd.
    TPolygonScan(const TPoint* points, int count, bool winding);
    // The region, or nothing when it would take more than the limits above.
    std::optional<QRegion> Region();

private:
    struct TEdge {
        int top = 0;
        int last = 0; // the last row the edge covers: the one above its bottom end
        bool downward = false;
        // Integer stepping of the edge's x from row to row, exact for integer ends.
        std::int64_t x = 0, d = 0, m = 0, m1 = 0, incr1 = 0, incr2 = 0;
        void Step();
    };
    void AddEdge(TPoint from, TPoint to);
    // Counts work against kMostSteps; false once it is spent.
    bool Spend(std::int64_t steps);
    void LoadEdgesStartingAt(int row);
    // The x of each edge that bounds a span of the row, in pairs.
    void CollectBounds();
    bool EmitRow(int row);
    bool StepAndDropEdges(int row);

    bool winding_;
    std::vector<TEdge> edges_;      // sorted by top, then x
    std::size_t nextEdge_ = 0;
    std::vector<TEdge> active_;     // sorted by x
    std::vector<std::int64_t> bounds_;
    std::vector<QRect> rects_;
    std::vector<std::int64_t> spans_;      // this row's spans, start and end in pairs
    std::vector<std::int64_t> bandBounds_; // the previous row's spans, to merge equal rows
    qsizetype bandStart_ = 0;              // the first rectangle of that band
    std::int64_t steps_ = 0;
    int firstRow_ = 0;
    int endRow_ = 0;
};

} // namespace vandora
