// The drawing calls of TCanvas, asserted pixel by pixel on bitmaps.
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Region.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <memory>

using namespace vandora;

namespace {

// A bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int w, int h, TColor color)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush.Color = color;
    b->Canvas().FillRect(Rect(0, 0, w, h));
    return b;
}

// A bitmap whose four quadrants are red, lime, blue and yellow (reading order).
std::unique_ptr<TBitmap> Quadrants(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    TCanvas& c = b->Canvas();
    const TColor colors[4] = {clRed, clLime, clBlue, clYellow};
    for (int q = 0; q < 4; ++q) {
        c.Brush.Color = colors[q];
        const int x = (q % 2) * w / 2;
        const int y = (q / 2) * h / 2;
        c.FillRect(Rect(x, y, x + w / 2, y + h / 2));
    }
    return b;
}

int CountColor(const TCanvas& c, TColor color, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += c.Pixel(x, y) == color ? 1 : 0;
    return n;
}

} // namespace

TEST(CanvasTest, FillRectFillsExactlyTheRectangle)
{
    auto b = Filled(10, 10, clWhite);
    b->Canvas().Brush.Color = clRed;
    b->Canvas().FillRect(Rect(2, 3, 5, 7));
    EXPECT_EQ(CountColor(b->Canvas(), clRed, 0, 0, 10, 10), 3 * 4);
    EXPECT_EQ(b->Canvas().Pixel(2, 3), clRed);
    EXPECT_EQ(b->Canvas().Pixel(4, 6), clRed);
    EXPECT_EQ(b->Canvas().Pixel(5, 6), clWhite); // right edge exclusive
    EXPECT_EQ(b->Canvas().Pixel(4, 7), clWhite); // bottom edge exclusive
}

TEST(CanvasTest, SolidRectangleOutlinesAndFills)
{
    auto b = Filled(12, 12, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clYellow;
    c.Rectangle(1, 1, 11, 9);
    for (int x = 1; x < 11; ++x) {
        EXPECT_EQ(c.Pixel(x, 1), clBlack) << x;
        EXPECT_EQ(c.Pixel(x, 8), clBlack) << x;
    }
    for (int y = 1; y < 9; ++y) {
        EXPECT_EQ(c.Pixel(1, y), clBlack) << y;
        EXPECT_EQ(c.Pixel(10, y), clBlack) << y;
    }
    EXPECT_EQ(c.Pixel(5, 5), clYellow);
    EXPECT_EQ(c.Pixel(11, 5), clWhite);
    EXPECT_EQ(c.Pixel(5, 9), clWhite);
}

TEST(CanvasTest, ClearBrushLeavesTheInside)
{
    auto b = Filled(12, 12, clAqua);
    TCanvas& c = b->Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Rectangle(1, 1, 11, 11);
    EXPECT_EQ(CountColor(c, clAqua, 2, 2, 10, 10), 8 * 8);
    EXPECT_EQ(c.Pixel(1, 5), clBlack);
    // A polygon's too.
    c.Brush.Color = clLime;
    c.Polygon({{1, 1}, {11, 1}, {11, 11}});
    EXPECT_EQ(c.Pixel(8, 4), clAqua);
    EXPECT_EQ(c.Pixel(6, 1), clBlack);
}

TEST(CanvasTest, DashedOutlineLeavesGapsAndFillsNothing)
{
    auto b = Filled(60, 30, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Style = psDash;
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Rectangle(0, 0, 60, 30);
    const int inkTop = CountColor(c, clBlack, 0, 0, 60, 1);
    EXPECT_GT(inkTop, 10);
    EXPECT_LT(inkTop, 55); // gaps
    const int inkLeft = CountColor(c, clBlack, 0, 0, 1, 30);
    EXPECT_GT(inkLeft, 5);
    EXPECT_LT(inkLeft, 28);
    EXPECT_EQ(CountColor(c, clWhite, 1, 1, 59, 29), 58 * 28); // nothing inside
}

TEST(CanvasTest, DottedOutlineLeavesMoreGapsThanDashes)
{
    auto dotted = Filled(60, 30, clWhite);
    auto dashed = Filled(60, 30, clWhite);
    for (auto* b : {dotted.get(), dashed.get()}) {
        b->Canvas().Pen.Style = b == dotted.get() ? psDot : psDash;
        b->Canvas().Brush.Style = bsClear;
        b->Canvas().Rectangle(0, 0, 60, 30);
    }
    const int dots = CountColor(dotted->Canvas(), clBlack, 0, 0, 60, 1);
    EXPECT_GT(dots, 5);
    EXPECT_LT(dots, CountColor(dashed->Canvas(), clBlack, 0, 0, 60, 1));
    // A dot is followed by a gap: no run of two inked pixels on the top edge.
    for (int x = 0; x + 1 < 60; ++x)
        EXPECT_FALSE(dotted->Canvas().Pixel(x, 0) == clBlack && dotted->Canvas().Pixel(x + 1, 0) == clBlack) << x;
    EXPECT_EQ(CountColor(dotted->Canvas(), clWhite, 1, 1, 59, 29), 58 * 28);
}

TEST(CanvasTest, NotXorDrawnTwiceRestoresThePixels)
{
    auto b = Quadrants(40, 40);
    const QImage before = b->ToImage();
    TCanvas& c = b->Canvas();
    c.Pen.Mode = pmNotXor;
    c.Pen.Style = psDot;
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Rectangle(5, 5, 35, 35);
    EXPECT_NE(b->ToImage(), before);
    // Not-xor with black inverts: red becomes aqua.
    EXPECT_EQ(c.Pixel(6, 5) == clAqua || c.Pixel(5, 5) == clAqua, true);
    c.Rectangle(5, 5, 35, 35);
    EXPECT_EQ(b->ToImage(), before);
}

TEST(CanvasTest, NotXorWithWhiteKeepsThePixels)
{
    auto b = Quadrants(20, 20);
    const QImage before = b->ToImage();
    b->Canvas().Pen.Mode = pmNotXor;
    b->Canvas().Pen.Color = clWhite;
    b->Canvas().Brush.Style = bsClear;
    b->Canvas().Rectangle(2, 2, 18, 18);
    EXPECT_EQ(b->ToImage(), before);
}

TEST(CanvasTest, DrawPutsAGraphicAtItsOwnSize)
{
    auto target = Filled(20, 20, clWhite);
    auto source = Filled(4, 3, clRed);
    target->Canvas().Draw(5, 6, *source);
    EXPECT_EQ(CountColor(target->Canvas(), clRed, 0, 0, 20, 20), 12);
    EXPECT_EQ(target->Canvas().Pixel(5, 6), clRed);
    EXPECT_EQ(target->Canvas().Pixel(8, 8), clRed);
    EXPECT_EQ(target->Canvas().Pixel(9, 8), clWhite);
}

TEST(CanvasTest, StretchDrawScales)
{
    auto source = Quadrants(2, 2);
    auto target = Filled(40, 20, clWhite);
    target->Canvas().StretchDraw(Rect(0, 0, 40, 20), *source);
    EXPECT_EQ(CountColor(target->Canvas(), clRed, 0, 0, 20, 10), 200);
    EXPECT_EQ(CountColor(target->Canvas(), clLime, 20, 0, 40, 10), 200);
    EXPECT_EQ(CountColor(target->Canvas(), clBlue, 0, 10, 20, 20), 200);
    EXPECT_EQ(CountColor(target->Canvas(), clYellow, 20, 10, 40, 20), 200);
}

TEST(CanvasTest, StretchDrawShrinks)
{
    auto source = Quadrants(40, 40);
    auto target = Filled(10, 10, clWhite);
    target->Canvas().StretchDraw(Rect(0, 0, 4, 4), *source);
    EXPECT_EQ(target->Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(target->Canvas().Pixel(3, 3), clYellow);
    EXPECT_EQ(target->Canvas().Pixel(4, 4), clWhite);
}

TEST(CanvasTest, CopyRectIsAPlainCopy)
{
    auto source = Quadrants(10, 10);
    auto target = Filled(10, 10, clWhite);
    target->Canvas().CopyRect(Rect(0, 0, 5, 5), source->Canvas(), Rect(5, 5, 10, 10));
    EXPECT_EQ(CountColor(target->Canvas(), clYellow, 0, 0, 5, 5), 25);
    EXPECT_EQ(CountColor(target->Canvas(), clWhite, 0, 0, 10, 10), 75);
}

TEST(CanvasTest, CopyRectScalesWhenSizesDiffer)
{
    auto source = Quadrants(10, 10);
    auto target = Filled(40, 20, clWhite);
    target->Canvas().CopyRect(Rect(0, 0, 40, 20), source->Canvas(), Rect(0, 0, 10, 5)); // red | lime
    EXPECT_EQ(CountColor(target->Canvas(), clRed, 0, 0, 20, 20), 400);
    EXPECT_EQ(CountColor(target->Canvas(), clLime, 20, 0, 40, 20), 400);
}

// A source reaching past the image copies only its part on the image, to where that part
// maps in the scaled destination; the rest of the destination keeps its pixels.
TEST(CanvasTest, AScaledCopyOfASourcePartlyOffTheImageFillsOnlyItsShare)
{
    auto source = Quadrants(10, 10);
    auto target = Filled(40, 20, clWhite);
    target->Canvas().CopyRect(Rect(0, 0, 40, 20), source->Canvas(), Rect(-10, 0, 10, 10)); // 2x
    EXPECT_EQ(CountColor(target->Canvas(), clWhite, 0, 0, 20, 20), 400);
    EXPECT_EQ(CountColor(target->Canvas(), clRed, 20, 0, 30, 10), 100);
    EXPECT_EQ(CountColor(target->Canvas(), clLime, 30, 0, 40, 10), 100);
    EXPECT_EQ(CountColor(target->Canvas(), clYellow, 30, 10, 40, 20), 100);
}

TEST(CanvasTest, CopyRectWithinOneBitmap)
{
    auto b = Quadrants(10, 10);
    b->Canvas().CopyRect(Rect(0, 0, 5, 5), b->Canvas(), Rect(5, 5, 10, 10));
    EXPECT_EQ(CountColor(b->Canvas(), clYellow, 0, 0, 5, 5), 25);
    EXPECT_EQ(CountColor(b->Canvas(), clYellow, 5, 5, 10, 10), 25);
}

// Copies within one image read the pixels from before the copy, through every way in:
// the canvas, its image, a bitmap drawn onto itself, and a scaled copy. Rows shifted down
// would otherwise repeat the first row.
TEST(CanvasTest, ShiftingPixelsWithinOneImageCopiesTheOldRows)
{
    const auto grey = [](int row) { return TColor(30 * (row + 1) * 0x010101); };
    const auto rows = [&] {
        auto b = Filled(4, 8, clWhite);
        for (int y = 0; y < 8; ++y) {
            b->Canvas().Brush.Color = grey(y);
            b->Canvas().FillRect(Rect(0, y, 4, y + 1));
        }
        return b;
    };
    const auto expectShiftedByOne = [&](const TBitmap& b, const char* how) {
        for (int y = 1; y < 8; ++y)
            EXPECT_EQ(b.Canvas().Pixel(0, y), grey(y - 1)) << how << ", row " << y;
    };
    auto canvas = rows();
    canvas->Canvas().CopyRect(Rect(0, 1, 4, 8), canvas->Canvas(), Rect(0, 0, 4, 7));
    expectShiftedByOne(*canvas, "canvas");
    auto image = rows();
    image->Canvas().CopyRect(Rect(0, 1, 4, 8), *image->Canvas().Image(), Rect(0, 0, 4, 7));
    expectShiftedByOne(*image, "image");
    auto drawn = rows();
    drawn->Canvas().Draw(0, 1, *drawn);
    expectShiftedByOne(*drawn, "drawn onto itself");

    auto scaled = rows();
    scaled->Canvas().CopyRect(Rect(0, 2, 4, 8), *scaled->Canvas().Image(), Rect(0, 0, 4, 3)); // 3 rows to 6
    for (int y = 2; y < 8; ++y)
        EXPECT_EQ(scaled->Canvas().Pixel(0, y), grey((y - 2) / 2)) << "scaled, row " << y;
}

TEST(CanvasTest, PolygonIsClosedAndFilled)
{
    auto b = Filled(30, 30, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clLime;
    c.Polygon({{2, 2}, {27, 2}, {27, 27}}); // the closing edge runs back along the diagonal
    EXPECT_EQ(c.Pixel(20, 10), clLime);   // inside
    EXPECT_EQ(c.Pixel(10, 20), clWhite);  // the other side of the diagonal
    EXPECT_EQ(c.Pixel(15, 2), clBlack);   // the top edge
    EXPECT_EQ(c.Pixel(15, 15), clBlack);  // the closing edge
}

// Where a polygon's edges cross, the part enclosed twice is outside (even-odd filling).
TEST(CanvasTest, ASelfCrossingPolygonLeavesThePartItEnclosesTwice)
{
    auto b = Filled(40, 40, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Style = psClear;
    c.Brush.Color = clLime;
    c.Polygon({{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}}); // a five-pointed star
    EXPECT_EQ(c.Pixel(20, 20), clWhite); // the pentagon in the middle
    EXPECT_EQ(c.Pixel(20, 8), clLime);   // the top point
}

// A wide pen's rectangle has square corners, and a wide curve stops at its end knots.
TEST(CanvasTest, AWidePenMakesSquareCornersAndFlatEnds)
{
    auto b = Filled(60, 60, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Color = clBlack;
    c.Pen.Width = 5;
    c.Brush.Style = bsClear;
    c.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(c.Pixel(8, 8), clBlack);
    EXPECT_EQ(c.Pixel(30, 30), clBlack);
    EXPECT_EQ(c.Pixel(15, 15), clWhite);

    c.PolyBezier({{10, 45}, {20, 45}, {30, 45}, {40, 45}});
    EXPECT_EQ(c.Pixel(11, 45), clBlack);
    EXPECT_EQ(c.Pixel(39, 45), clBlack);
    EXPECT_EQ(c.Pixel(8, 45), clWhite);
    EXPECT_EQ(c.Pixel(42, 45), clWhite);
}

// Knots after the last whole segment of three are left over, not read past.
TEST(CanvasTest, APolyBeziersLeftOverKnotsAreIgnored)
{
    auto whole = Filled(50, 50, clWhite);
    auto extra = Filled(50, 50, clWhite);
    whole->Canvas().PolyBezier({{5, 40}, {5, 0}, {45, 0}, {45, 40}});
    extra->Canvas().PolyBezier({{5, 40}, {5, 0}, {45, 0}, {45, 40}, {5, 45}, {45, 45}});
    EXPECT_EQ(extra->ToImage(), whole->ToImage());
}

TEST(CanvasTest, PolyBezierIsACurveThroughTheKnotsAndNotFilled)
{
    auto b = Filled(50, 50, clWhite);
    TCanvas& c = b->Canvas();
    c.Pen.Color = clRed;
    c.Brush.Color = clBlue;
    // One segment: from (5, 40) to (45, 40), pulled up by the control points.
    c.PolyBezier({{5, 40}, {5, 0}, {45, 0}, {45, 40}});
    EXPECT_EQ(c.Pixel(5, 40), clRed);
    EXPECT_EQ(c.Pixel(45, 40), clRed);
    // The curve's middle, B(0.5) = (25, 10).
    EXPECT_GT(CountColor(c, clRed, 24, 9, 27, 12), 0);
    EXPECT_EQ(CountColor(c, clBlue, 0, 0, 50, 50), 0);
    EXPECT_EQ(c.Pixel(25, 30), clWhite);
}

TEST(CanvasTest, DrawingRespectsTheClip)
{
    auto b = Filled(20, 20, clWhite);
    HRGN region = CreateEllipticRgn(0, 0, 10, 10);
    SelectClipRgn(b->Canvas(), &region);
    auto source = Filled(20, 20, clRed);
    b->Canvas().Draw(0, 0, *source);
    EXPECT_EQ(b->Canvas().Pixel(5, 5), clRed);
    EXPECT_EQ(b->Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(b->Canvas().Pixel(15, 15), clWhite);
}

TEST(CanvasTest, PixelOutsideIsNone)
{
    auto b = Filled(2, 2, clWhite);
    EXPECT_EQ(b->Canvas().Pixel(2, 0), clNone);
    EXPECT_EQ(b->Canvas().Pixel(-1, 0), clNone);
}

// Fills are written straight into 32-bit pixels; what they cover must be exactly what a
// painter with the same clip covers, on opaque and on alpha surfaces alike.
TEST(CanvasTest, ClippedFillCoversWhatAPainterCovers)
{
    const TPoint star[] = {{10, 0}, {13, 18}, {0, 7}, {20, 7}, {7, 18}}; // self-crossing
    const QRect fills[] = {{-5, -5, 40, 40}, {5, 5, 8, 3}, {18, 2, 10, 10}, {30, 30, 5, 5}};
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const QRect& fill : fills) {
            QImage image(24, 20, format);
            image.fill(Qt::white);
            QImage expected = image;
            TCanvas canvas(&image);
            HRGN region = CreatePolygonRgn(star, 5, ALTERNATE);
            ASSERT_TRUE(region);
            {
                QPainter painter(&expected);
                painter.setClipRegion(region.Region());
                painter.fillRect(fill, QColor(0, 128, 255));
            }
            SelectClipRgn(canvas, &region);
            canvas.Brush.Color = TColor(0xFF8000); // blue 255, green 128, red 0
            canvas.FillRect(Rect(fill.left(), fill.top(), fill.left() + fill.width(), fill.top() + fill.height()));
            EXPECT_EQ(image, expected) << "format " << format << ", fill at " << fill.x() << "," << fill.y();
        }
    }
}

TEST(CanvasTest, InvertedFillRectangleFillsWhatThePainterFills)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QImage expected = image;
    {
        QPainter painter(&expected);
        painter.fillRect(Rect(6, 6, 2, 2).ToQRect(), Qt::red);
    }
    TCanvas canvas(&image);
    canvas.Brush.Color = clRed;
    canvas.FillRect(Rect(6, 6, 2, 2));
    EXPECT_EQ(image, expected);
}

// The outline covers columns left..right-1 and rows top..bottom-1 of the rectangle the two
// corners span, whichever order they come in; an empty rectangle has no outline at all.
TEST(CanvasTest, ThinEmptyAndInvertedRectanglesOutlineOnlyTheirOwnPixels)
{
    auto outline = [](int l, int t, int r, int b) {
        auto bitmap = Filled(12, 12, clWhite);
        bitmap->Canvas().Brush.Style = bsClear;
        bitmap->Canvas().Rectangle(l, t, r, b);
        return bitmap;
    };
    auto ordered = outline(2, 2, 8, 8);
    auto inverted = outline(8, 8, 2, 2);
    EXPECT_EQ(inverted->ToImage(), ordered->ToImage());
    EXPECT_EQ(CountColor(inverted->Canvas(), clBlack, 0, 0, 12, 12), 20);

    auto empty = outline(5, 5, 5, 5);
    EXPECT_EQ(CountColor(empty->Canvas(), clBlack, 0, 0, 12, 12), 0);
    auto flat = outline(3, 5, 9, 5);
    EXPECT_EQ(CountColor(flat->Canvas(), clBlack, 0, 0, 12, 12), 0);

    auto dot = outline(2, 2, 3, 3);
    EXPECT_EQ(dot->Canvas().Pixel(2, 2), clBlack);
    EXPECT_EQ(CountColor(dot->Canvas(), clBlack, 0, 0, 12, 12), 1);
}

// A graphic whose far edge would lie past the largest coordinate lies wholly outside any
// canvas: nothing is drawn and nothing is read from outside the graphic. In a child
// process, since the fault is a wild read.
TEST(CanvasTest, AGraphicPlacedNearTheLargestCoordinateDrawsNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto target = Filled(20, 20, clWhite);
            auto source = Filled(10, 10, clRed);
            const QImage before = target->ToImage();
            target->Canvas().Draw(std::numeric_limits<int>::max() - 5, 0, *source);
            target->Canvas().Draw(0, std::numeric_limits<int>::max() - 5, *source);
            std::_Exit(target->ToImage() == before ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Rectangles out at the ends of the range: what lies on the image is drawn, the rest is
// not, and no sum overflows on the way (the sanitizer build checks the arithmetic).
TEST(CanvasTest, RectanglesAtTheEndsOfTheRangeDrawWhatLiesOnTheImage)
{
    constexpr int lo = std::numeric_limits<int>::min();
    constexpr int hi = std::numeric_limits<int>::max();
    auto b = Filled(20, 20, clWhite);
    TCanvas& c = b->Canvas();
    c.Brush.Color = clRed;
    c.FillRect(Rect(lo, 2, hi, 4));
    EXPECT_EQ(CountColor(c, clRed, 0, 0, 20, 20), 40);
    c.Brush.Color = clBlue;
    c.Pen.Color = clLime;
    c.Rectangle(lo, 10, hi, 20); // outline off the image at left and right
    EXPECT_EQ(c.Pixel(0, 10), clLime);
    EXPECT_EQ(c.Pixel(19, 11), clBlue);
    EXPECT_EQ(c.Pixel(19, 19), clLime);

    const QImage before = b->ToImage();
    auto source = Filled(10, 10, clYellow);
    c.CopyRect(Rect(lo, 0, lo + 10, 10), source->Image(), Rect(0, 0, 10, 10));
    c.CopyRect(Rect(0, 0, 10, 10), source->Image(), Rect(lo, 0, hi, 10));
    c.StretchDraw(Rect(lo, lo, hi, hi), *source);
    c.Draw(lo, lo, *source);
    EXPECT_EQ(b->ToImage(), before);
}

// What a drawing changes is reported for the window to update: a wide pen's outline lies
// half outside the rectangle, and those pixels are reported too.
TEST(CanvasTest, AWidePensRectangleReportsThePixelsItChangesOutsideTheRectangle)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QRegion reported;
    TCanvas canvas(&image, [&](const QRect& r) { reported += r; });
    canvas.Pen.Width = 3;
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(10, 10, 20, 20);
    for (const QPoint p : {QPoint(9, 15), QPoint(20, 15), QPoint(15, 9), QPoint(15, 20)}) {
        ASSERT_NE(image.pixel(p) | 0xFF000000u, 0xFFFFFFFFu) << p.x() << "," << p.y();
        EXPECT_TRUE(reported.contains(p)) << p.x() << "," << p.y();
    }
    // So do a polygon's and a curve's.
    reported = QRegion();
    canvas.Polygon({{10, 30}, {20, 30}, {15, 38}});
    EXPECT_TRUE(reported.contains(QPoint(9, 30)));
    reported = QRegion();
    canvas.PolyBezier({{30, 5}, {32, 5}, {34, 5}, {36, 5}});
    EXPECT_TRUE(reported.contains(QPoint(33, 4)));
    // A width below one draws a one-pixel outline, and reports it.
    reported = QRegion();
    canvas.Pen.Width = -5;
    canvas.Rectangle(25, 25, 35, 35);
    EXPECT_TRUE(reported.contains(QPoint(25, 30)));
}

// A drawing reports only what it may have changed, the part on the image and within the
// clip; one that changes nothing reports nothing.
TEST(CanvasTest, ADrawingReportsOnlyWhatLiesOnTheImageAndInTheClip)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QList<QRect> reported;
    TCanvas canvas(&image, [&](const QRect& r) { reported.push_back(r); });
    const TPoint square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    HRGN clip = CreatePolygonRgn(square, 4, ALTERNATE);
    SelectClipRgn(canvas, &clip);
    const auto source = Filled(30, 30, clRed);
    canvas.Brush.Color = clBlue;
    canvas.FillRect(Rect(0, 0, 60, 60));       // written straight
    canvas.Draw(5, 5, *source);                 // copied straight
    canvas.Rectangle(-10, -10, 60, 60);         // through a painter
    canvas.FillRect(Rect(25, 25, 35, 35));      // each of these outside the clip
    canvas.Draw(25, 25, *source);
    canvas.Rectangle(100, 100, 110, 110);
    const QRect clipBox(10, 10, 10, 10);
    EXPECT_EQ(reported, QList<QRect>({clipBox, clipBox, clipBox}));

    reported.clear();
    SelectClipRgn(canvas, nullptr);
    canvas.Rectangle(-10, -10, 60, 60);
    EXPECT_EQ(reported, QList<QRect>({image.rect()}));
}
