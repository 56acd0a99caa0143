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
    EXPECT_TRUE(Shows(25, 25, clBlue)) << "the copied selection shows at once";
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

namespace {

std::vector<int> Boxes(const THotSpots& spots)
{
    std::vector<int> boxes;
    for (int i = 0; i < spots.Count(); ++i) {
        const THotSpot* spot = spots.Item(i);
        boxes.insert(boxes.end(), {spot->X(), spot->Y(), spot->Width(), spot->Height()});
    }
    return boxes;
}

} // namespace

// A stretched control is rescaled at every size its window is dragged through.
TEST_F(MorvaneFixture, ResizingAStretchedControlAndBackGivesBackItsHotspots)
{
    control.SetAutoSize(false);
    control.SetStretch(true);
    control.SetBounds(0, 0, 120, 80);
    const std::vector<int> before = Boxes(control.HotSpots());
    const TPoints triangle = Spot(1)->Shape().Points();

    for (int w = 119; w >= 60; --w) // one pixel at a time, as a drag does
        control.SetBounds(0, 0, w, w * 2 / 3);
    EXPECT_EQ(Spot(1)->X(), 30) << "each size maps from where the drag began";
    for (int w = 61; w <= 120; ++w)
        control.SetBounds(0, 0, w, w * 2 / 3);
    EXPECT_EQ(Boxes(control.HotSpots()), before);
    EXPECT_EQ(Spot(1)->Shape().Points(), triangle);

    control.SetBounds(0, 0, 3, 2); // every outline collapses on the way
    control.SetBounds(0, 0, 120, 80);
    EXPECT_EQ(Boxes(control.HotSpots()), before);
    EXPECT_EQ(Spot(1)->ContainsPoint(86, 50), 1) << "the triangle tests as before";
    Flush();
    Move(86, 50);
    EXPECT_TRUE(Shows(86, 50, clYellow)) << "with its looks composed for its box";

    control.SetStretch(false);
    EXPECT_EQ(Spot(0)->X(), 5);
    EXPECT_EQ(Spot(0)->Width(), 15);
}

// A hotspot changed between two rescales starts again from the change; the others go on.
TEST(HotSpots, AChangeBetweenRescalesIsKeptAndScaledFromThere)
{
    THotSpots spots(nullptr);
    THotSpot* moved = spots.AddHotSpot();
    moved->SetCorners(10, 10, 30, 30);
    THotSpot* kept = spots.AddHotSpot();
    kept->SetCorners(50, 50, 70, 70);
    spots.SetBaseWidth(100);
    spots.SetBaseHeight(100);
    spots.Rescale(300, 300);
    moved->SetX(33);
    spots.Rescale(100, 100);
    EXPECT_EQ(moved->X(), 11) << "33 / 3, not the 10 it started at";
    EXPECT_EQ(kept->X(), 50);
    spots.Rescale(300, 300);
    EXPECT_EQ(moved->X(), 33);

    // A base set by hand is a new start too: the geometry is taken as it stands.
    spots.SetBaseWidth(150);
    spots.SetBaseHeight(150);
    spots.Rescale(300, 300);
    EXPECT_EQ(kept->X(), 300);
    // So is a new height alone.
    spots.SetBaseHeight(600);
    spots.Rescale(300, 300);
    EXPECT_EQ(kept->X(), 300);
    EXPECT_EQ(kept->Y(), 150);
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
