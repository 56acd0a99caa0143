// Assistive technology's view of the control: one named, placed, pressable child per
// hotspot, kept safe while handlers change or destroy what it stands for.
#include "tests/hotspot/MorvaneFixture.h"

#include <QAccessible>
#include <QTest>

#include <climits>

namespace vandora::test {

namespace {

using Events = std::vector<std::string>;

class MorvaneAccessible : public MorvaneFixture {
protected:
    QAccessibleInterface* Tree() { return QAccessible::queryAccessibleInterface(&control); }
    QPoint Global(int x, int y) const { return control.mapToGlobal(QPoint(x, y)); }
    static void AskToPress(QAccessibleInterface* child) { child->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }
    // The press as a client sees it through: asked, then carried out at the next turn.
    static void PressAction(QAccessibleInterface* child)
    {
        AskToPress(child);
        QCoreApplication::sendPostedEvents();
    }
};

} // namespace

TEST_F(MorvaneAccessible, EachHotspotIsAButtonNamedAndPlacedAsItIs)
{
    Spot(1)->SetHint("The triangle");
    QAccessibleInterface* tree = Tree();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->childCount(), 4);
    QAccessibleInterface* tri = tree->child(1);
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(tri, tree->child(1)) << "one interface per hotspot";
    EXPECT_EQ(tri->text(QAccessible::Name), "tri");
    EXPECT_EQ(tri->text(QAccessible::Description), "The triangle");
    EXPECT_EQ(tri->role(), QAccessible::Button);
    EXPECT_EQ(tri->parent(), tree);
    EXPECT_EQ(tree->indexOfChild(tri), 1);
    EXPECT_EQ(tri->rect(), QRect(Global(30, 4), QSize(26, 26)));
    EXPECT_EQ(tree->child(4), nullptr);
    EXPECT_EQ(tree->child(-1), nullptr);
    // Without a name, the hint names it.
    Spot(1)->SetName("");
    EXPECT_EQ(tri->text(QAccessible::Name), "The triangle");
    EXPECT_EQ(tri->text(QAccessible::Description), "");

    // Pointing goes by shape and order, as the pointer does: the topmost of overlapping ones.
    EXPECT_EQ(tree->childAt(Global(43, 8).x(), Global(43, 8).y()), tri);
    EXPECT_EQ(tree->childAt(Global(48, 12).x(), Global(48, 12).y()), tree->child(3));
    EXPECT_EQ(tree->childAt(Global(2, 38).x(), Global(2, 38).y()), nullptr);

    // A hotspot partly off the control is placed by the part on it; one wholly off is offscreen.
    Spot(0)->SetCorners(50, 30, 80, 60);
    EXPECT_EQ(tree->child(0)->rect(), QRect(Global(50, 30), QSize(10, 10)));
    EXPECT_EQ(tree->childAt(Global(55, 35).x(), Global(55, 35).y()), tree->child(0));
    EXPECT_EQ(tree->childAt(Global(70, 35).x(), Global(70, 35).y()), nullptr);
    Spot(0)->SetCorners(70, 50, 80, 60);
    EXPECT_TRUE(tree->child(0)->state().offscreen);
}

TEST_F(MorvaneAccessible, TheStateFollowsTheHoverThePressAndTheSelection)
{
    QAccessibleInterface* rect = Tree()->child(0);
    EXPECT_FALSE(rect->state().hotTracked);
    EXPECT_TRUE(rect->state().selectable);
    Move(10, 10);
    EXPECT_TRUE(rect->state().hotTracked);
    EXPECT_FALSE(rect->state().focused) << "lit by the pointer, but the control has no focus";
    EXPECT_EQ(Tree()->focusChild(), nullptr);
    Press(10, 10);
    EXPECT_TRUE(rect->state().pressed);
    EXPECT_TRUE(rect->state().selected);
    Release(10, 10);
    EXPECT_FALSE(rect->state().pressed);
    Spot(0)->SetSelected(false);
    EXPECT_FALSE(rect->state().selected);
    Spot(0)->SetDown(true);
    EXPECT_TRUE(rect->state().pressed);
    EXPECT_FALSE(rect->state().focusable) << "the control takes no focus by default";
    control.show();
    EXPECT_FALSE(rect->state().invisible);
    control.hide();
    EXPECT_TRUE(rect->state().invisible);
}

TEST_F(MorvaneAccessible, PressingAHotspotClicksItAsTheKeysDo)
{
    QAccessibleInterface* tri = Tree()->child(1);
    ASSERT_NE(tri->actionInterface(), nullptr);
    EXPECT_EQ(tri->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    PressAction(tri);
    EXPECT_EQ(events, (Events{"enter tri", "click tri"}));
    EXPECT_TRUE(Spot(1)->Selected());
    EXPECT_EQ(control.HoverIndex(), 1);
    tri->actionInterface()->doAction(QAccessibleActionInterface::toggleAction()); // not one of ours
    EXPECT_EQ(events.size(), 2u);
    // Nor does a disabled control take one, as it takes no pointer or key.
    control.setEnabled(false);
    EXPECT_TRUE(tri->state().disabled);
    PressAction(tri);
    EXPECT_EQ(events.size(), 2u);
    EXPECT_TRUE(Spot(1)->Selected());
}

TEST_F(MorvaneAccessible, AnInterfaceOutlivingItsHotspotOrControlStandsForNothing)
{
    QAccessibleInterface* over = Tree()->child(3);
    const QAccessible::Id overId = QAccessible::uniqueId(over);
    // The enter handler deletes every hotspot: the press has nothing left to click.
    control.OnHotSpotEnter = THotSpotEvent([&](TObject*, THotSpot*) { control.HotSpots().Clear(); });
    PressAction(over);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(over->isValid());
    EXPECT_TRUE(over->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(over->state().invalid);
    EXPECT_TRUE(over->rect().isNull());
    PressAction(over); // nothing, no crash
    EXPECT_EQ(Tree()->childCount(), 0);
    EXPECT_EQ(Tree()->indexOfChild(over), -1);

    // A control destroyed by the click it was asked for takes its children's interfaces along.
    auto* doomed = new TMorvane;
    doomed->HotSpots().AddHotSpot()->SetCorners(0, 0, 50, 50);
    doomed->OnHotSpotClick = THotSpotEvent([doomed](TObject*, THotSpot*) { delete doomed; });
    QAccessibleInterface* only = QAccessible::queryAccessibleInterface(doomed)->child(0);
    const QAccessible::Id onlyId = QAccessible::uniqueId(only);
    PressAction(only);
    EXPECT_EQ(QAccessible::accessibleInterface(onlyId), nullptr);
    EXPECT_EQ(QAccessible::accessibleInterface(overId), over) << "the living control's are kept";
}

// The caller has its answer before any handler runs: a click that opens a modal box must
// not keep a screen reader waiting on it. What changed meanwhile decides the click.
TEST_F(MorvaneAccessible, ThePressIsAnsweredAtOnceAndCarriedOutAtTheNextTurn)
{
    QAccessibleInterface* tri = Tree()->child(1);
    AskToPress(tri);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(Spot(1)->Selected());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(events, (Events{"enter tri", "click tri"}));

    // Disabled, or its hotspot deleted, in between: no click.
    events.clear();
    AskToPress(tri);
    control.setEnabled(false);
    QCoreApplication::sendPostedEvents();
    control.setEnabled(true);
    AskToPress(tri);
    control.HotSpots().Delete(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(Spot(1)->Selected()) << "the ellipse took the triangle's place";

    // Its control destroyed in between: the press goes with it.
    auto* doomed = new TMorvane;
    doomed->HotSpots().AddHotSpot()->SetCorners(0, 0, 50, 50);
    int clicks = 0;
    doomed->OnHotSpotClick = THotSpotEvent([&clicks](TObject*, THotSpot*) { ++clicks; });
    AskToPress(QAccessible::queryAccessibleInterface(doomed)->child(0));
    delete doomed;
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(clicks, 0);
}

// A client holding a hotspot's interface must never press another hotspot with it.
TEST_F(MorvaneAccessible, AnInterfaceFollowsItsHotspotAsEarlierOnesGo)
{
    QAccessibleInterface* tri = Tree()->child(1);
    QAccessibleInterface* over = Tree()->child(3);
    control.HotSpots().Delete(1);
    EXPECT_FALSE(tri->isValid());
    EXPECT_TRUE(tri->text(QAccessible::Name).isEmpty());
    PressAction(tri);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(Spot(1)->Selected()) << "the ellipse took the triangle's place";
    EXPECT_EQ(Tree()->indexOfChild(tri), -1);

    EXPECT_EQ(over->text(QAccessible::Name), "over");
    EXPECT_EQ(Tree()->indexOfChild(over), 2);
    EXPECT_EQ(Tree()->child(2), over);
    // Only this control's hotspots are its children.
    EXPECT_EQ(Tree()->indexOfChild(Tree()), -1);
    TMorvane other;
    other.HotSpots().AddHotSpot();
    other.HotSpots().AddHotSpot();
    EXPECT_EQ(Tree()->indexOfChild(QAccessible::queryAccessibleInterface(&other)->child(1)), -1);
    EXPECT_EQ(Tree()->child(1)->text(QAccessible::Name), "ell");
    PressAction(over);
    EXPECT_EQ(events, (Events{"enter over", "click over"}));
}

// A window placed far out puts a hotspot's screen box past the int range: it ends at the
// range's edge rather than wrapping round.
TEST_F(MorvaneAccessible, AHotspotsScreenBoxStopsAtTheEdgeOfTheRange)
{
    QWidget window;
    window.move(1073741000, 0);
    TMorvane far(&window);
    far.SetBounds(1 << 30, 0, 2000, 20);
    far.HotSpots().AddHotSpot()->SetCorners(1000, 0, 1010, 10);
    ASSERT_EQ(far.mapToGlobal(QPoint(0, 0)).x(), 2147482824);
    const QRect box = QAccessible::queryAccessibleInterface(&far)->child(0)->rect();
    EXPECT_EQ(box.left(), INT_MAX);
    EXPECT_EQ(box.right(), INT_MAX);
    EXPECT_EQ(box.top(), 0);
}

TEST_F(MorvaneAccessible, TheDescriptionNamesOnlyAHotspotStillHovered)
{
    Move(43, 8);
    Press(43, 8);
    Drag(50, 18); // onto "over", off the triangle
    Release(50, 18);
    EXPECT_EQ(control.HoverIndex(), -1);
    EXPECT_TRUE(control.accessibleDescription().isEmpty());

    Move(10, 10);
    EXPECT_EQ(control.accessibleDescription(), "rect");
    control.HotSpots().Delete(1); // another one: still hovered
    EXPECT_EQ(control.accessibleDescription(), "rect");
    control.HotSpots().Delete(0);
    EXPECT_TRUE(control.accessibleDescription().isEmpty());

    Move(8, 30);
    EXPECT_EQ(control.accessibleDescription(), "ell");
    Move(2, 2);
    Spot(0)->SetName(""); // called by its hint, as its own interface is
    Spot(0)->SetHint("The ellipse");
    Move(8, 30);
    EXPECT_EQ(control.accessibleDescription(), "The ellipse");
    control.HotSpots().Clear();
    EXPECT_TRUE(control.accessibleDescription().isEmpty());
}

TEST_F(MorvaneAccessible, TheHotspotTheKeysLitHasTheFocus)
{
    control.setFocusPolicy(Qt::StrongFocus);
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&control));
    control.setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(control.hasFocus());
    QTest::keyClick(&control, Qt::Key_End);
    EXPECT_EQ(Tree()->focusChild(), Tree()->child(3));
    EXPECT_TRUE(Tree()->child(3)->state().focused);
    EXPECT_TRUE(Tree()->child(3)->state().focusable);
    EXPECT_FALSE(Tree()->child(0)->state().focused);
    control.clearFocus();
    EXPECT_EQ(Tree()->focusChild(), nullptr);
}

} // namespace vandora::test
