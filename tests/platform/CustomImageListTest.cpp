// TCustomImageList: images by index, drawn within the canvas clip.
#include "platform/Bitmap.h"
#include "platform/CustomImageList.h"
#include "platform/Region.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace vandora;

namespace {

QImage Solid(int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

int Count(const TCanvas& c, TColor color)
{
    int n = 0;
    for (int y = 0; y < c.Image()->height(); ++y)
        for (int x = 0; x < c.Image()->width(); ++x)
            n += c.Pixel(x, y) == color ? 1 : 0;
    return n;
}

} // namespace

TEST(CustomImageListTest, SizeAndCount)
{
    TCustomImageList list(8, 6);
    EXPECT_EQ(list.Width(), 8);
    EXPECT_EQ(list.Height(), 6);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(Solid(8, 6, qRgb(255, 0, 0))), 0);
    EXPECT_EQ(list.Add(Solid(8, 6, qRgb(0, 0, 255))), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Add(QImage()), -1);
    EXPECT_EQ(list.Count(), 2);
    TCustomImageList defaults;
    EXPECT_EQ(defaults.Width(), 16);
    EXPECT_EQ(defaults.Height(), 16);
    TCustomImageList none(0, -3); // no side is smaller than a pixel
    EXPECT_EQ(none.Width(), 1);
    EXPECT_EQ(none.Height(), 1);
    EXPECT_EQ(none.Add(Solid(5, 5, qRgb(0, 255, 0))), 0);
    EXPECT_EQ(none.Count(), 1);
}

TEST(CustomImageListTest, AStripAddsOneImagePerWidth)
{
    QImage strip(12, 4, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x)
            strip.setPixel(x, y, qRgb(0, 255, 0));
    TCustomImageList list(4, 4);
    EXPECT_EQ(list.Add(strip), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Image(1).pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(list.Image(2).pixel(3, 3), qRgb(255, 0, 0));
}

TEST(CustomImageListTest, OtherSizesAreScaled)
{
    TCustomImageList list(4, 4);
    list.Add(Solid(10, 3, qRgb(0, 0, 255)));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Image(0).size(), QSize(4, 4));
    // A strip needs both the height and a multiple of the width.
    list.Add(Solid(8, 3, qRgb(0, 0, 255)));
    list.Add(Solid(6, 4, qRgb(0, 0, 255)));
    EXPECT_EQ(list.Count(), 3);
    // Scaled pixel for pixel, never blended.
    QImage halves(2, 1, QImage::Format_RGB32);
    halves.setPixel(0, 0, qRgb(255, 0, 0));
    halves.setPixel(1, 0, qRgb(0, 0, 255));
    list.Add(halves);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(list.Image(3).pixel(x, 2), x < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << x;
}

TEST(CustomImageListTest, DrawsImageNAtAPoint)
{
    TCustomImageList list(3, 2);
    list.Add(Solid(3, 2, qRgb(255, 0, 0)));
    list.Add(Solid(3, 2, qRgb(0, 0, 255)));
    TBitmap target(10, 10);
    list.Draw(target.Canvas(), 4, 5, 1);
    EXPECT_EQ(Count(target.Canvas(), clBlue), 6);
    EXPECT_EQ(target.Canvas().Pixel(4, 5), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(6, 6), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(7, 6), clWhite);
    EXPECT_EQ(Count(target.Canvas(), clRed), 0);
}

TEST(CustomImageListTest, AnIndexOutsideTheListDrawsNothing)
{
    TCustomImageList list(3, 3);
    list.Add(Solid(3, 3, qRgb(255, 0, 0)));
    TBitmap target(6, 6);
    int changes = 0;
    target.SetOnChange([&] { ++changes; });
    list.Draw(target.Canvas(), 0, 0, -1);
    list.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(Count(target.Canvas(), clWhite), 36);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(list.Image(-1).isNull());
    EXPECT_TRUE(list.Image(1).isNull());
}

TEST(CustomImageListTest, DrawsWithinTheClip)
{
    TCustomImageList list(10, 10);
    list.Add(Solid(10, 10, qRgb(255, 0, 0)));
    TBitmap target(10, 10);
    HRGN region = CreateEllipticRgn(0, 0, 10, 10);
    SelectClipRgn(target.Canvas(), &region);
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.Canvas().Pixel(5, 5), clRed);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(target.Canvas().Pixel(9, 9), clWhite);
    const int red = Count(target.Canvas(), clRed);
    EXPECT_GT(red, 50);
    EXPECT_LT(red, 100);
}

TEST(CustomImageListTest, TransparentPixelsAreNotDrawn)
{
    QImage sprite(2, 1, QImage::Format_ARGB32);
    sprite.setPixel(0, 0, qRgba(0, 255, 0, 255));
    sprite.setPixel(1, 0, qRgba(0, 0, 0, 0));
    TCustomImageList list(2, 1);
    list.Add(sprite);
    TBitmap target(2, 1);
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clLime);
    EXPECT_EQ(target.Canvas().Pixel(1, 0), clWhite);
    // Greyed, they stay see-through.
    TBitmap greyed(2, 1);
    greyed.Canvas().Brush.Color = clBlue;
    greyed.Canvas().FillRect(Rect(0, 0, 2, 1));
    list.Draw(greyed.Canvas(), 0, 0, 0, false);
    EXPECT_NE(greyed.Canvas().Pixel(0, 0), clBlue);
    EXPECT_EQ(greyed.Canvas().Pixel(1, 0), clBlue);
}

TEST(CustomImageListTest, DisabledImagesAreDrawnGrey)
{
    TCustomImageList list(2, 2);
    list.Add(Solid(2, 2, qRgb(255, 0, 0)));
    TBitmap target(2, 2);
    list.Draw(target.Canvas(), 0, 0, 0, false);
    const QRgb p = target.Image().pixel(1, 1);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
    // The grey level lightened halfway toward white.
    EXPECT_EQ(qRed(p), 128 + qGray(qRgb(255, 0, 0)) / 2);
}

TEST(CustomImageListTest, ChangingTheSizeEmptiesTheList)
{
    TCustomImageList list(2, 2);
    list.Add(Solid(2, 2, qRgb(255, 0, 0)));
    list.SetSize(2, 2); // the size it has
    EXPECT_EQ(list.Count(), 1);
    list.SetWidth(3);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Width(), 3);
}
