#include "hotspot/HotSpotShape.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vandora;

namespace {

THotSpotShape Rectangle(int l, int t, int r, int b)
{
    THotSpotShape shape(stRectangle);
    shape.SetCorners(l, t, r, b);
    return shape;
}

THotSpotShape Polygon(const TPoints& points)
{
    THotSpotShape shape(stPolygon);
    shape.SetPoints(points);
    return shape;
}

THotSpotShape Ellipse(int x, int y, int w, int h, int angle = 0)
{
    THotSpotShape shape(stEllipse);
    shape.StoreAngle(angle);
    shape.SetCorners(x, y, x + w, y + h);
    return shape;
}

} // namespace

TEST(PointRoutines, OrientationIsNeverZeroAndCollinearCountsAsMinusOne)
{
    EXPECT_EQ(Orientation({0, 0}, {10, 0}, {5, 5}), 1);
    EXPECT_EQ(Orientation({0, 0}, {10, 0}, {5, -5}), -1);
    EXPECT_EQ(Orientation({0, 0}, {10, 0}, {20, 0}), -1);
    // Products beyond 32 bits keep their sign, and beyond 64 bits too (differences across
    // the whole int range).
    EXPECT_EQ(Orientation({-2000000000, 0}, {2000000000, 0}, {0, 2000000000}), 1);
    EXPECT_EQ(Orientation({INT_MIN, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, 0}), -1);
    EXPECT_EQ(Orientation({INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}), 1);

    // A point plainly inside a rectangle whose outline spans the int range.
    THotSpotShape huge(stPolygon);
    huge.SetPoints({{-2147483638, -2147483638}, {-2147483638, 2147483647}, {100, 2147483647}, {100, -2147483638}});
    EXPECT_EQ(huge.PtInShape(2, 2), 1);
}

TEST(PointRoutines, RoundingIsToNearestWithTiesToEven)
{
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(3.5), 4);
    EXPECT_EQ(RoundToInt(-2.5), -2);
    EXPECT_EQ(RoundToInt(81.99999999999999), 82);
    EXPECT_EQ(RoundToInt(1e300), 2147483647);
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
    EXPECT_TRUE(InRange(5, 5, 5));
    EXPECT_FALSE(InRange(6, 5, 5));
}

TEST(HotSpotShape, RectangleIncludesItsRightAndBottomEdges)
{
    THotSpotShape shape = Rectangle(10, 20, 50, 40);
    EXPECT_EQ(shape.Points().size(), 4u);
    EXPECT_EQ(shape.PtInShape(50, 40), 1);
    EXPECT_EQ(shape.PtInShape(10, 20), 1);
    EXPECT_EQ(shape.PtInShape(51, 40), 0);
    EXPECT_EQ(shape.PtInShape(50, 41), 0);
    // Corners arrive in either order.
    THotSpotShape swapped = Rectangle(50, 40, 10, 20);
    EXPECT_EQ(swapped.Points(), shape.Points());
}

TEST(HotSpotShape, TriangleCountsCrossingsTowardTheFarEnd)
{
    THotSpotShape t = Polygon({{10, 10}, {50, 10}, {30, 40}});
    EXPECT_EQ(t.X(), 10);
    EXPECT_EQ(t.Width(), 40);
    EXPECT_EQ(t.Height(), 30);
    EXPECT_EQ(t.PtInShape(30, 20), 1);
    EXPECT_EQ(t.PtInShape(10, 40), 0); // in the box, outside the triangle
    EXPECT_EQ(t.PtInShape(50, 10), 0); // a vertex tests outside
    EXPECT_EQ(t.PtInShape(60, 20), 0); // outside the box
}

TEST(HotSpotShape, PolygonVerticesAreRoundedTiesToEven)
{
    // x = 2.5 tests as 2, x = 3.5 as 4: the box and the crossings see whole pixels.
    THotSpotShape t = Polygon({{2.5, 0}, {20, 0}, {20, 10}, {3.5, 10}});
    EXPECT_EQ(t.X(), 2);
    EXPECT_EQ(t.Width(), 18);
    EXPECT_EQ(t.PtInShape(3, 2), 1);
    EXPECT_EQ(t.PtInShape(3, 9), 0); // left of the edge from (4, 10) to (2, 0)
}

TEST(HotSpotShape, PolygonsFarRightAreStillFoundInside)
{
    // The ray reaches past polygons that lie across or beyond x = 1000.
    THotSpotShape across = Polygon({{990, 0}, {1010, 0}, {1010, 10}, {990, 10}});
    EXPECT_EQ(across.PtInShape(995, 5), 1);
    EXPECT_EQ(across.PtInShape(1000, 5), 1);
    EXPECT_EQ(across.PtInShape(1005, 5), 1);
    THotSpotShape beyond = Polygon({{1500, 0}, {1600, 0}, {1550, 100}});
    EXPECT_EQ(beyond.PtInShape(1550, 20), 1);
    EXPECT_EQ(beyond.PtInShape(1510, 80), 0);
    // Widening scales fractional points past the box, which keeps the new width: the edge
    // beyond the box's right still counts.
    THotSpotShape widened = Polygon({{0, 0}, {10.4, 0}, {10.4, 10}, {0, 10}});
    widened.SetWidth(1000);
    ASSERT_EQ(widened.Width(), 1000);
    EXPECT_EQ(widened.PtInShape(500, 5), 1);
    EXPECT_EQ(widened.PtInShape(999, 5), 1);
}

TEST(HotSpotShape, SelfCrossingStarUsesEvenOdd)
{
    // Five-pointed star drawn in one stroke: the centre pentagon is crossed twice.
    THotSpotShape star = Polygon({{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    EXPECT_EQ(star.PtInShape(50, 50), 0);
    EXPECT_EQ(star.PtInShape(50, 15), 1);
}

TEST(HotSpotShape, FewerThanThreePointsKeepThePreviousOutline)
{
    THotSpotShape t = Polygon({{0, 0}, {10, 0}, {10, 10}});
    t.SetPoints({{100, 100}, {200, 200}});
    EXPECT_EQ(t.Points().size(), 3u);
    EXPECT_EQ(t.Width(), 10);
    THotSpotShape empty(stPolygon);
    EXPECT_EQ(empty.PtInShape(0, 0), 0);
    // A stored outline of two points is kept, the box is not recomputed.
    t.LoadPoints({{100, 100}, {200, 200}});
    EXPECT_EQ(t.Points().size(), 2u);
    EXPECT_EQ(t.Width(), 10);
    EXPECT_EQ(t.PtInShape(5, 5), 0);
}

TEST(HotSpotShape, EllipseKnotsAndPointTest)
{
    THotSpotShape e(stRectangle);
    e.SetCorners(100, 50, 160, 90);
    e.StoreShapeType(stEllipse);
    e.BuildEllipse();
    ASSERT_EQ(e.Points().size(), 13u);
    EXPECT_EQ(e.Points()[0], (TRealPoint{100, 70}));
    EXPECT_EQ(e.Points()[3], (TRealPoint{130, 50}));
    EXPECT_EQ(e.Points()[6], (TRealPoint{160, 70}));
    EXPECT_EQ(e.Points()[9], (TRealPoint{130, 90}));
    EXPECT_EQ(e.Points()[12], (TRealPoint{100, 70}));
    EXPECT_EQ(e.X(), 100);
    EXPECT_EQ(e.Width(), 60);
    EXPECT_EQ(e.Height(), 40);
    EXPECT_EQ(e.PtInShape(130, 70), 1);
    EXPECT_EQ(e.PtInShape(100, 70), 2); // on the curve
    EXPECT_EQ(e.PtInShape(99, 70), 2);  // just outside, in the rim band
    EXPECT_EQ(e.PtInShape(161, 70), 2);
    EXPECT_EQ(e.PtInShape(101, 51), 0); // the box corner
    EXPECT_EQ(e.PtInShape(97, 70), 0);  // beyond the 2-pixel margin
}

TEST(HotSpotShape, DegenerateEllipsesContainNothingAndNeverFault)
{
    EXPECT_EQ(Ellipse(10, 10, 0, 20).PtInShape(10, 20), 0);
    // A flat ellipse turned by 45 degrees has a box but an axis of no length.
    THotSpotShape flat = Ellipse(0, 50, 100, 0, 45);
    EXPECT_GT(flat.Width(), 0);
    EXPECT_GT(flat.Height(), 0);
    EXPECT_EQ(flat.PtInShape(50, 50), 0);
    // An ellipse outline that is too short is tested against its box's ellipse.
    THotSpotShape shortList(stEllipse);
    shortList.SetPoints({{0, 0}, {40, 0}, {40, 20}, {0, 20}});
    EXPECT_EQ(shortList.PtInShape(20, 10), 1);
    EXPECT_EQ(shortList.PtInShape(1, 1), 0);
}

TEST(HotSpotShape, RotatingARectangleTurnsItCounterclockwiseAboutItsCentre)
{
    THotSpotShape r = Rectangle(0, 0, 40, 20);
    r.SetAngle(90);
    const TPoints& p = r.Points();
    auto near = [](const TRealPoint& a, double x, double y) {
        return std::abs(a.x - x) < 1e-9 && std::abs(a.y - y) < 1e-9;
    };
    EXPECT_TRUE(near(p[0], 10, 30));
    EXPECT_TRUE(near(p[1], 10, -10));
    EXPECT_TRUE(near(p[2], 30, -10));
    EXPECT_TRUE(near(p[3], 30, 30));
    EXPECT_EQ(r.X(), 10);
    EXPECT_EQ(r.Y(), -10);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.PtInShape(30, 30), 1); // the box around the turned corners
    r.SetAngle(90);                    // same angle: nothing moves
    EXPECT_TRUE(near(r.Points()[0], 10, 30));

    // The centre of an odd size lies between pixels: half a turn keeps the box.
    THotSpotShape odd = Rectangle(0, 0, 3, 5);
    odd.SetAngle(180);
    EXPECT_TRUE(near(odd.Points()[0], 3, 5));
    EXPECT_EQ(odd.X(), 0);
    EXPECT_EQ(odd.Y(), 0);
}

TEST(HotSpotShape, RotatedEllipseKeepsItsCentre)
{
    THotSpotShape e = Ellipse(100, 100, 60, 20, 30);
    const double cx = e.KnotLeft() + (e.KnotRight() - e.KnotLeft()) / 2;
    const double cy = e.KnotTop() + (e.KnotBottom() - e.KnotTop()) / 2;
    EXPECT_NEAR(cx, 130, 1e-9);
    EXPECT_NEAR(cy, 110, 1e-9);
    EXPECT_EQ(e.PtInShape(130, 110), 1);
    // Along the turned long axis the ellipse reaches about 30 pixels from the centre.
    EXPECT_NE(e.PtInShape(130 + 25, 110 - 12), 0);
    EXPECT_EQ(e.PtInShape(130 + 25, 110 + 12), 0);
}

TEST(HotSpotShape, MovingShiftsThePointsAndKeepsTheSize)
{
    THotSpotShape t = Polygon({{10, 10}, {50, 10}, {30, 40}});
    t.SetX(20);
    t.SetY(0);
    EXPECT_EQ(t.Points()[0], (TRealPoint{20, 0}));
    EXPECT_EQ(t.Points()[2], (TRealPoint{40, 30}));
    EXPECT_EQ(t.Width(), 40);
    THotSpotShape e = Ellipse(0, 0, 20, 10);
    e.SetX(5);
    e.SetY(7);
    EXPECT_DOUBLE_EQ(e.KnotLeft(), 5); // the knots follow an ellipse
    EXPECT_DOUBLE_EQ(e.KnotTop(), 7);
    EXPECT_EQ(e.PtInShape(15, 16), 1); // and so does its point test
    EXPECT_EQ(e.PtInShape(15, 6), 0);
}

TEST(HotSpotShape, ResizingScalesFromTheLeftEdgeOrAboutTheEllipseCentre)
{
    THotSpotShape t = Polygon({{10, 10}, {50, 10}, {30, 40}});
    EXPECT_FALSE(t.SetWidth(40)); // unchanged: nothing, no rebuild
    EXPECT_TRUE(t.SetWidth(80));
    EXPECT_EQ(t.Points()[1], (TRealPoint{90, 10}));
    EXPECT_EQ(t.Points()[2], (TRealPoint{50, 40}));
    EXPECT_EQ(t.X(), 10);
    EXPECT_EQ(t.Width(), 80);
    EXPECT_TRUE(t.SetHeight(30)); // the current height still asks for a rebuild
    EXPECT_EQ(t.Points()[2], (TRealPoint{50, 40}));

    THotSpotShape e = Ellipse(100, 100, 40, 20);
    EXPECT_TRUE(e.SetWidth(80));
    EXPECT_EQ(e.X(), 80);
    EXPECT_EQ(e.Width(), 80);
    EXPECT_DOUBLE_EQ(e.Points()[3].x, 120);
}

TEST(HotSpotShape, ResizingARotatedEllipseKeepsItsCentreAndAngle)
{
    THotSpotShape e = Ellipse(100, 100, 60, 20, 40);
    e.SetWidth(e.Width() + 20);
    EXPECT_EQ(e.Angle(), 40);
    const double cx = e.KnotLeft() + (e.KnotRight() - e.KnotLeft()) / 2;
    const double cy = e.KnotTop() + (e.KnotBottom() - e.KnotTop()) / 2;
    EXPECT_NEAR(cx, 130, 1.0);
    EXPECT_NEAR(cy, 110, 1.0);
}

TEST(HotSpotShape, WidthZeroCollapsesAndRebuildsFromTheBox)
{
    THotSpotShape r = Rectangle(10, 10, 30, 20);
    EXPECT_TRUE(r.SetWidth(0));
    for (const TRealPoint& p : r.Points())
        EXPECT_EQ(p.x, 10);
    EXPECT_FALSE(r.SetWidth(15)); // rebuilt from its box, no rebuild of the looks
    EXPECT_EQ(r.Width(), 15);
    EXPECT_EQ(r.Points()[1], (TRealPoint{25, 10}));

    THotSpotShape e = Ellipse(0, 0, 40, 20);
    e.SetWidth(0);
    for (const TRealPoint& p : e.Points())
        EXPECT_EQ(p.x, 20); // onto the centre
    e.SetWidth(10);
    EXPECT_EQ(e.Width(), 10);
    EXPECT_EQ(e.Points().size(), 13u);

    THotSpotShape poly = Polygon({{0, 0}, {10, 0}, {5, 10}});
    poly.SetWidth(0);
    poly.SetWidth(10);
    EXPECT_EQ(poly.Width(), 0); // a polygon cannot be rebuilt from a box
}

TEST(HotSpotShape, NegativeSizesActAsZero)
{
    THotSpotShape r = Rectangle(10, 10, 30, 20);
    r.SetWidth(-5);
    EXPECT_EQ(r.Width(), 0);
    for (const TRealPoint& p : r.Points())
        EXPECT_EQ(p.x, 10);
}
