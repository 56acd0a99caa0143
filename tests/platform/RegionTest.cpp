// Clip regions: shapes, selection, failed creation, ownership.
#include "platform/Bitmap.h"
#include "platform/Region.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <sys/resource.h>
#include <memory>
#include <vector>

using namespace vandora;

namespace {

// A white bitmap, clipped to the region, then filled red all over.
std::unique_ptr<TBitmap> FillThrough(int w, int h, const HRGN* region)
{
    auto bitmap = std::make_unique<TBitmap>(w, h);
    SelectClipRgn(bitmap->Canvas(), region);
    bitmap->Canvas().Brush.Color = clRed;
    bitmap->Canvas().FillRect(Rect(0, 0, w, h));
    SelectClipRgn(bitmap->Canvas(), nullptr);
    return bitmap;
}

// A five-pointed star drawn in one stroke: its edges cross, enclosing a pentagon.
TIntPoints Star(int cx, int cy, int r)
{
    TIntPoints points;
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        points.push_back({int(std::lround(cx + r * std::cos(a))), int(std::lround(cy + r * std::sin(a)))});
    }
    return points;
}

} // namespace

TEST(RegionTest, EvenOddPolygonExcludesTheCentreOfASelfCrossingStar)
{
    const TIntPoints star = Star(50, 50, 45);
    HRGN region = CreatePolygonRgn(star.data(), int(star.size()), ALTERNATE);
    ASSERT_TRUE(region);
    const auto b = FillThrough(100, 100, &region);
    EXPECT_EQ(b->Canvas().Pixel(50, 50), clWhite);  // the pentagon in the middle: crossed twice
    EXPECT_EQ(b->Canvas().Pixel(50, 15), clRed);    // inside the top point
    EXPECT_EQ(b->Canvas().Pixel(2, 2), clWhite);    // outside
    EXPECT_EQ(b->Canvas().Pixel(50, 98), clWhite);  // between the two lower points
}

TEST(RegionTest, WindingPolygonFillsTheCentre)
{
    const TIntPoints star = Star(50, 50, 45);
    HRGN region = CreatePolygonRgn(star.data(), int(star.size()), WINDING);
    const auto b = FillThrough(100, 100, &region);
    EXPECT_EQ(b->Canvas().Pixel(50, 50), clRed);
}

TEST(RegionTest, EllipticRegionIsTheInscribedEllipse)
{
    HRGN region = CreateEllipticRgn(10, 20, 90, 60); // 80 x 40
    ASSERT_TRUE(region);
    const auto b = FillThrough(100, 80, &region);
    EXPECT_EQ(b->Canvas().Pixel(50, 40), clRed);   // centre
    EXPECT_EQ(b->Canvas().Pixel(12, 40), clRed);   // near the left end of the long axis
    EXPECT_EQ(b->Canvas().Pixel(50, 22), clRed);   // near the top of the short axis
    EXPECT_EQ(b->Canvas().Pixel(11, 21), clWhite); // the box's corners are outside
    EXPECT_EQ(b->Canvas().Pixel(88, 21), clWhite);
    EXPECT_EQ(b->Canvas().Pixel(11, 58), clWhite);
    EXPECT_EQ(b->Canvas().Pixel(88, 58), clWhite);
    EXPECT_EQ(b->Canvas().Pixel(5, 40), clWhite);  // outside the box
    EXPECT_EQ(b->Canvas().Pixel(50, 62), clWhite);
}

// Ellipses are scanned here from the outline Qt's own elliptic region is made of: the
// same pixels, without Qt's limit of 100,000 rows, past which its region crashes when used.
TEST(RegionTest, AnEllipseHasQtsPixelsAtAnySizeAndATallOneClips)
{
    for (const QRect box : {QRect(0, 0, 1, 1), QRect(3, 4, 2, 7), QRect(-5, 2, 17, 16), QRect(10, 20, 80, 40),
                            QRect(0, 0, 333, 41), QRect(-1000, -3, 4001, 999)}) {
        const HRGN region = CreateEllipticRgn(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
        ASSERT_TRUE(region);
        EXPECT_EQ(region.Region(), QRegion(box, QRegion::Ellipse)) << box.width() << "x" << box.height();
    }
    // Given right to left and bottom to top, the same box.
    EXPECT_EQ(CreateEllipticRgn(90, 60, 10, 20).Region(), CreateEllipticRgn(10, 20, 90, 60).Region());

    HRGN tall = CreateEllipticRgn(0, -150000, 20, 150000);
    ASSERT_TRUE(tall);
    EXPECT_GE(tall.Region().boundingRect().height(), 299990);
    EXPECT_TRUE(tall.Region().contains(QPoint(10, -149000))); // near the top: a sliver
    EXPECT_FALSE(tall.Region().contains(QPoint(0, -149000)));
    EXPECT_EQ(FillThrough(20, 20, &tall)->Canvas().Pixel(10, 10), clRed);

    // A box at the very end of the int range is empty, not wrapped round into a huge one;
    // one past the coordinates regions can take creates none, so drawing is unclipped.
    HRGN edge = CreateEllipticRgn(INT_MIN, 0, INT_MIN, 10);
    ASSERT_TRUE(edge);
    EXPECT_TRUE(edge.Region().isEmpty());
    HRGN huge = CreateEllipticRgn(-(1 << 28), 0, 10, 10);
    EXPECT_FALSE(huge);
    EXPECT_EQ(FillThrough(20, 20, &huge)->Canvas().Pixel(19, 19), clRed);
}

TEST(RegionTest, SelectingNoneRemovesTheLimit)
{
    HRGN region = CreateEllipticRgn(0, 0, 10, 10);
    TBitmap b(20, 20);
    SelectClipRgn(b.Canvas(), &region);
    EXPECT_EQ(SelectClipRgn(b.Canvas(), nullptr), SIMPLEREGION); // the whole canvas
    b.Canvas().Brush.Color = clBlue;
    b.Canvas().FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(b.Canvas().Pixel(19, 19), clBlue);
}

TEST(RegionTest, AFailedCreationMeansDrawingUnclipped)
{
    const TPoint two[] = {{0, 0}, {5, 5}};
    HRGN failed = CreatePolygonRgn(two, 2, ALTERNATE);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(CreatePolygonRgn(nullptr, 3, ALTERNATE));
    const TPoint three[] = {{0, 0}, {5, 5}, {0, 5}};
    EXPECT_FALSE(CreatePolygonRgn(three, 3, 99)); // unknown fill mode
    const auto b = FillThrough(10, 10, &failed);
    EXPECT_EQ(b->Canvas().Pixel(9, 0), clRed);
}

TEST(RegionTest, SelectedRegionIsCopiedSoDeletingItKeepsTheClip)
{
    TBitmap b(20, 20);
    {
        HRGN region = CreateEllipticRgn(0, 0, 10, 10);
        EXPECT_NE(SelectClipRgn(b.Canvas(), &region), REGION_ERROR);
        EXPECT_TRUE(DeleteObject(region));
        EXPECT_FALSE(region);
        EXPECT_FALSE(DeleteObject(region)); // nothing left to release
    }
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(b.Canvas().Pixel(5, 5), clRed);
    EXPECT_EQ(b.Canvas().Pixel(15, 15), clWhite);
}

TEST(RegionTest, AMovedFromRegionHoldsNothing)
{
    HRGN first = CreateEllipticRgn(0, 0, 10, 10);
    HRGN second = std::move(first);
    EXPECT_TRUE(second);
    EXPECT_FALSE(first); // NOLINT(bugprone-use-after-move): the point of the test
    HRGN third;
    third = std::move(second);
    EXPECT_TRUE(third);
    EXPECT_FALSE(second); // NOLINT(bugprone-use-after-move)
    // Selecting the moved-from handle clips nothing (it is not an empty region).
    const auto b = FillThrough(20, 20, &first);
    EXPECT_EQ(b->Canvas().Pixel(19, 19), clRed);
}

TEST(RegionTest, CombiningJoinsOrCutsAndAFailedSourceLeavesTheTarget)
{
    HRGN left = CreateEllipticRgn(0, 0, 10, 10);
    const HRGN right = CreateEllipticRgn(8, 0, 18, 10);
    HRGN both;
    EXPECT_EQ(CombineRgn(both, left, right, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.Region().contains(QPoint(2, 5)) && both.Region().contains(QPoint(16, 5)));
    EXPECT_EQ(CombineRgn(left, left, right, RGN_DIFF), COMPLEXREGION); // the target as a source
    EXPECT_FALSE(left.Region().contains(QPoint(9, 5)));
    EXPECT_TRUE(left.Region().contains(QPoint(2, 5)));

    const HRGN failed;
    const QRegion before = both.Region();
    EXPECT_EQ(CombineRgn(both, right, failed, RGN_OR), REGION_ERROR);
    EXPECT_EQ(CombineRgn(both, right, right, 99), REGION_ERROR);
    EXPECT_EQ(both.Region(), before);
    EXPECT_EQ(CombineRgn(both, right, failed, RGN_COPY), COMPLEXREGION);
    EXPECT_EQ(both.Region(), right.Region());
    EXPECT_EQ(CombineRgn(both, failed, right, RGN_OR), REGION_ERROR);
    EXPECT_EQ(CombineRgn(both, failed, right, RGN_COPY), REGION_ERROR);
    EXPECT_EQ(both.Region(), right.Region());
}

// One rectangle is a simple region; two side by side, or anything rounder, a complex one.
TEST(RegionTest, AResultOfOneRectangleIsSimpleAndOfTwoComplex)
{
    const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const TPoint beside[] = {{8, 0}, {12, 0}, {12, 4}, {8, 4}};
    const HRGN a = CreatePolygonRgn(square, 4, ALTERNATE);
    const HRGN b = CreatePolygonRgn(beside, 4, ALTERNATE);
    HRGN result;
    EXPECT_EQ(CombineRgn(result, a, HRGN(), RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(result.Region().rectCount(), 2);
    EXPECT_EQ(CombineRgn(result, a, b, RGN_AND), NULLREGION);
    // Two squares overlapping in one corner: what only one of them covers.
    const TPoint overlapping[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    const HRGN c = CreatePolygonRgn(overlapping, 4, ALTERNATE);
    EXPECT_EQ(CombineRgn(result, a, c, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(result.Region().contains(QPoint(1, 1)));
    EXPECT_TRUE(result.Region().contains(QPoint(5, 5)));
    EXPECT_FALSE(result.Region().contains(QPoint(3, 3)));
}

// Beyond 27 bits a coordinate gives no region even for a shape that is cheap to scan, on
// either axis and at either corner of an ellipse's box.
TEST(RegionTest, AShapeReachingPastTheCoordinateLimitCreatesNoRegion)
{
    constexpr int far = 1 << 27;
    const TPoint low[] = {{0, far}, {4, far}, {0, far + 3}};
    const TPoint right[] = {{far, 0}, {far + 4, 0}, {far, 3}};
    const TPoint near[] = {{0, far - 4}, {4, far - 4}, {0, far - 1}};
    EXPECT_FALSE(CreatePolygonRgn(low, 3, ALTERNATE));
    EXPECT_FALSE(CreatePolygonRgn(right, 3, WINDING));
    EXPECT_TRUE(CreatePolygonRgn(near, 3, ALTERNATE));
    EXPECT_FALSE(CreateEllipticRgn(far - 5, 0, far + 5, 10));
    EXPECT_FALSE(CreateEllipticRgn(0, far - 5, 10, far + 5));
    EXPECT_TRUE(CreateEllipticRgn(far - 15, far - 15, far - 5, far - 5));
}

TEST(RegionTest, EmptyEllipseClipsEverything)
{
    HRGN region = CreateEllipticRgn(5, 5, 5, 9);
    ASSERT_TRUE(region);
    TBitmap b(10, 10);
    EXPECT_EQ(SelectClipRgn(b.Canvas(), &region), NULLREGION);
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(b.Canvas().Pixel(5, 6), clWhite);
}

// A polygon taller than the 32-bit coordinate range cannot be scan-converted: its creation
// fails (and drawing then goes unclipped) instead of taking the process down. In a child
// process with its memory capped, since the fault is a runaway allocation.
int FillThroughATallPolygon()
{
    const rlimit cap{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &cap);
    const TPoint tall[] = {{0, -1200000000}, {10, 1200000000}, {0, 10}};
    HRGN region = CreatePolygonRgn(tall, 3, ALTERNATE);
    const auto b = FillThrough(20, 20, &region);
    // Failed, so unclipped: the fill reaches every pixel.
    return !region && b->Canvas().Pixel(19, 19) == clRed ? 0 : 1;
}

TEST(RegionTest, APolygonSpanningMoreThanTheCoordinateRangeFailsCleanly)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the cap allows";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(FillThroughATallPolygon()), ::testing::ExitedWithCode(0), "");
#endif
}

// Polygons are scan-converted here, not by Qt (which gives up beyond 100,000 rows and
// takes time growing with the square of the rows): a tall one clips like any other, and
// one that would take too long creates no region, so what is drawn through it shows.
TEST(RegionTest, ATallPolygonClipsAndOneTooCostlyCreatesNoRegion)
{
    const TPoint tall[] = {{0, 0}, {40, 250000}, {0, 250000}};
    HRGN fits = CreatePolygonRgn(tall, 3, ALTERNATE);
    ASSERT_TRUE(fits);
    EXPECT_EQ(FillThrough(20, 20, &fits)->Canvas().Pixel(19, 0), clWhite); // right of the edge
    EXPECT_EQ(FillThrough(20, 20, &fits)->Canvas().Pixel(0, 19), clRed);

    // A comb of 2,000 teeth, each 2^26 rows long: a hundred billion edge steps.
    std::vector<TPoint> comb;
    for (int i = 0; i < 2000; ++i)
        comb.push_back(TPoint{i * 4, i % 2 == 0 ? 0 : (1 << 26)});
    HRGN none = CreatePolygonRgn(comb.data(), int(comb.size()), ALTERNATE);
    EXPECT_FALSE(none);
    EXPECT_EQ(FillThrough(20, 20, &none)->Canvas().Pixel(19, 0), clRed);
}
