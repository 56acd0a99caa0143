// Blinking, driven tick by tick.
#include "MorvaneFixture.h"

using namespace vandora;
using namespace vandora::test;

TEST_F(MorvaneFixture, ABlinkingHotspotAlternatesTickByTick)
{
    control.Loaded(); // ends loading: the timer runs once and stops when nothing blinks
    EXPECT_TRUE(control.BlinkTimer().Running());
    control.BlinkTick();
    EXPECT_FALSE(control.BlinkTimer().Enabled());
    EXPECT_EQ(control.BlinkPhase(), 1) << "the phase flips even when nothing blinks";

    Spot(0)->SetBlink(true);
    Spot(2)->SetBlink(true);
    EXPECT_TRUE(control.BlinkTimer().Enabled());
    EXPECT_EQ(control.BlinkTimer().Interval(), 100u);
    control.BlinkTick(); // phase 1: restore
    EXPECT_TRUE(ShowsPicture(10, 10));
    control.BlinkTick(); // phase 0: blink look
    EXPECT_TRUE(Shows(10, 10, clWhite));
    EXPECT_TRUE(Shows(16, 30, clWhite)) << "all blink together";
    control.BlinkTick();
    EXPECT_TRUE(ShowsPicture(10, 10));
    EXPECT_TRUE(ShowsPicture(16, 30));
    // The pointer lights no blinking hotspot: the blink is the look it has.
    Move(10, 10);
    EXPECT_EQ(control.HoverIndex(), 0);
    EXPECT_TRUE(ShowsPicture(10, 10));
    control.Repaint();
    EXPECT_TRUE(ShowsPicture(10, 10));
    Move(2, 40);

    // A selected blinking hotspot blinks in its selected look and is erased on the off tick.
    Spot(0)->SetSelected(true);
    control.BlinkTick();
    EXPECT_TRUE(Shows(10, 10, clRed));
    control.BlinkTick();
    EXPECT_TRUE(ShowsPicture(10, 10));

    // Turning Blink off leaves the look until something redraws the area.
    control.BlinkTick();
    Spot(2)->SetBlink(false);
    Spot(0)->SetBlink(false);
    EXPECT_TRUE(Shows(16, 30, clWhite));
    control.BlinkTick();
    EXPECT_FALSE(control.BlinkTimer().Enabled());
    control.Repaint();
    EXPECT_TRUE(ShowsPicture(16, 30));
}

TEST_F(MorvaneFixture, ADownHotspotKeepsTheBlinkLookOnceDrawn)
{
    Spot(0)->SetDown(true);
    Spot(0)->SetBlink(true);
    control.BlinkTick(); // phase 0: draw
    EXPECT_TRUE(Shows(10, 10, clWhite));
    control.BlinkTick(); // restore skips a down hotspot
    EXPECT_TRUE(Shows(10, 10, clWhite));
}

TEST_F(MorvaneFixture, TheBlinkIntervalDrivesTheTimer)
{
    control.SetBlinkInterval(250);
    EXPECT_EQ(control.BlinkTimer().Interval(), 250u);
    EXPECT_TRUE(control.BlinkTimer().Running());
    control.SetBlinkInterval(0);
    EXPECT_FALSE(control.BlinkTimer().Running());
    control.SetBlinkInterval(-40); // a negative interval stops blinking
    EXPECT_EQ(control.BlinkInterval(), 0);
    EXPECT_FALSE(control.BlinkTimer().Running());
}

TEST_F(MorvaneFixture, NothingBlinksAtDesignTimeOrWhileLoading)
{
    control.SetComponentState(csLoading, true);
    Spot(0)->SetBlink(true);
    EXPECT_FALSE(control.BlinkTimer().Enabled());
    control.SetComponentState(csLoading, false);
    control.SetComponentState(csDesigning, true);
    Spot(1)->SetBlink(true);
    EXPECT_FALSE(control.BlinkTimer().Enabled());
    control.Loaded();
    EXPECT_FALSE(control.BlinkTimer().Enabled());
    control.BlinkTick();
    EXPECT_TRUE(ShowsPicture(10, 10));
}

// Copies take Blink as a plain value: the copy must still blink, whether the control's
// timer never ran or stopped when nothing blinked.
TEST_F(MorvaneFixture, HotspotsCopiedInBlinkToo)
{
    THotSpots source(nullptr);
    source.AddHotSpot()->SetBlink(true);
    ASSERT_FALSE(control.BlinkTimer().Enabled());
    control.SetHotSpots(&source);
    EXPECT_TRUE(control.BlinkTimer().Enabled());
    EXPECT_EQ(control.BlinkTimer().Interval(), 100u) << "a control made in code, never loaded";

    control.BlinkTick();
    control.BlinkTick();
    control.HotSpots().Item(0)->SetBlink(false);
    control.BlinkTick(); // nothing blinks: the timer stops
    ASSERT_FALSE(control.BlinkTimer().Enabled());
    control.HotSpots().Item(0)->Assign(source.Item(0));
    EXPECT_TRUE(control.BlinkTimer().Enabled());
}

// A selected hotspot blinks in its selected look, which a smaller SelectedImage limits: the
// blink's ellipse is that smaller one too, with nothing of the picture around it.
TEST_F(MorvaneFixture, ASelectedEllipseBlinksExactlyInItsSelectedLook)
{
    TPicture small;
    small.Bitmap().SetSize(10, 10);
    small.Bitmap().Canvas().Brush.Color = clFuchsia;
    small.Bitmap().Canvas().FillRect(Rect(0, 0, 10, 10));
    Spot(2)->SetSelectedImage(&small);
    Spot(2)->SetSelected(true);
    Spot(2)->SetBlink(true);
    control.Repaint();
    const QImage selectedLook = control.Surface().copy();
    control.RestoreArea(2); // a blinking selected hotspot is erased in its off phase
    ASSERT_NE(control.Surface(), selectedLook);
    control.DrawBlink(2);
    EXPECT_EQ(control.Surface(), selectedLook);
}
