// Composing one look: its size, the picture under it, the clip to the outline, the state
// picture or colour, and the image-list glyph.
#include "MorvaneFixture.h"

#include "hotspot/BackgroundCopy.h"
#include "platform/CustomImageList.h"

using namespace vandora;
using namespace vandora::test;

namespace {

QRgb Px(const TBitmap& b, int x, int y)
{
    return b.Image().pixel(x, y) | 0xFF000000u;
}

void SolidPicture(TPicture& picture, int w, int h, QRgb rgb)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(rgb);
    picture.Bitmap().Assign(image);
}

} // namespace

TEST_F(MorvaneFixture, ALookIsThePictureUnderTheBoxWithTheOutlineFilled)
{
    const TBitmap& look = Spot(1)->HoverClippedBitmap(); // triangle (30,4) (56,4) (43,30)
    ASSERT_EQ(look.Width(), 26);
    ASSERT_EQ(look.Height(), 26);
    EXPECT_EQ(Px(look, 13, 5), Rgb(clYellow)) << "inside the outline";
    EXPECT_EQ(Px(look, 1, 24), PicturePixel(31, 28) | 0xFF000000u) << "outside: the picture under it";
    EXPECT_EQ(Px(look, 24, 24), PicturePixel(54, 28) | 0xFF000000u);
}

TEST_F(MorvaneFixture, AnEllipseLookIsClippedToTheInscribedEllipse)
{
    const TBitmap& look = Spot(2)->ClickClippedBitmap(); // box (4,22) 24 x 16
    EXPECT_EQ(Px(look, 12, 8), Rgb(clGray));
    EXPECT_EQ(Px(look, 0, 0), PicturePixel(4, 22) | 0xFF000000u);
    EXPECT_EQ(Px(look, 23, 15), PicturePixel(27, 37) | 0xFF000000u);
}

TEST_F(MorvaneFixture, AnUnclippedLookCoversItsWholeBox)
{
    Spot(1)->SetClipped(false);
    const TBitmap& look = Spot(1)->HoverClippedBitmap();
    EXPECT_EQ(Px(look, 1, 24), Rgb(clYellow));
    EXPECT_EQ(Px(look, 25, 25), Rgb(clYellow));
}

TEST_F(MorvaneFixture, NoColourMeansThePlainPicture)
{
    Spot(0)->SetHoverColor(clNone);
    Spot(0)->SetClipped(true);
    const TBitmap& look = Spot(0)->HoverClippedBitmap();
    for (int y = 0; y < look.Height(); ++y)
        for (int x = 0; x < look.Width(); ++x)
            ASSERT_EQ(Px(look, x, y), PicturePixel(5 + x, 5 + y) | 0xFF000000u);
}

TEST_F(MorvaneFixture, AStatePictureReplacesTheColourAndASmallerOneLimitsTheLook)
{
    TPicture small;
    SolidPicture(small, 6, 4, qRgb(1, 2, 3));
    Spot(0)->SetClipped(false);
    Spot(0)->SetSelectedImage(&small); // the change alone rebuilds the selected look
    const TBitmap& look = Spot(0)->SelectClippedBitmap();
    EXPECT_EQ(look.Width(), 6);
    EXPECT_EQ(look.Height(), 4);
    EXPECT_EQ(Px(look, 5, 3), qRgb(1, 2, 3));
    TPicture large;
    SolidPicture(large, 100, 100, qRgb(7, 8, 9));
    Spot(0)->SetHoverImage(&large);
    EXPECT_EQ(Spot(0)->HoverClippedBitmap().Width(), 15);
    EXPECT_EQ(Px(Spot(0)->HoverClippedBitmap(), 14, 12), qRgb(7, 8, 9));
    // The caller keeps its own picture.
    EXPECT_TRUE(large.HasGraphic());
    EXPECT_NE(large.Graphic(), Spot(0)->HoverImage().Graphic());
}

TEST_F(MorvaneFixture, AGlyphIsDrawnAtTheOffsetInsideTheClip)
{
    TCustomImageList images;
    images.SetWidth(4);
    images.SetHeight(4);
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(qRgb(200, 0, 200));
    images.Add(glyph);
    control.SetImages(&images);
    Spot(0)->SetHoverImageIndex(0);
    Spot(0)->SetOffsetX(2);
    Spot(0)->SetOffsetY(3);
    EXPECT_EQ(Px(Spot(0)->HoverClippedBitmap(), 3, 4), Rgb(clYellow)) << "index alone rebuilds nothing";
    Spot(0)->SetClipped(true);
    EXPECT_EQ(Px(Spot(0)->HoverClippedBitmap(), 3, 4), qRgb(200, 0, 200));
    EXPECT_EQ(Px(Spot(0)->HoverClippedBitmap(), 2, 6), qRgb(200, 0, 200)); // 2 across, 3 down
    EXPECT_EQ(Px(Spot(0)->HoverClippedBitmap(), 7, 4), Rgb(clYellow));
    control.SetImages(nullptr);
}

TEST(StateBitmap, UnderStretchTheLookTakesThePictureRectangleScaled)
{
    TMorvane control;
    TPicture picture;
    FillPicture(picture, 60, 40);
    control.SetPicture(&picture);
    control.SetBounds(0, 0, 120, 80);
    THotSpot* h = control.HotSpots().AddHotSpot();
    h->SetCorners(20, 20, 40, 40);
    control.SetStretch(true); // maps hotspots from picture space: now (40,40)-(80,80)
    EXPECT_EQ(h->X(), 40);
    EXPECT_EQ(h->Width(), 40);
    h->SetHoverColor(clNone);
    h->ContainsPoint(0, 0); // binds the picture and rebuilds
    const TBitmap& look = h->HoverClippedBitmap();
    EXPECT_EQ(look.Width(), 40);
    EXPECT_EQ(Px(look, 0, 0), PicturePixel(20, 20) | 0xFF000000u);
    EXPECT_EQ(Px(look, 39, 39), PicturePixel(39, 39) | 0xFF000000u);

    // Stretched three times down and twice across: each axis scales by its own factor.
    control.SetBounds(0, 0, 120, 120);
    ASSERT_EQ(h->Y(), 60);
    ASSERT_EQ(h->Height(), 60);
    EXPECT_EQ(look.Height(), 60);
    EXPECT_EQ(Px(look, 0, 0), PicturePixel(20, 20) | 0xFF000000u);
    EXPECT_EQ(Px(look, 39, 59), PicturePixel(39, 39) | 0xFF000000u);
    // A state picture is stretched over the whole look, whatever its own size.
    TPicture small;
    SolidPicture(small, 10, 10, qRgb(200, 0, 200));
    h->SetHoverImage(&small);
    EXPECT_EQ(Px(look, 0, 0), qRgb(200, 0, 200));
    EXPECT_EQ(Px(look, 39, 59), qRgb(200, 0, 200));
}

// The looks are recomposed into bitmaps that still hold an earlier look: whatever the
// picture does not cover turns white, on whichever side the rectangle leaves it.
TEST(StateBitmap, ReadingOnlyTheNeededRectangleGivesTheSamePixels)
{
    TPicture picture;
    FillPicture(picture, 60, 40);
    const TRect sources[] = {{5, 5, 20, 18},   {50, 30, 70, 50}, {-5, -5, 10, 10}, {10, 10, 30, 20},
                             {-5, 5, 10, 18},  {5, -5, 20, 8},   {50, 5, 70, 18},  {5, 30, 20, 50}};
    const TRect dests[] = {{0, 0, 15, 13}, {0, 0, 20, 20}, {0, 0, 15, 15}, {0, 0, 40, 10},
                           {0, 0, 15, 13}, {0, 0, 15, 13}, {0, 0, 20, 13}, {0, 0, 15, 20}};
    const auto earlierLook = [](const TRect& dest) {
        auto bitmap = std::make_unique<TBitmap>(dest.Width(), dest.Height());
        bitmap->Canvas().Brush.Color = clBlack;
        bitmap->Canvas().FillRect(dest);
        return bitmap;
    };
    for (int i = 0; i < 8; ++i) {
        const auto whole = earlierLook(dests[i]);
        const auto needed = earlierLook(dests[i]);
        CopyBackground(picture, whole->Canvas(), dests[i], sources[i], TBackgroundCopy::WholePicture);
        CopyBackground(picture, needed->Canvas(), dests[i], sources[i], TBackgroundCopy::NeededRectangle);
        EXPECT_EQ(whole->Image(), needed->Image()) << "case " << i;
        // The corner of the look farthest into the picture shows it; the one outside, white.
        const int x = sources[i].Left < 0 ? dests[i].Right - 1 : 0;
        const int y = sources[i].Top < 0 ? dests[i].Bottom - 1 : 0;
        EXPECT_NE(needed->Canvas().Pixel(x, y), clBlack) << "case " << i;
        if (sources[i].Left < 0 || sources[i].Top < 0 || sources[i].Right > 60 || sources[i].Bottom > 40) {
            EXPECT_EQ(needed->Canvas().Pixel(dests[i].Right - 1 - x, dests[i].Bottom - 1 - y), clWhite) << "case " << i;
        }
    }
}

TEST(StateBitmap, WithoutAPictureTheLookIsSizedButNotDrawnAndWithoutAControlEmpty)
{
    TMorvane control;
    THotSpot* h = control.HotSpots().AddHotSpot();
    h->SetCorners(0, 0, 10, 8);
    h->SetClipped(true);
    EXPECT_EQ(h->HoverClippedBitmap().Width(), 10);
    EXPECT_EQ(h->HoverClippedBitmap().Height(), 8);
    EXPECT_EQ(h->ContainsPoint(5, 5), 1);
    EXPECT_EQ(h->BackgroundPicture(), &control.Picture());

    THotSpots loose(nullptr);
    THotSpot* alone = loose.AddHotSpot();
    alone->SetCorners(0, 0, 10, 8);
    alone->SetClipped(true);
    EXPECT_TRUE(alone->HoverClippedBitmap().Empty());
}
