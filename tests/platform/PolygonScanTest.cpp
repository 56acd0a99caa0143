// The polygon scan conversion against Qt's own, pixel for pixel, on polygons small enough
// for Qt's: both fill rules, horizontal and vertical edges, crossings, negative corners.
#include "platform/PolygonScan.h"

#include <QPolygon>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <vector>

using namespace vandora;

namespace {

// The pixels a region covers inside a box, rectangle by rectangle (Qt's polygon regions
// are not always banded as its own set operations expect, so those cannot compare them).
std::vector<bool> Pixels(const QRegion& region, const QRect& box)
{
    std::vector<bool> inside(std::size_t(box.width()) * std::size_t(box.height()), false);
    for (const QRect& r : region) {
        const QRect part = r.intersected(box);
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                inside[std::size_t(y - box.top()) * std::size_t(box.width()) + std::size_t(x - box.left())] = true;
    }
    return inside;
}

} // namespace

TEST(PolygonScanTest, CoversTheSamePixelsAsQtForEitherFillRule)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        const int count = 3 + int(random.bounded(12));
        const int size = round % 3 == 0 ? 8 : round % 3 == 1 ? 60 : 300;
        std::vector<TPoint> points(static_cast<std::size_t>(count));
        QPolygon polygon(count);
        for (int i = 0; i < count; ++i) {
            TPoint& p = points[std::size_t(i)];
            p = TPoint{int(random.bounded(size)) - size / 4, int(random.bounded(size)) - size / 4};
            if (i > 0 && random.bounded(5) == 0)
                p.y = points[std::size_t(i - 1)].y; // a horizontal edge
            if (i > 0 && random.bounded(7) == 0)
                p.x = points[std::size_t(i - 1)].x; // a vertical one
            polygon.setPoint(i, p.x, p.y);
        }
        const QRect box = polygon.boundingRect();
        for (const bool winding : {false, true}) {
            const QRegion theirs(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill);
            const std::optional<QRegion> ours = TPolygonScan(points.data(), count, winding).Region();
            ASSERT_TRUE(ours);
            ASSERT_EQ(Pixels(*ours, box), Pixels(theirs, box)) << "round " << round << (winding ? ", winding" : "");
        }
    }
}

TEST(PolygonScanTest, ASlantedOutlineTwentyThousandRowsTallIsMadeAndBanded)
{
    const TPoint points[] = {{0, 0}, {1000000, 0}, {0, 20000}};
    const std::optional<QRegion> region = TPolygonScan(points, 3, false).Region();
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rectCount(), 20000); // one span a row, every row a different width
    EXPECT_TRUE(region->contains(QPoint(499990, 10000)));
    EXPECT_FALSE(region->contains(QPoint(500010, 10000)));
    // Rows of equal spans share one band.
    const TPoint box[] = {{0, 0}, {30, 0}, {30, 5000}, {0, 5000}};
    EXPECT_EQ(TPolygonScan(box, 4, false).Region()->rectCount(), 1);
    // But not across rows left empty between them.
    const TPoint twoBoxes[] = {{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 10}, {10, 10}, {10, 15}, {0, 15}};
    const std::optional<QRegion> apart = TPolygonScan(twoBoxes, 8, false).Region();
    ASSERT_TRUE(apart);
    EXPECT_EQ(*apart, QRegion(0, 0, 10, 5) + QRegion(0, 10, 10, 5));
}

// What a form could hold to make the scan slow: many edges starting on one row, or edges
// crossing each other on every row. The first is made at once; the second stops at the
// work limit instead of taking hours.
TEST(PolygonScanTest, ManyEdgesOnOneRowAndEdgesCrossingEverywhereStayCheap)
{
    std::vector<TPoint> comb;
    for (int i = 0; i < 100000; ++i)
        comb.push_back(TPoint{i * 2, i % 2 == 0 ? 0 : 2});
    const std::optional<QRegion> teeth = TPolygonScan(comb.data(), int(comb.size()), false).Region();
    ASSERT_TRUE(teeth);
    EXPECT_GT(teeth->rectCount(), 40000);

    std::vector<TPoint> weave;
    for (int i = 0; i < 20000; ++i)
        weave.push_back(i % 2 == 0 ? TPoint{0, i} : TPoint{1000000, 40000 - i});
    EXPECT_FALSE(TPolygonScan(weave.data(), int(weave.size()), false).Region());
}
