// The collection: index errors, batches, copying and rescaling, and the control's indices
// when hotspots go away.
#include "MorvaneFixture.h"

#include "platform/Exceptions.h"

using namespace vandora;
using namespace vandora::test;

TEST_F(MorvaneFixture, AnIndexOutsideTheListRaisesAndChangesNothing)
{
    try {
        control.HotSpots().Item(4);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (4)");
    }
    EXPECT_THROW(control.HotSpots().Item(-1), EListError);
    EXPECT_EQ(control.HotSpots().Count(), 4);
    EXPECT_THROW(control.RestoreArea(9), EListError);
}

TEST_F(MorvaneFixture, ClearAndCopyForgetTheHoveredAndPressedHotspots)
{
    Move(10, 10);
    ASSERT_EQ(control.HoverIndex(), 0);
    control.HotSpots().AddHotSpot();
    EXPECT_EQ(control.HoverIndex(), 0) << "adding keeps the index";

    THotSpots other(nullptr);
    other.AddHotSpot()->SetName("a");
    other.AddHotSpot()->SetName("b");
    other.SetBaseWidth(12);
    other.SetBaseHeight(34);
    Press(10, 10);
    ASSERT_EQ(control.ClickIndex(), 0);
    control.HotSpots().CopyFrom(&other);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_EQ(control.ClickIndex(), -1);
    EXPECT_EQ(control.HotSpots().Count(), 2);
    EXPECT_EQ(control.HotSpots().Item(1)->Name(), "b");
    EXPECT_EQ(control.HotSpots().BaseWidth(), 12);
    EXPECT_EQ(control.HotSpots().BaseHeight(), 34);

    EXPECT_THROW(control.HotSpots().CopyFrom(nullptr), EConvertError);
    EXPECT_EQ(control.HotSpots().Count(), 2) << "refused before anything changed";
    control.SetHotSpots(&control.HotSpots());
    EXPECT_EQ(control.HotSpots().Count(), 2) << "a copy onto itself keeps what it has";
    control.HotSpots().Clear();
    EXPECT_EQ(control.HotSpots().Count(), 0);
}

TEST_F(MorvaneFixture, DestroyingTheHoveredOrPressedHotspotLeavesNoStaleIndex)
{
    Move(50, 15); // the overlapping rectangle, index 3
    ASSERT_EQ(control.HoverIndex(), 3);
    delete Spot(1);
    EXPECT_EQ(control.HoverIndex(), 2) << "still names the same hotspot";
    EXPECT_EQ(Spot(control.HoverIndex())->Name(), "over");
    Press(50, 15);
    ASSERT_EQ(control.ClickIndex(), 2);
    delete Spot(2);
    EXPECT_EQ(control.ClickIndex(), -1);
    EXPECT_EQ(control.HoverIndex(), -1);
    Release(50, 15); // nothing to finish, nothing raised
    EXPECT_EQ(std::count(events.begin(), events.end(), "click over"), 0);
}

// A collection made for the control, to be copied in with SetHotSpots, is not the one it
// shows: its removals and selections must not move or draw the control's own hotspots.
TEST_F(MorvaneFixture, AnotherCollectionOfTheControlLeavesItsHotspotsAlone)
{
    Move(50, 15); // "over", index 3
    ASSERT_EQ(control.HoverIndex(), 3);
    THotSpots staged(&control);
    staged.AddHotSpot()->SetCorners(0, 0, 10, 10);
    staged.AddHotSpot()->SetCorners(20, 20, 30, 30);
    delete staged.Item(0);
    EXPECT_EQ(control.HoverIndex(), 3);
    Move(50, 16);
    EXPECT_EQ(events, (std::vector<std::string>{"enter over"})) << "no exit and enter for the same hotspot";

    ASSERT_TRUE(ShowsPicture(10, 10));
    staged.Item(0)->SetSelected(true);
    EXPECT_TRUE(staged.Item(0)->Selected()) << "the owner still decides the selection rules";
    staged.Item(0)->SetSelectedColor(clBlue);
    EXPECT_TRUE(ShowsPicture(10, 10)) << "the control's hotspot 0 was drawn selected";
    staged.BeginBatch();
    staged.EndBatch();
    EXPECT_EQ(control.HoverIndex(), 3);

    control.SetHotSpots(&staged);
    ASSERT_EQ(control.HotSpots().Count(), 1);
    EXPECT_TRUE(control.HotSpots().Item(0)->Selected());
}

TEST(HotSpots, RescaleMapsEveryHotspotAndRoundsHalvesToEven)
{
    TMorvane control;
    THotSpots& spots = control.HotSpots();
    spots.SetBaseWidth(0);
    spots.SetBaseHeight(0);
    THotSpot* r = spots.AddHotSpot();
    r->SetCorners(10, 10, 30, 30);
    spots.Rescale(800, 600);
    EXPECT_EQ(r->X(), 10) << "no base yet";
    EXPECT_EQ(spots.BaseWidth(), 0);

    spots.SetBaseWidth(400);
    spots.SetBaseHeight(400);
    spots.Rescale(800, 200);
    EXPECT_EQ(r->X(), 20);
    EXPECT_EQ(r->Y(), 5);
    EXPECT_EQ(r->Width(), 40);
    EXPECT_EQ(r->Height(), 10);
    EXPECT_EQ(spots.BaseWidth(), 800);
    EXPECT_EQ(spots.BaseHeight(), 200);

    THotSpots halves(nullptr);
    THotSpot* a = halves.AddHotSpot();
    a->SetCorners(1, 1, 2, 2);
    THotSpot* b = halves.AddHotSpot();
    b->SetCorners(3, 3, 4, 4);
    halves.SetBaseWidth(4);
    halves.SetBaseHeight(4);
    halves.Rescale(6, 6);
    EXPECT_EQ(a->X(), 2); // 1.5
    EXPECT_EQ(b->X(), 4); // 4.5
    halves.Rescale(0, 6);
    EXPECT_EQ(halves.BaseWidth(), 6);
}

TEST(HotSpots, RescalingAnEllipseRebuildsItFromItsNewBox)
{
    TMorvane control;
    THotSpot* e = control.HotSpots().AddHotSpot();
    e->SetCorners(10, 10, 30, 20);
    e->SetShapeType(stEllipse);
    control.HotSpots().SetBaseWidth(100);
    control.HotSpots().SetBaseHeight(100);
    control.HotSpots().Rescale(200, 300);
    EXPECT_EQ(e->X(), 20);
    EXPECT_EQ(e->Y(), 30);
    EXPECT_EQ(e->Width(), 40);
    EXPECT_EQ(e->Height(), 30);
    EXPECT_EQ(e->Shape().Points().size(), 13u);
    EXPECT_TRUE(control.PaintPending());
}

TEST(HotSpots, NothingIsRescaledWhileTheControlLoads)
{
    TMorvane control;
    THotSpot* r = control.HotSpots().AddHotSpot();
    r->SetCorners(10, 10, 30, 30);
    control.HotSpots().SetBaseWidth(100);
    control.HotSpots().SetBaseHeight(100);
    control.SetComponentState(csLoading, true);
    control.HotSpots().Rescale(200, 200);
    EXPECT_EQ(r->X(), 10);
    EXPECT_EQ(control.HotSpots().BaseWidth(), 100);
}
