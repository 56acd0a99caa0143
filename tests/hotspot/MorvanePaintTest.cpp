// The full repaint and the looks drawn between repaints, read off the window surface.
#include "MorvaneFixture.h"

#include "platform/JpegImage.h"

#include <array>

using namespace vandora;
using namespace vandora::test;

TEST(MorvanePaint, WithoutAPictureOnlyADashedOutlineIsDrawn)
{
    TMorvane control;
    int painted = 0;
    control.OnPaint = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, &control);
        ++painted;
    });
    control.SetColor(clRed);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(control.Width(), 200);
    const QImage& s = control.Surface();
    EXPECT_EQ(s.pixel(0, 0) | 0xFF000000u, Rgb(clRed));
    int red = 0, gaps = 0;
    for (int x = 0; x < 200; ++x)
        (s.pixel(x, 0) | 0xFF000000u) == Rgb(clRed) ? ++red : ++gaps;
    EXPECT_GT(red, 50);
    EXPECT_GT(gaps, 20) << "dashed";
    EXPECT_NE(s.pixel(100, 100) | 0xFF000000u, Rgb(clRed)) << "nothing filled";
}

TEST_F(MorvaneFixture, AutoSizeTakesThePictureSizeAndThePictureIsPainted)
{
    EXPECT_EQ(control.Width(), 60);
    EXPECT_EQ(control.Height(), 40);
    EXPECT_TRUE(ShowsPicture(0, 0));
    EXPECT_TRUE(ShowsPicture(59, 39));
    EXPECT_EQ(control.BackgroundBuffer().width(), 60);
    EXPECT_EQ(control.Version(), "1.5.0.0");
    control.SetVersion("9.9");
    EXPECT_EQ(control.Version(), "1.5.0.0");
}

TEST_F(MorvaneFixture, AHoverFillsExactlyTheOutlineAndLeavingRestoresThePicture)
{
    Move(43, 8);
    ASSERT_EQ(control.HoverIndex(), 1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inside = Spot(1)->Shape().PtInShape(x, y) != 0 && Spot(3)->Shape().PtInShape(x, y) == 0;
            const bool clearlyOutside = !Spot(1)->Shape().PtInShape(x, y) && !Spot(1)->Shape().PtInShape(x - 1, y) &&
                                        !Spot(1)->Shape().PtInShape(x + 1, y);
            if (inside && Spot(1)->Shape().PtInShape(x - 1, y) && Spot(1)->Shape().PtInShape(x + 1, y)) {
                ASSERT_TRUE(Shows(x, y, clYellow)) << x << "," << y;
            }
            if (clearlyOutside) {
                ASSERT_TRUE(ShowsPicture(x, y)) << x << "," << y;
            }
        }
    Move(2, 38); // empty picture
    EXPECT_EQ(control.HoverIndex(), -1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_TRUE(ShowsPicture(x, y)) << x << "," << y;
}

TEST_F(MorvaneFixture, PressingShowsTheClickLookThenTheSelectedLook)
{
    // Under a selected look smaller than the hotspot, the click look drawn first shows.
    TPicture corner;
    corner.Bitmap().SetSize(2, 2);
    corner.Bitmap().Canvas().Brush.Color = clAqua;
    corner.Bitmap().Canvas().FillRect(Rect(0, 0, 2, 2));
    Spot(3)->SetClickColor(clLime);
    Spot(3)->SetSelectedImage(&corner);
    Move(50, 15);
    Press(50, 15);
    EXPECT_TRUE(Shows(50, 15, clLime)) << "the click look";
    EXPECT_TRUE(Shows(40, 10, clAqua)) << "the selected look, over its corner";
    Release(50, 15);
    ASSERT_TRUE(Spot(3)->Selected());

    Spot(0)->SetClickColor(clLime);
    Spot(0)->SetSelectedColor(clAqua);
    Move(10, 10);
    Press(10, 10);
    EXPECT_TRUE(Shows(10, 10, clAqua)) << "the selected look covers the click look";
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_FALSE(Spot(3)->Selected()) << "single select: the other one is deselected";
    Release(10, 10);
    EXPECT_TRUE(Shows(10, 10, clAqua));
    Move(2, 38);
    EXPECT_TRUE(Shows(10, 10, clAqua)) << "a selected hotspot is not erased";
    control.Repaint();
    EXPECT_TRUE(Shows(10, 10, clAqua)) << "and painted again";
    Click(43, 8);
    EXPECT_TRUE(ShowsPicture(10, 10)) << "single select: the other one is restored";
}

TEST_F(MorvaneFixture, TheClickLookShowsWhileTheSelectionIsDrawnLater)
{
    // A press on a selected hotspot deselects it: the click look drawn an instant before
    // is erased, and after the release the hover look shows.
    Spot(0)->SetSelected(true);
    Move(10, 10);
    Press(10, 10);
    EXPECT_FALSE(Spot(0)->Selected());
    EXPECT_TRUE(ShowsPicture(10, 10));
    Release(10, 10);
    EXPECT_TRUE(Shows(10, 10, clYellow));
}

TEST_F(MorvaneFixture, ADownHotspotSurvivesRestoreAndComesBackAfterAHoverLeavesIt)
{
    Spot(0)->SetClickColor(clLime);
    Spot(0)->SetDown(true);
    EXPECT_TRUE(control.PaintPending());
    Flush();
    EXPECT_TRUE(Shows(10, 10, clLime));
    control.RestoreArea(0);
    EXPECT_TRUE(Shows(10, 10, clLime));
    Move(10, 10);
    EXPECT_TRUE(Shows(10, 10, clYellow)) << "hovering a down hotspot shows the hover look";
    Move(2, 38);
    EXPECT_TRUE(Shows(10, 10, clYellow)) << "until the repaint that leaving asked for";
    EXPECT_TRUE(control.PaintPending());
    Flush();
    EXPECT_TRUE(Shows(10, 10, clLime));
}

TEST_F(MorvaneFixture, PaintDrawsPersistentLooksInIndexOrderAndNeverABlinkLook)
{
    Spot(1)->SetShowClick(true); // the triangle in its click look
    Spot(3)->SetSelected(true);  // the rectangle over it in red
    Spot(2)->SetBlink(true);
    control.DrawBlink(2);
    EXPECT_TRUE(Shows(16, 30, clWhite));
    control.Repaint();
    EXPECT_TRUE(Shows(43, 6, clGray));
    EXPECT_TRUE(Shows(45, 15, clRed)) << "the later hotspot covers the earlier";
    EXPECT_TRUE(ShowsPicture(16, 30)) << "no blink look after a repaint";
}

TEST_F(MorvaneFixture, DrawingOutsideTheListDoesNothing)
{
    const QImage before = control.Surface();
    control.DrawHover(-1);
    control.DrawClick(4);
    control.DrawSelected(100);
    control.DrawBlink(-5);
    EXPECT_EQ(control.Surface(), before);
}

TEST_F(MorvaneFixture, TransparentLeavesTheKeyColourSeeThrough)
{
    control.SetAutoSize(false);
    control.SetBounds(0, 0, 80, 50); // larger than the picture: the fill is the key colour
    control.SetColor(clBlue);
    control.SetTransparent(true);
    EXPECT_FALSE(control.Opaque());
    Flush();
    EXPECT_EQ(qAlpha(control.Surface().pixel(70, 45)), 0) << "Color shows what lies behind";
    EXPECT_EQ(qAlpha(control.Surface().pixel(10, 10)), 255);
    EXPECT_TRUE(ShowsPicture(10, 10));
    control.SetTransparent(false);
    Flush();
    EXPECT_TRUE(Shows(70, 45, clBlue));
}

// Erasing a look puts back what a repaint shows: beside a picture smaller than the control,
// Color (not white, nor what an earlier, larger picture left there); with Transparent, the
// key colour still see-through.
TEST_F(MorvaneFixture, ErasingALookBesideThePictureMatchesARepaint)
{
    control.SetAutoSize(false);
    control.SetBounds(0, 0, 80, 50);
    control.SetColor(clBlue);
    THotSpot* beside = control.HotSpots().AddHotSpot();
    beside->SetCorners(62, 42, 78, 49);
    TPicture larger;
    larger.Bitmap().SetSize(80, 50);
    larger.Bitmap().Canvas().Brush.Color = clLime;
    larger.Bitmap().Canvas().FillRect(Rect(0, 0, 80, 50));
    TPicture smaller;
    FillPicture(smaller, 60, 40);
    for (const bool transparent : {false, true}) {
        control.SetTransparent(transparent);
        control.SetPicture(&larger);
        control.SetPicture(&smaller);
        const QImage repainted = control.Surface().copy();
        Move(70, 45);
        ASSERT_TRUE(Shows(70, 45, beside->HoverColor())) << transparent;
        Move(79, 2); // over no hotspot
        EXPECT_EQ(control.Surface(), repainted) << transparent;
    }

    // A look over the corner the key colour is taken from does not change the key.
    THotSpot* corner = control.HotSpots().AddHotSpot();
    corner->SetCorners(0, 45, 10, 50);
    corner->SetSelectedColor(clRed);
    corner->SetSelected(true);
    control.Repaint();
    EXPECT_EQ(qAlpha(control.Surface().pixel(70, 45)), 0) << "Color is still the key";
    EXPECT_EQ(control.Surface().pixel(5, 47), Rgb(clRed));
    const QImage repainted = control.Surface().copy();
    Move(70, 45);
    Move(79, 2);
    EXPECT_EQ(control.Surface(), repainted);
}

// An ellipse's looks are each as large as their own picture allows; erasing any of them,
// whichever look picture is smaller, leaves what a repaint shows.
TEST_F(MorvaneFixture, ErasingAnEllipsesLookLeavesNoRingOfIt)
{
    TPicture small;
    small.Bitmap().SetSize(10, 10);
    small.Bitmap().Canvas().Brush.Color = clFuchsia;
    small.Bitmap().Canvas().FillRect(Rect(0, 0, 10, 10));
    const TPicture none;
    using Draw = void (TMorvane::*)(int, TCanvas*);
    // Which looks have the small picture: hover; selected; all but click.
    const std::array<std::array<bool, 4>, 3> smallLooks = {{{true, false, false, false},
                                                           {false, false, true, false},
                                                           {true, false, true, true}}};
    for (std::size_t c = 0; c < smallLooks.size(); ++c) {
        const auto& isSmall = smallLooks[c];
        Spot(2)->SetHoverImage(isSmall[0] ? &small : &none);
        Spot(2)->SetClickImage(isSmall[1] ? &small : &none);
        Spot(2)->SetSelectedImage(isSmall[2] ? &small : &none);
        Spot(2)->SetBlinkImage(isSmall[3] ? &small : &none);
        control.Repaint();
        const QImage plain = control.Surface().copy();
        for (const Draw draw : {&TMorvane::DrawHover, &TMorvane::DrawClick, &TMorvane::DrawSelected,
                                &TMorvane::DrawBlink}) {
            (control.*draw)(2, nullptr);
            ASSERT_NE(control.Surface(), plain) << c;
            control.RestoreArea(2);
            EXPECT_EQ(control.Surface(), plain) << c;
        }
    }
}

TEST_F(MorvaneFixture, StretchScalesThePictureAndTheHotspots)
{
    control.SetAutoSize(false);
    control.SetStretch(true);
    control.SetBounds(0, 0, 120, 80);
    EXPECT_EQ(Spot(0)->X(), 10) << "resizing a stretched control rescales its hotspots";
    EXPECT_EQ(Spot(0)->Width(), 30);
    Flush();
    EXPECT_EQ(At(21, 13), PicturePixel(10, 6) | 0xFF000000u);
    EXPECT_EQ(At(119, 79), PicturePixel(59, 39) | 0xFF000000u);
    Move(50, 60); // the ellipse, now (8, 44) - (56, 76): its looks are composed at that size
    EXPECT_TRUE(Shows(50, 60, clYellow));
    Move(119, 0);
    control.SetStretch(false);
    EXPECT_EQ(Spot(0)->X(), 5);
    EXPECT_EQ(Spot(0)->Width(), 15);
    // AutoSize and Stretch exclude each other: AutoSize takes the picture's size back.
    control.SetStretch(true);
    EXPECT_EQ(Spot(0)->X(), 10);
    control.SetAutoSize(true);
    EXPECT_FALSE(control.Stretch());
    EXPECT_EQ(control.Width(), 60);
    EXPECT_EQ(Spot(0)->X(), 5);
}

// Stretched, a look is as large as its hotspot whatever its picture's size: an ellipse's
// small state picture covers the whole ellipse.
TEST_F(MorvaneFixture, UnderStretchAnEllipsesSmallStatePictureCoversTheWholeEllipse)
{
    control.SetAutoSize(false);
    control.SetStretch(true);
    control.SetBounds(0, 0, 120, 80);
    ASSERT_EQ(Spot(2)->BoundsRect(), (TRect{8, 44, 56, 76}));
    TPicture small;
    small.Bitmap().SetSize(10, 10);
    small.Bitmap().Canvas().Brush.Color = clFuchsia;
    small.Bitmap().Canvas().FillRect(Rect(0, 0, 10, 10));
    Spot(2)->SetHoverImage(&small);
    Flush();
    Move(32, 60);
    EXPECT_TRUE(Shows(32, 60, clFuchsia)) << "the centre";
    EXPECT_TRUE(Shows(50, 60, clFuchsia)) << "near the right end";
    EXPECT_FALSE(Shows(9, 45, clFuchsia)) << "the box's corner, outside the ellipse";
}

// Stretch set first, then hotspots (in the control's space), then the picture.
TEST(MorvaneLooks, StretchSwitchedOnBeforeThePictureScalesFromTheControlsSize)
{
    TMorvane map;
    map.SetStretch(true);
    THotSpot* spot = map.HotSpots().AddHotSpot();
    spot->SetCorners(10, 10, 30, 20);
    TPicture picture;
    FillPicture(picture, 100, 50);
    map.SetPicture(&picture);
    map.SetBounds(0, 0, 400, 400);
    EXPECT_EQ(spot->BoundsRect(), (TRect{20, 20, 60, 40})) << "the hotspot follows the resize";
    map.SetStretch(false);
    EXPECT_EQ(spot->BoundsRect(), (TRect{5, 2, 15, 5})) << "and maps into the picture";
}

TEST_F(MorvaneFixture, WritingThePictureRebuildsOnlyClippedHotspots)
{
    Spot(0)->SetClipped(false);
    Spot(0)->SetHoverColor(clNone);
    Spot(0)->SetClipped(false); // rebuilt once: picture pixels
    Spot(1)->SetHoverColor(clNone);
    TPicture plain;
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(qRgb(9, 9, 9));
    plain.Bitmap().Assign(image);
    control.SetPicture(&plain);
    EXPECT_EQ(Spot(0)->HoverClippedBitmap().Image().pixel(1, 1) | 0xFF000000u, PicturePixel(6, 6) | 0xFF000000u);
    EXPECT_EQ(Spot(1)->HoverClippedBitmap().Image().pixel(1, 24) | 0xFF000000u, qRgb(9, 9, 9));
    EXPECT_EQ(At(1, 1), qRgb(9, 9, 9)) << "and the control repainted";
}

// The picture changed where it stands shows once it is set again: that rebinds, recomposes
// the clipped looks on it and repaints.
TEST_F(MorvaneFixture, APictureChangedInPlaceShowsOnceSetAgain)
{
    Spot(0)->SetSelectedColor(clNone); // the selected look is the picture under the outline
    Spot(0)->SetSelected(true);
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(qRgb(9, 9, 9));
    control.Picture().Bitmap().Assign(image);
    control.SetPicture(&control.Picture());
    ASSERT_EQ(control.Picture().Width(), 60);
    EXPECT_EQ(At(1, 1), qRgb(9, 9, 9));
    EXPECT_EQ(At(8, 8), qRgb(9, 9, 9)) << "the selected look composed on the new picture";
    EXPECT_EQ(Spot(0)->SelectClippedBitmap().Image().pixel(3, 3) | 0xFF000000u, qRgb(9, 9, 9));
}

// A hotspot whose box was set before there was a picture has looks of the right size but
// nothing drawn in them; the picture arriving composes them, clipped or not.
TEST(MorvaneLooks, LooksSizedBeforeThePictureAreComposedWhenItArrives)
{
    TMorvane control;
    control.SetAutoSize(true);
    THotSpot* box = control.HotSpots().AddHotSpot();
    box->SetCorners(5, 5, 20, 18);
    box->SetHeight(14); // a box with its points: the looks are sized, with nothing to draw on
    THotSpot* plain = control.HotSpots().AddHotSpot();
    plain->SetCorners(30, 5, 40, 15);
    plain->SetHoverColor(clNone);
    plain->SetClipped(false);
    TPicture picture;
    FillPicture(picture, 60, 40);
    control.SetPicture(&picture);
    EXPECT_EQ(box->HoverClippedBitmap().Image().pixel(3, 3) | 0xFF000000u, Rgb(clYellow));
    EXPECT_EQ(box->ClickClippedBitmap().Image().pixel(14, 12) | 0xFF000000u, Rgb(clGray));
    EXPECT_EQ(plain->HoverClippedBitmap().Image().pixel(2, 2) | 0xFF000000u, PicturePixel(32, 7) | 0xFF000000u);
}

// Hotspots added after the picture are bound at their first pointer test; selected or held
// down in code before any, they must still show their looks.
TEST(MorvaneLooks, HotspotsAddedAfterThePictureShowTheirLooksBeforeAnyPointerTest)
{
    TMorvane control;
    control.SetAutoSize(true);
    TPicture picture;
    FillPicture(picture, 60, 40);
    control.SetPicture(&picture);
    THotSpot* chosen = control.HotSpots().AddHotSpot();
    chosen->SetCorners(5, 5, 20, 18);
    chosen->SetClipped(true);
    THotSpot* held = control.HotSpots().AddHotSpot();
    held->SetCorners(30, 5, 40, 15);
    EXPECT_EQ(chosen->BackgroundPicture(), nullptr);
    chosen->SetSelected(true);
    EXPECT_EQ(control.Surface().pixel(8, 8) | 0xFF000000u, Rgb(clRed)) << "drawn at once";
    held->SetDown(true);
    control.Repaint();
    EXPECT_EQ(control.Surface().pixel(8, 8) | 0xFF000000u, Rgb(clRed));
    EXPECT_EQ(control.Surface().pixel(32, 8) | 0xFF000000u, Rgb(clGray));
}

// A repaint (an expose, a Down change elsewhere) draws from the state: the hovered
// hotspot, and the pressed one while its button is down.
TEST_F(MorvaneFixture, ARepaintKeepsTheHoverAndThePressedLook)
{
    Move(10, 10);
    control.Repaint();
    EXPECT_TRUE(Shows(10, 10, clYellow));
    Press(10, 10); // selects
    Release(10, 10);
    Press(10, 10); // deselects, and the button stays down
    control.Repaint();
    EXPECT_TRUE(Shows(10, 10, clGray)) << "pressed, not selected";
    Release(10, 10);
    control.Repaint();
    EXPECT_TRUE(Shows(10, 10, clYellow));
}

// A picture that is not a plain bitmap (a JPEG) is drawn onto the control's colour first;
// where it ends, the colour shows, and erasing a look puts the decoded pixels back.
TEST(MorvaneLooks, AJpegPictureSitsOnTheControlsColour)
{
    TMorvane control;
    control.SetBounds(0, 0, 80, 60);
    control.SetColor(clBlue);
    THotSpot* h = control.HotSpots().AddHotSpot();
    h->SetCorners(5, 5, 20, 18);
    h->SetClipped(true);
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(red);
    TPicture picture;
    picture.TakeGraphic(std::move(jpeg));
    control.SetPicture(&picture);
    auto reddish = [&](int x, int y) {
        const QRgb p = control.Surface().pixel(x, y);
        return qRed(p) > 240 && qGreen(p) < 16 && qBlue(p) < 16;
    };
    EXPECT_EQ(control.Surface().pixel(60, 50) | 0xFF000000u, Rgb(clBlue));
    EXPECT_TRUE(reddish(10, 10));
    EXPECT_TRUE(reddish(39, 29));
    control.DrawHover(0);
    EXPECT_EQ(control.Surface().pixel(10, 10) | 0xFF000000u, Rgb(clYellow));
    control.RestoreArea(0);
    EXPECT_TRUE(reddish(10, 10));
}

TEST_F(MorvaneFixture, DesignModeDrawsOutlinesAndNoLooks)
{
    Spot(0)->SetSelected(true);
    control.SetComponentState(csDesigning, true);
    control.Repaint();
    // The dotted not-xor outline inverts some picture pixels on the rectangle's edge.
    int changed = 0;
    for (int x = 5; x < 20; ++x)
        if (!ShowsPicture(x, 5))
            ++changed;
    EXPECT_GT(changed, 3);
    EXPECT_TRUE(ShowsPicture(10, 10)) << "no selected look";
}

// A full paint starts from the picture's own pixels and keeps the background from them;
// the looks drawn over them must never reach the picture or the background.
TEST_F(MorvaneFixture, LooksPaintedOverThePictureLeaveItAndTheBackgroundUntouched)
{
    Spot(0)->SetSelected(true);
    Spot(2)->SetDown(true);
    control.Repaint();
    ASSERT_TRUE(Shows(10, 10, clRed));
    const QImage& picture = control.Picture().Bitmap().Image();
    const QImage& background = control.BackgroundBuffer();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(picture.pixel(x, y), PicturePixel(x, y) | 0xFF000000u) << x << "," << y;
            ASSERT_EQ(background.pixel(x, y), PicturePixel(x, y) | 0xFF000000u) << x << "," << y;
        }
    Spot(0)->SetSelected(false);
    Spot(2)->SetDown(false);
    control.Repaint();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_TRUE(ShowsPicture(x, y)) << x << "," << y;
}
