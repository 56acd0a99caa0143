// The keyboard: a control given a focus policy lights and clicks hotspots with the keys.
#include "tests/hotspot/MorvaneFixture.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

namespace vandora::test {

namespace {

class MorvaneKeys : public MorvaneFixture {
protected:
    void SetUp() override
    {
        MorvaneFixture::SetUp();
        control.setFocusPolicy(Qt::StrongFocus);
        Spot(0)->SetHoverColor(clYellow);
        Spot(0)->RebuildHoverBitmap();
    }
    // Whether the control took the key.
    bool Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        Deliver(event);
        return event.isAccepted();
    }
    void Focus(QEvent::Type type, Qt::FocusReason reason)
    {
        QFocusEvent event(type, reason);
        Deliver(event);
    }
};

} // namespace

TEST_F(MorvaneKeys, ArrowsLightTheNearestHotspotThatWayAndSpaceOrEnterClicksTheLitOne)
{
    // rect at the top left, tri right of it, over right of tri, ell below rect.
    EXPECT_TRUE(Key(Qt::Key_Right)); // nothing lit: the first
    EXPECT_EQ(control.HoverIndex(), 0);
    EXPECT_TRUE(Shows(10, 10, clYellow));
    Key(Qt::Key_Right);
    EXPECT_EQ(control.HoverIndex(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(control.HoverIndex(), 3);
    Key(Qt::Key_Right); // nothing further right: the light stays
    EXPECT_EQ(control.HoverIndex(), 3);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down); // ell is lower down, but much further to the left: not that way
    EXPECT_EQ(control.HoverIndex(), 1);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down);
    EXPECT_EQ(control.HoverIndex(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(control.HoverIndex(), 0);
    EXPECT_TRUE(ShowsPicture(20, 30)); // ell's light went out
    EXPECT_EQ(events, (std::vector<std::string>{"enter rect", "exit rect", "enter tri", "exit tri", "enter over",
                                                "exit over", "enter tri", "exit tri", "enter rect", "exit rect",
                                                "enter ell", "exit ell", "enter rect"}));
    // Index order: Page Down and Page Up, round from the first to the last; Home and End.
    Key(Qt::Key_PageDown);
    EXPECT_EQ(control.HoverIndex(), 1);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(control.HoverIndex(), 3);
    Key(Qt::Key_Home);
    EXPECT_EQ(control.HoverIndex(), 0);
    Key(Qt::Key_End);
    EXPECT_EQ(control.HoverIndex(), 3);
    Key(Qt::Key_Home);
    events.clear();

    EXPECT_TRUE(Key(Qt::Key_Space));
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_TRUE(Shows(10, 10, Spot(0)->SelectedColor()));
    Key(Qt::Key_Space, Qt::NoModifier, true); // held down: one click
    EXPECT_TRUE(Spot(0)->Selected());
    Key(Qt::Key_Return);
    EXPECT_FALSE(Spot(0)->Selected());
    EXPECT_TRUE(Key(Qt::Key_Escape));
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(ShowsPicture(10, 10));
    EXPECT_EQ(events, (std::vector<std::string>{"click rect", "click rect", "exit rect"}));

    // With nothing lit, and with Ctrl or Alt, the keys are the window's.
    events.clear();
    EXPECT_FALSE(Key(Qt::Key_Space));
    EXPECT_FALSE(Key(Qt::Key_Escape));
    EXPECT_FALSE(Key(Qt::Key_Right, Qt::ControlModifier));
    EXPECT_FALSE(Key(Qt::Key_Home, Qt::AltModifier));
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(events.empty());

    // With nothing lit, Page Up and the arrows back start at the last.
    Key(Qt::Key_PageUp);
    EXPECT_EQ(control.HoverIndex(), 3);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Left);
    EXPECT_EQ(control.HoverIndex(), 3);

    // A pointer press still held is the pointer's: the keys click nothing meanwhile.
    Move(10, 10);
    Press(10, 10);
    ASSERT_TRUE(Spot(0)->Selected());
    events.clear();
    Key(Qt::Key_Space);
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_TRUE(events.empty());
    Release(10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"click rect"}));
}

TEST(MorvaneArrows, StraightOnWinsOverNearerButAsideAndFarAsideIsNotThatWay)
{
    TMorvane control;
    const auto add = [&](int x, int y) { control.HotSpots().AddHotSpot()->SetCorners(x - 1, y - 1, x + 1, y + 1); };
    add(10, 10); // from here
    add(60, 10); // straight on, far
    add(20, 27); // nearer, but more aside than ahead
    add(15, 40); // far more aside than ahead
    add(28, 10); // straight on, nearer than the first
    add(20, 16); // nearer still, but aside: counts twice
    EXPECT_EQ(control.HotSpotToward(0, 1, 0), 4);
    delete control.HotSpots().Item(5);
    delete control.HotSpots().Item(4);
    EXPECT_EQ(control.HotSpotToward(0, 1, 0), 1);
    delete control.HotSpots().Item(1);
    EXPECT_EQ(control.HotSpotToward(0, 1, 0), 1); // the one at 20,27, now index 1
    delete control.HotSpots().Item(1);
    EXPECT_EQ(control.HotSpotToward(0, 1, 0), -1);
    EXPECT_EQ(control.HotSpotToward(0, 0, 1), 1);
    EXPECT_EQ(control.HotSpotToward(0, -1, 0), -1);
    EXPECT_EQ(control.HotSpotToward(5, 1, 0), -1);
}

TEST_F(MorvaneKeys, TabLightsTheFirstOrLastAndLeavingTakesOnlyTheKeysLight)
{
    Focus(QEvent::FocusIn, Qt::TabFocusReason);
    EXPECT_EQ(control.HoverIndex(), 0);
    Focus(QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(control.HoverIndex(), -1);
    Focus(QEvent::FocusIn, Qt::BacktabFocusReason);
    EXPECT_EQ(control.HoverIndex(), 3);
    Focus(QEvent::FocusOut, Qt::BacktabFocusReason);
    EXPECT_EQ(events, (std::vector<std::string>{"enter rect", "exit rect", "enter over", "exit over"}));

    // Focus from a click lights nothing of its own; the pointer's light stays.
    events.clear();
    Focus(QEvent::FocusIn, Qt::MouseFocusReason);
    EXPECT_EQ(control.HoverIndex(), -1);
    Move(43, 8);
    Focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(control.HoverIndex(), 1);
    // Nor does Tab take a light the pointer holds.
    Focus(QEvent::FocusIn, Qt::TabFocusReason);
    EXPECT_EQ(control.HoverIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"enter tri"}));

    // The keys moved the light away from the hotspot under the pointer: it goes back there.
    FakeInput input;
    input.cursor = TPoint{control.mapToGlobal(QPoint(10, 10)).x(), control.mapToGlobal(QPoint(10, 10)).y()};
    control.setAttribute(Qt::WA_UnderMouse);
    Focus(QEvent::FocusIn, Qt::MouseFocusReason);
    Key(Qt::Key_End);
    events.clear();
    Focus(QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(control.HoverIndex(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"exit over", "enter rect"}));

    // The window losing activation (a message box opened), or a popup menu taking the
    // focus, keeps the keys' light for when the focus comes back.
    Focus(QEvent::FocusIn, Qt::TabFocusReason);
    Key(Qt::Key_End);
    events.clear();
    Focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    Focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    Focus(QEvent::FocusOut, Qt::PopupFocusReason);
    Focus(QEvent::FocusIn, Qt::PopupFocusReason);
    EXPECT_EQ(control.HoverIndex(), 3);
    EXPECT_TRUE(events.empty());
    Key(Qt::Key_Left);
    EXPECT_EQ(control.HoverIndex(), 1);

    // A box opened by the click of a lit hotspot also sends the control a leave when the
    // pointer rests on it: the light is the keys', not the pointer's, and stays.
    Move(10, 10);
    Key(Qt::Key_End);
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot* h) {
        events.push_back("click " + h->Name());
        Focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        Leave();
    });
    events.clear();
    Key(Qt::Key_Return);
    Focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(control.HoverIndex(), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"click over"}));
    Key(Qt::Key_Left);
    EXPECT_EQ(control.HoverIndex(), 1);
}

// An enter handler that throws has still lit the hotspot, and the light goes with the focus.
TEST_F(MorvaneKeys, TheKeysLightGoesWithTheFocusEvenWhenItsEnterHandlerFailed)
{
    deliverDirectly = true;
    bool fails = true;
    control.OnHotSpotEnter = THotSpotEvent([&](TObject*, THotSpot*) {
        if (std::exchange(fails, false))
            throw std::runtime_error("handler failed");
    });
    EXPECT_THROW(Focus(QEvent::FocusIn, Qt::TabFocusReason), std::runtime_error);
    EXPECT_EQ(control.HoverIndex(), 0);
    Focus(QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(ShowsPicture(10, 10));
}

TEST_F(MorvaneKeys, APressAfterTheKeysActsWhereThePointerIsNotOnTheKeysLight)
{
    Move(10, 10);
    Key(Qt::Key_Right);
    ASSERT_EQ(control.HoverIndex(), 1);
    events.clear();
    Press(10, 10); // the pointer has not moved: it is still over rect
    Release(10, 10);
    EXPECT_TRUE(Spot(0)->Selected());
    EXPECT_FALSE(Spot(1)->Selected());
    EXPECT_EQ(events, (std::vector<std::string>{"exit tri", "enter rect", "click rect"}));

    // So does a double click's second press when the keys moved the light after the first.
    Key(Qt::Key_Right);
    events.clear();
    DoubleClick(10, 10);
    Release(10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"exit tri", "enter rect", "dbl rect", "click rect"}));

    // Over bare picture, a press lights nothing and selects nothing.
    Move(2, 40);
    Key(Qt::Key_Home);
    events.clear();
    Press(2, 40);
    Release(2, 40);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(Spot(0)->Selected()); // as the first click left it
    EXPECT_EQ(events, (std::vector<std::string>{"exit rect"}));
}

// Once the pointer moves, the light is the pointer's: leaving the control puts it out.
TEST_F(MorvaneKeys, ThePointerTakesTheLightOverWhenItMoves)
{
    Focus(QEvent::FocusIn, Qt::TabFocusReason);
    Move(43, 8);
    EXPECT_EQ(control.HoverIndex(), 1);
    Leave();
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(ShowsPicture(43, 8));
    EXPECT_EQ(events, (std::vector<std::string>{"enter rect", "exit rect", "enter tri", "exit tri"}));
}

TEST_F(MorvaneKeys, AClickHandlerMayDestroyTheControlOrItsHotspots)
{
    control.OnHotSpotClick = THotSpotEvent([&](TObject*, THotSpot*) { control.HotSpots().Clear(); });
    Key(Qt::Key_Right);
    Key(Qt::Key_Enter);
    EXPECT_EQ(control.HotSpots().Count(), 0);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_EQ(control.ClickIndex(), -1);
    Key(Qt::Key_Right);
    EXPECT_EQ(control.HoverIndex(), -1);

    auto* doomed = new TMorvane;
    QPointer<TMorvane> watch(doomed);
    doomed->setFocusPolicy(Qt::StrongFocus);
    doomed->HotSpots().AddHotSpot()->SetCorners(0, 0, 50, 50);
    doomed->OnHotSpotClick = THotSpotEvent([doomed](TObject*, THotSpot*) { delete doomed; });
    for (const int key : {int(Qt::Key_Right), int(Qt::Key_Space)}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(doomed, &event);
    }
    EXPECT_TRUE(watch.isNull());
}

} // namespace vandora::test
