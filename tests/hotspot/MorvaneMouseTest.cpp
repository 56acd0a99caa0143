// Pointer interaction: hover tracking, event order, presses of all buttons, double clicks,
// leaving, hints, the cursor, and handlers that change the control under our feet.
#include "MorvaneFixture.h"

#include <QPointer>

using namespace vandora;
using namespace vandora::test;

using Events = std::vector<std::string>;

TEST_F(MorvaneFixture, MovingBetweenHotspotsExitsThenEnters)
{
    control.SetHotSpotCursor(crHandPoint);
    Move(10, 10);
    EXPECT_EQ(control.Cursor(), crHandPoint);
    Move(43, 8);
    EXPECT_EQ(events, (Events{"enter rect", "exit rect", "enter tri"}));
    EXPECT_TRUE(ShowsPicture(10, 10));
    EXPECT_TRUE(Shows(43, 8, clYellow));
    Move(43, 9); // same hotspot: nothing
    EXPECT_EQ(events.size(), 3u);
    Move(2, 38);
    EXPECT_EQ(control.Cursor(), crDefault);
    EXPECT_EQ(events.back(), "exit tri");
    Move(-1, 5);
    Move(61, 5);
    EXPECT_EQ(control.HoverIndex(), -1);
}

TEST_F(MorvaneFixture, TheHotspotEventsSeeTheOldHoverIndex)
{
    std::vector<int> seen;
    control.OnHotSpotExit = THotSpotEvent([&](TObject*, THotSpot*) { seen.push_back(control.HoverIndex()); });
    control.OnHotSpotEnter = THotSpotEvent([&](TObject*, THotSpot*) { seen.push_back(control.HoverIndex()); });
    Move(10, 10);
    Move(43, 8);
    EXPECT_EQ(seen, (std::vector<int>{-1, 0, 0}));
    EXPECT_EQ(control.HoverIndex(), 1);
}

TEST_F(MorvaneFixture, TheTopmostOfOverlappingHotspotsWins)
{
    // (48, 12) lies in the triangle (1) and in the rectangle over it (3).
    ASSERT_NE(Spot(1)->Shape().PtInShape(48, 12), 0);
    EXPECT_EQ(control.HotSpotAt(48, 12), 3);
    Click(48, 12);
    EXPECT_EQ(events.back(), "click over");
    EXPECT_TRUE(Spot(3)->Selected());
    EXPECT_FALSE(Spot(1)->Selected());
}

TEST_F(MorvaneFixture, AClickTogglesTheSelectionAndRaisesClickOverTheHotspot)
{
    Click(10, 10);
    EXPECT_EQ(events, (Events{"enter rect", "click rect"}));
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_EQ(control.ClickIndex(), -1);
    Click(10, 10);
    EXPECT_FALSE(Spot(0)->Selected());
    // The plain events come first: OnClick before the hotspot click.
    Events order;
    control.OnClick = TNotifyEvent([&](TObject*) { order.push_back("OnClick"); });
    control.OnMouseUp = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int, int) { order.push_back("OnMouseUp"); });
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) { order.push_back("OnHotSpotClick"); });
    Click(10, 10);
    EXPECT_EQ(order, (Events{"OnClick", "OnMouseUp", "OnHotSpotClick"}));
}

TEST_F(MorvaneFixture, ReleasingElsewhereRaisesExitAndNoClick)
{
    Move(10, 10);
    Press(10, 10);
    Drag(43, 8); // moves while pressed change the hover silently
    EXPECT_EQ(control.HoverIndex(), 1);
    EXPECT_EQ(events, (Events{"enter rect"}));
    Release(43, 8);
    EXPECT_EQ(events, (Events{"enter rect", "exit rect"}));
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_EQ(control.HoverIndex(), -1);
    Move(43, 9);
    EXPECT_EQ(events.back(), "enter tri");
}

// A modal box opened by a press or double-click handler takes the release: the press must
// not stay pending (no hover events, the pressed look kept) until the next press.
TEST_F(MorvaneFixture, APressWhoseReleaseWasLostEndsWithoutAClickWhenThePointerMovesOn)
{
    Move(10, 10);
    Press(10, 10);
    Drag(12, 12); // still held: still pending
    EXPECT_EQ(control.ClickIndex(), 0);
    Move(12, 13); // the button is up, no release came
    EXPECT_EQ(control.ClickIndex(), -1);
    EXPECT_EQ(events, (Events{"enter rect", "exit rect", "enter rect"}));
    EXPECT_TRUE(Spot(0)->Selected()) << "as for a release away from the hotspot";
    EXPECT_FALSE(Shows(12, 13, clGray)) << "the click look is gone";
    Move(43, 8);
    EXPECT_EQ(events.back(), "enter tri");

    // The box appeared under the pointer: the control was left while the press was pending,
    // and that leave raised the exit already.
    events.clear();
    DoubleClick(43, 8);
    Leave();
    Enter(43, 9);
    Move(43, 9);
    EXPECT_EQ(events, (Events{"dbl tri", "exit tri", "enter tri"}));
    EXPECT_EQ(control.ClickIndex(), -1);

    // A second left press with no release between them ends the first one first.
    events.clear();
    Press(43, 9);
    Press(10, 10);
    Release(10, 10);
    EXPECT_EQ(events, (Events{"exit tri", "enter rect", "click rect"}));
    EXPECT_EQ(control.ClickIndex(), -1);
}

TEST_F(MorvaneFixture, RightAndMiddleButtonsNeitherClickNorSelect)
{
    Move(10, 10);
    Press(10, 10, Qt::RightButton);
    Release(10, 10, Qt::RightButton);
    EXPECT_EQ(events, (Events{"enter rect", "right rect"}));
    EXPECT_FALSE(Spot(0)->Selected());
    Leave();
    events.clear();
    Press(43, 8, Qt::MiddleButton); // only the hover
    Release(43, 8, Qt::MiddleButton);
    EXPECT_EQ(events, (Events{"enter tri"}));
    EXPECT_EQ(control.HoverIndex(), 1);
    EXPECT_FALSE(Spot(1)->Selected());
    events.clear();
    Press(2, 38);
    Release(2, 38);
    EXPECT_EQ(events, (Events{"exit tri"})) << "a press on no hotspot changes only the hover";
}

TEST_F(MorvaneFixture, ADoubleClickRaisesClickDoubleClickClickAndTogglesOnce)
{
    Click(10, 10);
    DoubleClick(10, 10);
    Release(10, 10);
    EXPECT_EQ(events, (Events{"enter rect", "click rect", "dbl rect", "click rect"}));
    EXPECT_TRUE(Spot(0)->Selected());
}

// A double click may come with no move before it (the pointer was already there when the
// window appeared): the control looks up where the pointer is.
TEST_F(MorvaneFixture, ADoubleClickWithNoHoverFindsTheHotspotUnderThePointer)
{
    DoubleClick(43, 8);
    EXPECT_EQ(control.HoverIndex(), 1);
    EXPECT_EQ(control.ClickIndex(), 1);
    EXPECT_TRUE(Shows(43, 8, clGray)) << "the click look";
    Release(43, 8);
    EXPECT_EQ(events, (Events{"enter tri", "dbl tri", "click tri"}));
    EXPECT_FALSE(Spot(1)->Selected()) << "a double click toggles nothing itself";

    Leave();
    events.clear();
    DoubleClick(2, 38); // on no hotspot
    Release(2, 38);
    DoubleClick(70, 10); // outside the control
    Release(70, 10);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(control.ClickIndex(), -1);
    Press(70, 10);
    Release(70, 10);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(control.HoverIndex(), -1);
}

// The event loop reports a handler's exception and goes on: the control must go on too.
TEST_F(MorvaneFixture, AHandlerThatThrowsLeavesTheControlWorking)
{
    deliverDirectly = true;
    const auto failingOnce = [this](const char* what, THotSpotEvent& event) {
        event = THotSpotEvent([this, what, &event](TObject*, THotSpot* h) {
            events.push_back(std::string(what) + " " + h->Name() + " (fails)");
            LogEvents(); // the next one succeeds
            throw std::runtime_error("handler failed");
        });
    };
    // A click: the press ends, so the hover, its events and the keys' clicks go on.
    failingOnce("click", control.OnHotSpotClick);
    Move(10, 10);
    EXPECT_THROW({ Press(10, 10); Release(10, 10); }, std::runtime_error);
    EXPECT_EQ(control.ClickIndex(), -1);
    Move(43, 8);
    EXPECT_EQ(events, (Events{"enter rect", "click rect (fails)", "exit rect", "enter tri"}));
    EXPECT_TRUE(Shows(43, 8, clYellow));

    // An exit: the old look is gone and nothing is hovered; the next move enters afresh.
    events.clear();
    failingOnce("exit", control.OnHotSpotExit);
    EXPECT_THROW(Move(10, 10), std::runtime_error);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(ShowsPicture(43, 8));
    Move(11, 10);
    EXPECT_EQ(events, (Events{"exit tri (fails)", "enter rect"}));

    // An enter: the hotspot entered is hovered, so leaving it exits it.
    events.clear();
    failingOnce("enter", control.OnHotSpotEnter);
    EXPECT_THROW(Move(43, 8), std::runtime_error);
    EXPECT_EQ(control.HoverIndex(), 1);
    Move(2, 38);
    EXPECT_EQ(events, (Events{"exit rect", "enter tri (fails)", "exit tri"}));
    EXPECT_TRUE(ShowsPicture(43, 8));

    // A double click: the next real press is a press, not the double click's second half.
    events.clear();
    failingOnce("dbl", control.OnHotSpotDblClick);
    // After a failed double click and its release, a click on tri is a whole click.
    const auto nextClickClicks = [this] {
        Release(10, 10);
        const bool selected = Spot(1)->Selected();
        Click(43, 8);
        EXPECT_NE(Spot(1)->Selected(), selected);
        EXPECT_EQ(events.back(), "click tri");
    };
    EXPECT_THROW(DoubleClick(10, 10), std::runtime_error);
    nextClickClicks();

    // OnMouseDown failing on a double click's second press: the next press is a press.
    events.clear();
    bool mouseDownFails = true;
    control.OnMouseDown = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int, int) {
        if (std::exchange(mouseDownFails, false))
            throw std::runtime_error("handler failed");
    });
    EXPECT_THROW(DoubleClick(10, 10), std::runtime_error);
    nextClickClicks();

    // A held-down hotspot left with a failing exit gets its own look back.
    Spot(0)->SetDown(true);
    Flush();
    ASSERT_TRUE(Shows(10, 10, clGray));
    Move(10, 10);
    ASSERT_FALSE(Shows(10, 10, clGray));
    failingOnce("exit", control.OnHotSpotExit);
    EXPECT_THROW(Move(2, 2), std::runtime_error);
    Flush();
    EXPECT_TRUE(Shows(10, 10, clGray));
    Spot(0)->SetDown(false);

    // A handler that paints, then fails: the looks of the state it failed in follow.
    const auto paintsThenFails = [this](THotSpotEvent& event) {
        event = THotSpotEvent([this, &event](TObject*, THotSpot*) {
            event = THotSpotEvent();
            control.Repaint();
            throw std::runtime_error("handler failed");
        });
    };
    Move(10, 10);
    paintsThenFails(control.OnHotSpotExit);
    EXPECT_THROW(Move(2, 2), std::runtime_error);
    Flush();
    EXPECT_TRUE(ShowsPicture(10, 10));
    Click(43, 8);
    Press(43, 8); // deselects tri: the press shows the click look
    paintsThenFails(control.OnHotSpotExit);
    EXPECT_THROW(Release(2, 2), std::runtime_error);
    Flush();
    EXPECT_TRUE(ShowsPicture(43, 8));
    LogEvents();

    // Leaving while pressed: nothing stays hovered, and the press ends once.
    failingOnce("exit", control.OnHotSpotExit);
    Move(43, 8);
    Press(43, 8);
    events.clear();
    EXPECT_THROW(Leave(), std::runtime_error);
    EXPECT_EQ(control.HoverIndex(), -1);
    Release(70, 10);
    EXPECT_EQ(control.ClickIndex(), -1);
    EXPECT_EQ(events, (Events{"exit tri (fails)"}));
}

// A handler may repaint the control (a property change does) while the hover or the press
// is still the old one: the looks of the state after the change follow.
TEST_F(MorvaneFixture, APaintInsideAHandlerLeavesNoStaleLook)
{
    const THotSpotEvent repaint([this](TObject*, THotSpot*) { control.Repaint(); });
    control.OnHotSpotEnter = repaint;
    Move(10, 10);
    Flush();
    EXPECT_TRUE(Shows(10, 10, clYellow)) << "entered, but painted as not yet hovered";
    control.OnHotSpotEnter = THotSpotEvent();

    control.OnHotSpotExit = repaint;
    Move(2, 2);
    Flush();
    EXPECT_TRUE(ShowsPicture(10, 10)) << "left, but painted as still hovered";

    control.OnHotSpotClick = repaint;
    Click(43, 8); // selects tri
    Click(43, 8); // and deselects it: hovered, not pressed
    Flush();
    EXPECT_TRUE(Shows(43, 8, clYellow)) << "released, but painted as still pressed";
    Click(43, 8);  // selects tri again
    Press(43, 8);  // deselects it
    Release(2, 2); // released elsewhere: the exit handler repaints
    Flush();
    EXPECT_TRUE(ShowsPicture(43, 8));
}

TEST_F(MorvaneFixture, AShowClickHotspotKeepsItsClickLookAndShowsNoHover)
{
    Spot(1)->SetShowClick(true);
    Flush();
    EXPECT_TRUE(Shows(43, 8, clGray));
    Move(43, 8);
    EXPECT_TRUE(Shows(43, 8, clGray));
    Move(2, 38);
    EXPECT_TRUE(Shows(43, 8, clGray)) << "leaving it keeps the click look";
    Spot(1)->SetSelectedColor(clGray);
    Click(43, 8); // selects it
    Move(2, 38);
    EXPECT_TRUE(Shows(43, 8, clGray));
    Click(43, 8); // deselects it: erased, and its release draws no hover look
    EXPECT_TRUE(ShowsPicture(43, 8));
}

// On a high-DPI screen a pointer resting on a pixel's last device pixels is half a pixel
// on, and the window system's whole-pixel position rounds it into the next pixel: the
// double click must find what the pointer's own events found.
TEST_F(MorvaneFixture, AHalfPixelPointerIsFoundWhereItsEventsFoundIt)
{
    const QPointF beside(4.5, 10); // on pixel 4, just left of the rectangle from x = 5
    Send(QEvent::MouseMove, beside.x(), beside.y());
    Send(QEvent::MouseButtonPress, beside.x(), beside.y(), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, beside.x(), beside.y(), Qt::LeftButton);
    const QPoint rounded = control.mapToGlobal(beside).toPoint();
    input.cursor = TPoint{rounded.x(), rounded.y()};
    ASSERT_EQ(control.mapFromGlobal(rounded).x(), 5) << "the whole-pixel position is on the rectangle";
    Send(QEvent::MouseButtonDblClick, beside.x(), beside.y(), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(events.empty()) << events.front();
    EXPECT_EQ(control.HoverIndex(), -1);
}

// The press of a double click toggles nothing, so its release must take the click look
// away itself: over a selected hotspot the selected look returns, else the picture.
TEST_F(MorvaneFixture, ADoubleClicksReleaseLeavesWhatARepaintWouldShow)
{
    Click(43, 8);
    ASSERT_TRUE(Spot(1)->Selected());
    DoubleClick(43, 8);
    EXPECT_TRUE(Shows(43, 8, clGray)) << "held down";
    Release(43, 8);
    EXPECT_TRUE(Shows(43, 8, Spot(1)->SelectedColor()));
    Click(43, 8);
    ASSERT_FALSE(Spot(1)->Selected());
    DoubleClick(43, 8);
    Release(2, 38);
    EXPECT_TRUE(ShowsPicture(43, 8));
    // A Down hotspot shows its click look, selected or not: the release leaves it.
    Spot(1)->SetDown(true);
    Flush();
    Click(43, 8);
    ASSERT_TRUE(Spot(1)->Selected());
    DoubleClick(43, 8);
    Release(43, 8);
    EXPECT_TRUE(Shows(43, 8, clGray));
    control.Repaint();
    EXPECT_TRUE(Shows(43, 8, clGray));
}

TEST_F(MorvaneFixture, LeavingRaisesExitOnceWithOrWithoutAPress)
{
    Move(10, 10);
    Leave();
    EXPECT_EQ(events, (Events{"enter rect", "exit rect"}));
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(ShowsPicture(10, 10));
    events.clear();
    Move(43, 8);
    Press(43, 8);
    Leave();
    EXPECT_EQ(events, (Events{"enter tri", "exit tri"}));
    Enter(5, 5); // no effect of its own
    EXPECT_EQ(events.size(), 2u);
}

// The pressed hotspot is exited even when the pointer left the control from another one
// (a modal box opened while the button is held after a drag), released or lost.
TEST_F(MorvaneFixture, APressEndedElsewhereExitsThePressedHotspotAfterLeavingFromAnother)
{
    Move(10, 10);
    Press(10, 10);
    Drag(43, 8);
    Leave();
    Enter(2, 38);
    Release(2, 38);
    EXPECT_EQ(events, (Events{"enter rect", "exit tri", "exit rect"}));
    EXPECT_EQ(control.ClickIndex(), -1);

    events.clear();
    Move(10, 10);
    Press(10, 10);
    Drag(43, 8);
    Leave();
    Enter(2, 38);
    Move(2, 38); // the release went to the box
    EXPECT_EQ(events, (Events{"enter rect", "exit tri", "exit rect"}));
    EXPECT_EQ(control.ClickIndex(), -1);
}

TEST_F(MorvaneFixture, WhileAClickIsHandledHoverChangesDrawAndRaiseNothing)
{
    Events during;
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) {
        // As when a modal message box is open: the pointer wanders and leaves.
        const std::size_t before = events.size();
        Move(43, 8);
        Move(2, 38);
        Move(16, 30);
        EXPECT_TRUE(ShowsPicture(43, 8)) << "no hover look drawn";
        EXPECT_TRUE(ShowsPicture(16, 30));
        Leave();
        during.assign(events.begin() + long(before), events.end());
    });
    control.OnHotSpotEnter = THotSpotEvent([&](TObject*, THotSpot* h) { events.push_back("enter " + h->Name()); });
    control.OnHotSpotExit = THotSpotEvent([&](TObject*, THotSpot* h) { events.push_back("exit " + h->Name()); });
    Click(10, 10);
    EXPECT_EQ(during, (Events{"exit ell"})) << "only the leave's own exit";
    EXPECT_EQ(control.ClickIndex(), -1);
    EXPECT_EQ(control.HoverIndex(), -1);
}

// A click that deselects its hotspot shows the hover look on it; a modal box opened by the
// click handler takes the pointer away, and that look must go with the hover.
TEST_F(MorvaneFixture, AHoverLookLeftDuringTheClickHandlerIsErasedWhenItReturns)
{
    Click(10, 10);
    ASSERT_TRUE(Spot(0)->Selected());
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) {
        EXPECT_TRUE(Shows(10, 10, clYellow)) << "deselected under the pointer: the hover look";
        Leave(); // as the box opening sends it
    });
    Press(10, 10);
    Release(10, 10);
    ASSERT_FALSE(Spot(0)->Selected());
    EXPECT_EQ(control.HoverIndex(), -1);
    Flush();
    EXPECT_TRUE(ShowsPicture(10, 10)) << "no hover look without the hover";

    // Moved onto another hotspot meanwhile: the first one's look goes and the window shows
    // the hover where it now is.
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) {
        Move(16, 30);
    });
    Move(10, 10);
    Click(10, 10); // selects
    Click(10, 10); // deselects, under the pointer
    Flush();
    EXPECT_TRUE(ShowsPicture(10, 10));
    EXPECT_EQ(control.HoverIndex(), 2);
    EXPECT_TRUE(Shows(16, 30, clYellow));
}

TEST_F(MorvaneFixture, HandlersMayRemoveHotspotsOrThePictureOrTheControl)
{
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) { control.HotSpots().Clear(); });
    Click(10, 10);
    EXPECT_EQ(control.HotSpots().Count(), 0);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_EQ(control.ClickIndex(), -1);
    Move(10, 10);
    Leave();

    SetUp();
    control.OnHotSpotEnter = THotSpotEvent([&](TObject*, THotSpot* h) {
        if (h->Name() == "tri")
            delete h;
    });
    Move(43, 8);
    EXPECT_EQ(control.HoverIndex(), -1);
    Move(10, 10);
    EXPECT_EQ(control.HoverIndex(), 0);

    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) { control.SetPicture(nullptr); });
    Click(10, 10);
    EXPECT_FALSE(control.Picture().HasGraphic());
    Move(30, 30);
    control.Repaint();

    auto* doomed = new TMorvane;
    QPointer<TMorvane> watch(doomed);
    THotSpot* h = doomed->HotSpots().AddHotSpot();
    h->SetCorners(0, 0, 50, 50);
    doomed->OnHotSpotEnter = THotSpotEvent([doomed](TObject*, THotSpot*) { delete doomed; });
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(doomed, &move);
    EXPECT_TRUE(watch.isNull());

    // The same from the click, the release still on its way through the control.
    doomed = new TMorvane;
    watch = doomed;
    doomed->HotSpots().AddHotSpot()->SetCorners(0, 0, 50, 50);
    doomed->OnHotSpotClick = THotSpotEvent([](TObject* sender, THotSpot*) { delete static_cast<TMorvane*>(sender); });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(doomed, &press);
    QCoreApplication::sendEvent(doomed, &release);
    EXPECT_TRUE(watch.isNull());
}

TEST_F(MorvaneFixture, EverySignalFollowsItsHandlerForTheSameHotspot)
{
    const auto log = [this](const char* what) {
        return [this, what](THotSpot* h) { events.push_back(std::string(what) + " " + h->Name()); };
    };
    QObject::connect(&control, &TMorvane::hotSpotEntered, log("entered"));
    QObject::connect(&control, &TMorvane::hotSpotExited, log("exited"));
    QObject::connect(&control, &TMorvane::hotSpotClicked, log("clicked"));
    QObject::connect(&control, &TMorvane::hotSpotRightClicked, log("rightClicked"));
    QObject::connect(&control, &TMorvane::hotSpotDoubleClicked, log("doubleClicked"));
    Click(10, 10);
    Move(43, 8);
    Press(43, 8, Qt::RightButton);
    Release(43, 8, Qt::RightButton);
    DoubleClick(43, 8);
    Release(43, 8);
    Leave();
    EXPECT_EQ(events, (std::vector<std::string>{"enter rect", "entered rect", "click rect", "clicked rect", "exit rect",
                                                "exited rect", "enter tri", "entered tri", "right tri", "rightClicked tri",
                                                "dbl tri", "doubleClicked tri", "click tri", "clicked tri", "exit tri",
                                                "exited tri"}));

    // Without handlers the signals come all the same.
    events.clear();
    control.OnHotSpotEnter = {};
    control.OnHotSpotClick = {};
    Click(10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"entered rect", "clicked rect"}));
}

TEST_F(MorvaneFixture, ASignalNamesTheHotspotItsHandlerSawOrNoneAndSlotsMayDestroyTheControl)
{
    std::vector<THotSpot*> clicked;
    QObject::connect(&control, &TMorvane::hotSpotClicked, [&](THotSpot* h) { clicked.push_back(h); });
    // The handler deletes an earlier hotspot: the signal still names the clicked one.
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) { delete Spot(0); });
    Click(43, 8);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], Spot(0));
    EXPECT_EQ(clicked[0]->Name(), "tri");
    // The handler deletes the clicked hotspot itself: no signal names another one.
    clicked.clear();
    control.OnHotSpotClick = THotSpotEvent([](TObject*, THotSpot* h) { delete h; });
    Click(43, 8);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(control.HotSpots().Count(), 2);

    auto* doomed = new TMorvane;
    QPointer<TMorvane> watch(doomed);
    doomed->HotSpots().AddHotSpot()->SetCorners(0, 0, 50, 50);
    QObject::connect(doomed, &TMorvane::hotSpotEntered, [doomed](THotSpot*) { delete doomed; });
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(doomed, &move);
    EXPECT_TRUE(watch.isNull());
}

TEST_F(MorvaneFixture, HintsComeFromTheHoveredHotspot)
{
    Spot(0)->SetHint("a rectangle");
    control.SetHint("the map");
    THintInfo info;
    control.HintRequest(info);
    EXPECT_EQ(info.HintStr, "the map");
    Move(10, 10);
    control.HintRequest(info);
    EXPECT_EQ(info.HintStr, "a rectangle");
}

TEST_F(MorvaneFixture, TheNormalCursorIsTakenWhenLoadingEnds)
{
    control.SetCursor(crCross);
    control.SetHotSpotCursor(crHandPoint);
    control.Loaded();
    EXPECT_EQ(control.NormalCursor(), crCross);
    Move(10, 10);
    EXPECT_EQ(control.Cursor(), crHandPoint);
    Move(2, 38);
    EXPECT_EQ(control.Cursor(), crCross);
}

TEST_F(MorvaneFixture, SelectionFollowsTheSelectionModeAndTheLiveCtrlKey)
{
    control.SetSelectionMode(smMultiSelectCtrl);
    Click(10, 10);
    input.ctrl = true;
    Click(43, 8);
    EXPECT_TRUE(Spot(0)->Selected() && Spot(1)->Selected());
    input.ctrl = false;
    Click(16, 30);
    EXPECT_TRUE(Spot(2)->Selected());
    EXPECT_FALSE(Spot(0)->Selected() || Spot(1)->Selected());
}
