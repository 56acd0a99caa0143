// The hotspot item: creation values, which writes rebuild which look, selection, the lazy
// binding of the background, copying.
#include "MorvaneFixture.h"

#include "platform/Exceptions.h"

using namespace vandora;
using namespace vandora::test;

namespace {

QRgb LookPixel(const TBitmap& look, int x, int y)
{
    return look.Image().pixel(x, y) | 0xFF000000u;
}

} // namespace

TEST(HotSpot, StartsWithItsCreationValues)
{
    TMorvane control;
    THotSpot* h = control.HotSpots().AddHotSpot();
    EXPECT_EQ(h->ShapeType(), stRectangle);
    EXPECT_EQ(h->HoverColor(), 0x00FFFF);
    EXPECT_EQ(h->ClickColor(), 0x808080);
    EXPECT_EQ(h->SelectedColor(), 0x0000FF);
    EXPECT_EQ(h->BlinkColor(), 0xFFFFFF);
    EXPECT_EQ(h->HoverImageIndex(), -1);
    EXPECT_EQ(h->ClickImageIndex(), -1);
    EXPECT_EQ(h->SelectedImageIndex(), -1);
    EXPECT_EQ(h->BlinkImageIndex(), -1);
    EXPECT_EQ(h->OffsetX(), 4);
    EXPECT_EQ(h->OffsetY(), 4);
    EXPECT_FALSE(h->Clipped() || h->Down() || h->ShowClick() || h->Blink() || h->Selected());
    EXPECT_TRUE(h->HoverClippedBitmap().Empty());
    EXPECT_EQ(h->BackgroundPicture(), nullptr);
    control.HotSpots().AddHotSpot();
    EXPECT_EQ(h->DisplayName(), "HotSpot0");
    EXPECT_EQ(control.HotSpots().Item(1)->DisplayName(), "HotSpot1");
}

// The outline is what a form stores and what design mode draws: an ellipse made from a
// rectangle gets its thirteen Bézier points round the box.
TEST_F(MorvaneFixture, TurningAHotspotIntoAnEllipseGivesItTheEllipsesOutline)
{
    const TPoints& points = Spot(2)->Shape().Points(); // box (4, 22) - (28, 38)
    ASSERT_EQ(points.size(), 13u);
    EXPECT_EQ(points[0], (TRealPoint{4, 30}));
    EXPECT_EQ(points[3], (TRealPoint{16, 22}));
    EXPECT_EQ(points[6], (TRealPoint{28, 30}));
}

TEST_F(MorvaneFixture, PlainStoresWaitForTheNextRebuild)
{
    THotSpot* rect = Spot(0);
    const QRgb yellow = Rgb(clYellow);
    ASSERT_EQ(LookPixel(rect->HoverClippedBitmap(), 5, 5), yellow);
    rect->SetHoverColor(clBlue);
    EXPECT_EQ(LookPixel(rect->HoverClippedBitmap(), 5, 5), yellow);
    // Writing the current height rebuilds every look, so the new colour shows.
    rect->SetHeight(rect->Height());
    EXPECT_EQ(LookPixel(rect->HoverClippedBitmap(), 5, 5), Rgb(clBlue));
    // Moving rebuilds nothing: the look still holds the old position's picture pixels.
    rect->SetBlinkColor(clLime);
    rect->SetX(rect->X() + 1);
    EXPECT_EQ(LookPixel(rect->BlinkClippedBitmap(), 5, 5), Rgb(clWhite));
}

TEST_F(MorvaneFixture, ClickAndSelectedColoursRebuildOnlyOnAChange)
{
    THotSpot* rect = Spot(0);
    rect->SetClickColor(clLime);
    EXPECT_EQ(LookPixel(rect->ClickClippedBitmap(), 3, 3), Rgb(clLime));
    // The same value again does nothing: a look painted over by hand stays as it is.
    const_cast<TBitmap&>(rect->ClickClippedBitmap()).Canvas().Brush.Color = clBlack;
    const_cast<TBitmap&>(rect->ClickClippedBitmap()).Canvas().FillRect({0, 0, 4, 4});
    rect->SetClickColor(clLime);
    EXPECT_EQ(LookPixel(rect->ClickClippedBitmap(), 3, 3), Rgb(clBlack));
    rect->SetSelectedColor(clPurple);
    EXPECT_EQ(LookPixel(rect->SelectClippedBitmap(), 3, 3), Rgb(clPurple));
}

TEST_F(MorvaneFixture, ChangingTheSelectedColourOfASelectedHotspotDrawsItAtOnce)
{
    Spot(0)->SetSelected(true);
    EXPECT_TRUE(Shows(10, 10, clRed));
    Spot(0)->SetSelectedColor(clPurple);
    EXPECT_TRUE(Shows(10, 10, clPurple));
    // With Blink the blink look follows, and nothing is drawn at once.
    Spot(0)->SetBlink(true);
    Spot(0)->SetSelectedColor(clAqua);
    EXPECT_TRUE(Shows(10, 10, clPurple));
    EXPECT_EQ(LookPixel(Spot(0)->BlinkClippedBitmap(), 3, 3), Rgb(clAqua));
}

TEST(HotSpot, WithoutAControlSelectionIsIgnoredAndLooksAreEmpty)
{
    THotSpots loose(nullptr);
    THotSpot* h = loose.AddHotSpot();
    h->SetCorners(0, 0, 10, 10);
    h->SetClipped(true);
    h->SetSelected(true);
    EXPECT_FALSE(h->Selected());
    h->SetSelectedColor(clPurple);
    EXPECT_EQ(h->SelectedColor(), clPurple);
    h->SetBlink(true);
    h->SetDown(true);
    EXPECT_TRUE(h->Blink());
    EXPECT_TRUE(h->SelectClippedBitmap().Empty());
    EXPECT_EQ(h->ContainsPoint(5, 5), 1);
    EXPECT_EQ(h->BackgroundPicture(), nullptr);
}

TEST_F(MorvaneFixture, SelectionModes)
{
    Spot(0)->SetSelected(true);
    Spot(1)->SetSelected(true);
    EXPECT_FALSE(Spot(0)->Selected()) << "single select keeps one";
    EXPECT_TRUE(Spot(1)->Selected());
    EXPECT_TRUE(ShowsPicture(10, 10)) << "the deselected one is restored";
    EXPECT_TRUE(Shows(43, 8, clRed));

    control.SetSelectionMode(smMultiSelectCtrl);
    input.ctrl = true;
    Spot(2)->SetSelected(true);
    EXPECT_TRUE(Spot(1)->Selected() && Spot(2)->Selected()) << "Ctrl adds";
    input.ctrl = false;
    Spot(0)->SetSelected(true);
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_FALSE(Spot(1)->Selected() || Spot(2)->Selected()) << "without Ctrl it replaces";

    control.SetSelectionMode(smMultiSelect);
    Spot(3)->SetSelected(true);
    Spot(1)->SetSelected(true);
    EXPECT_TRUE(Spot(0)->Selected() && Spot(1)->Selected() && Spot(3)->Selected());
    Spot(1)->ToggleSelected();
    EXPECT_FALSE(Spot(1)->Selected());
}

TEST_F(MorvaneFixture, TheBlinkLookFollowsTheSelection)
{
    THotSpot* rect = Spot(0);
    rect->SetBlink(true);
    EXPECT_EQ(LookPixel(rect->BlinkClippedBitmap(), 3, 3), Rgb(clWhite));
    rect->SetSelected(true);
    EXPECT_EQ(LookPixel(rect->BlinkClippedBitmap(), 3, 3), Rgb(clRed));
    rect->SetSelected(false);
    EXPECT_EQ(LookPixel(rect->BlinkClippedBitmap(), 3, 3), Rgb(clWhite));
}

TEST_F(MorvaneFixture, AHotspotAddedLaterBindsThePictureAtItsFirstPointTest)
{
    THotSpot* late = control.HotSpots().AddHotSpot();
    late->SetCorners(0, 0, 10, 10);
    late->SetClipped(true);
    EXPECT_EQ(late->BackgroundPicture(), nullptr);
    EXPECT_EQ(LookPixel(late->HoverClippedBitmap(), 2, 2), qRgb(255, 255, 255)) << "sized, not drawn";
    EXPECT_EQ(late->ContainsPoint(3, 3), 1);
    EXPECT_EQ(late->BackgroundPicture(), &control.Picture());
    EXPECT_EQ(LookPixel(late->HoverClippedBitmap(), 2, 2), Rgb(clYellow));
}

TEST_F(MorvaneFixture, CopyFromTakesTheHotspotButNotItsState)
{
    THotSpot* source = Spot(1);
    source->SetDown(true);
    source->SetHint("a triangle");
    source->SetID(7);
    source->SetOffsetX(9);
    source->SetOffsetY(8);
    source->SetHoverColor(clAqua);
    source->SetClickColor(clNavy);
    source->SetSelectedColor(clOlive);
    source->SetBlinkColor(clTeal);
    source->SetHoverImageIndex(1);
    source->SetClickImageIndex(2);
    source->SetSelectedImageIndex(3);
    source->SetBlinkImageIndex(4);
    TPicture pictures[4];
    for (int i = 0; i < 4; ++i)
        FillPicture(pictures[i], 2 + i, 2);
    source->SetHoverImage(&pictures[0]);
    source->SetClickImage(&pictures[1]);
    source->SetSelectedImage(&pictures[2]);
    source->SetBlinkImage(&pictures[3]);
    source->SetAngle(30);
    THotSpot* copy = control.HotSpots().AddHotSpot();
    copy->Assign(source); // any persistent source: a hotspot is copied
    EXPECT_EQ(copy->OffsetY(), 8);
    EXPECT_EQ(copy->ClickColor(), clNavy);
    EXPECT_EQ(copy->SelectedColor(), clOlive);
    EXPECT_EQ(copy->BlinkColor(), clTeal);
    EXPECT_EQ((std::vector<int>{copy->HoverImageIndex(), copy->ClickImageIndex(), copy->SelectedImageIndex(),
                                copy->BlinkImageIndex()}),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ((std::vector<int>{copy->HoverImage().Width(), copy->ClickImage().Width(),
                                copy->SelectedImage().Width(), copy->BlinkImage().Width()}),
              (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(copy->Angle(), 30);
    EXPECT_FALSE(copy->Down());
    EXPECT_EQ(copy->Hint(), "a triangle");
    EXPECT_EQ(copy->Name(), "tri");
    EXPECT_EQ(copy->ID(), 7);
    EXPECT_EQ(copy->OffsetX(), 9);
    EXPECT_EQ(copy->HoverColor(), clAqua);
    EXPECT_EQ(copy->ShapeType(), stPolygon);
    EXPECT_EQ(copy->Shape().Points(), source->Shape().Points());
    EXPECT_EQ(copy->Width(), source->Width());
    EXPECT_TRUE(copy->Clipped());
    copy->CopyFrom(*copy);
    EXPECT_EQ(copy->Shape().Points(), source->Shape().Points()) << "a copy onto itself keeps it";
    EXPECT_THROW(copy->Assign(&control.HotSpots()), EConvertError);
    try {
        copy->Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a nil to a THotSpot");
    }
}

TEST_F(MorvaneFixture, ACopyOntoABoundPolygonComposesItsLooksWhereTheCopyIs)
{
    THotSpot* copy = control.HotSpots().AddHotSpot();
    copy->SetShapeType(stPolygon);
    copy->SetClipped(true);
    copy->SetPoints({{2, 2}, {12, 2}, {7, 12}});
    copy->ContainsPoint(0, 0); // binds the picture: the looks are composed from here on
    const THotSpot* tri = Spot(1);
    copy->CopyFrom(*tri);
    const TBitmap& look = copy->HoverClippedBitmap();
    ASSERT_EQ(look.Width(), tri->Width());
    ASSERT_EQ(look.Height(), tri->Height());
    // Below the triangle's left edge: the picture where the copy now is, not where it was.
    EXPECT_EQ(LookPixel(look, 1, tri->Height() - 1), PicturePixel(31, 4 + tri->Height() - 1) | 0xFF000000u);
    EXPECT_EQ(LookPixel(look, tri->Width() / 2, 2), Rgb(copy->HoverColor()));
}

TEST_F(MorvaneFixture, CopyingARotatedShapeKeepsItsAngleWithoutTurningAgain)
{
    THotSpot* source = Spot(0);
    source->SetAngle(30);
    THotSpot* copy = control.HotSpots().AddHotSpot();
    copy->CopyFrom(*source);
    EXPECT_EQ(copy->Angle(), 30);
    EXPECT_EQ(copy->Shape().Points(), source->Shape().Points());
}

TEST_F(MorvaneFixture, DestroyingAHotspotMovesTheLaterOnesDown)
{
    THotSpot* last = Spot(3);
    delete Spot(1);
    EXPECT_EQ(control.HotSpots().Count(), 3);
    EXPECT_EQ(last->Index(), 2);
    EXPECT_EQ(Spot(1)->Name(), "ell");
}
