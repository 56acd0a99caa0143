// A bitmap refuses a size beyond what it may hold, instead of asking for all the memory
// there is, and stays as it was.
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace vandora;

TEST(BitmapLimits, ASizeBeyondTheLimitRaisesAndChangesNothing)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(255, 0, 0));
    TBitmap bitmap;
    bitmap.Assign(image);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_THROW(bitmap.SetHeight(40000000), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    EXPECT_THROW(TBitmap(65536, 65536), EInvalidGraphic);
}

TEST(BitmapLimits, TheLimitItselfIsAllowedInEitherStep)
{
    TBitmap bitmap;
    bitmap.SetWidth(int(TBitmap::kMaxPixels)); // no pixels yet: the height is 0
    EXPECT_EQ(bitmap.Width(), int(TBitmap::kMaxPixels));
    EXPECT_THROW(bitmap.SetHeight(2), EInvalidGraphic);
    bitmap.SetSize(8192, 8192);
    EXPECT_EQ(bitmap.Width() * bitmap.Height(), TBitmap::kMaxPixels);
}
