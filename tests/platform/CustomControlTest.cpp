// The control base: its window surface, Invalidate/Repaint, and pointer events.
#include "platform/CustomControl.h"
#include "platform/Label.h"
#include "tests/platform/TestDoubles.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <gtest/gtest.h>

#include <climits>

#include <functional>
#include <string>
#include <vector>

using namespace vandora;

namespace {

// Paints itself in one colour and logs what the framework calls.
class TProbeControl : public TCustomControl {
public:
    const char* ClassName() const override { return "TProbeControl"; }
    using TCustomControl::PointerPos;

    TColor paintColor = clBlue;
    int paints = 0;
    int resizes = 0;
    std::vector<std::string> log;

protected:
    void Paint() override
    {
        ++paints;
        Canvas().Brush.Color = paintColor;
        Canvas().FillRect(Rect(0, 0, Width(), Height()));
    }
    void Resize() override { ++resizes; }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back("MouseDown");
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back("MouseUp");
        TCustomControl::MouseUp(b, s, x, y);
    }
    void Click() override
    {
        log.push_back("Click");
        TCustomControl::Click();
    }
    void DblClick() override
    {
        log.push_back("DblClick");
        TCustomControl::DblClick();
    }
};

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const auto& e : v)
        s += (s.empty() ? "" : " ") + e;
    return s;
}

TColor SurfacePixel(const TCustomControl& c, int x, int y)
{
    return RgbToColor(c.Surface().pixel(x, y));
}

// Lets every posted event (paint requests included) be handled.
void ProcessEvents()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

class CustomControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetBounds(0, 0, 60, 40);
        control.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
        ProcessEvents();
        control.log.clear();
    }
    TProbeControl control;
};

} // namespace

TEST_F(CustomControlTest, SurfaceHasTheControlsSize)
{
    EXPECT_EQ(control.Surface().size(), QSize(60, 40));
    control.SetBounds(0, 0, 30, 20);
    EXPECT_EQ(control.Surface().size(), QSize(30, 20));
    EXPECT_GE(control.resizes, 1);
}

TEST(CustomControlSizing, HiddenControlFollowsEverySizeChangeOnce)
{
    TProbeControl hidden;
    const QSize initial = hidden.size();
    hidden.SetBounds(0, 0, initial.width(), initial.height());
    EXPECT_EQ(hidden.resizes, 0) << "the same size is no change";
    hidden.SetBounds(0, 0, 50, 30);
    hidden.SetBounds(4, 4, 50, 30); // moved only
    EXPECT_EQ(hidden.resizes, 1);
    hidden.SetBounds(0, 0, 20, 10);
    EXPECT_EQ(hidden.resizes, 2);
    // Drawing straight away lands on a surface of the new size, white where nothing drew.
    hidden.Canvas().Brush.Color = clRed;
    hidden.Canvas().FillRect(Rect(0, 0, 5, 5));
    ASSERT_EQ(hidden.Surface().size(), QSize(20, 10));
    EXPECT_EQ(SurfacePixel(hidden, 2, 2), clRed);
    EXPECT_EQ(SurfacePixel(hidden, 19, 9), clWhite);
    hidden.SetBounds(0, 0, 0, 10);
    EXPECT_TRUE(hidden.Surface().isNull());
    hidden.SetBounds(0, 0, 8, 8);
    EXPECT_EQ(hidden.Surface().size(), QSize(8, 8));
    EXPECT_EQ(hidden.paints, 0) << "sizing alone paints nothing";
}

// Bounds read from a form may lie at the ends of the int range; Qt's rectangle must still
// hold them (its last pixel and the one before its first), and a label's too.
TEST(CustomControlSizing, BoundsAtTheEndsOfTheRangeAreHeldWhereQtCanKeepThem)
{
    TProbeControl control;
    control.SetBounds(INT_MAX - 10, INT_MIN, 200, 0);
    EXPECT_EQ(control.Left(), 1 << 30);
    EXPECT_EQ(control.Top(), -(1 << 30));
    EXPECT_EQ(control.Width(), 200);
    EXPECT_EQ(control.Height(), 0);
    control.SetWidth(INT_MAX);
    EXPECT_EQ(control.Width(), QWIDGETSIZE_MAX);
    EXPECT_EQ(control.geometry().right(), (1 << 30) + QWIDGETSIZE_MAX - 1);

    TLabel label;
    label.SetAutoSize(false);
    label.SetLeft(INT_MIN);
    label.SetTop(INT_MAX);
    label.SetWidth(INT_MAX);
    EXPECT_EQ(label.Left(), -(1 << 30));
    EXPECT_EQ(label.Top(), 1 << 30);
    EXPECT_EQ(label.Width(), QWIDGETSIZE_MAX);

    // A rectangle handed to Qt, as a hotspot's box at the start of the range may be.
    EXPECT_EQ(Rect(-5, 2, 10, 4).ToQRect(), QRect(-5, 2, 15, 2));
    EXPECT_TRUE(Rect(INT_MIN, INT_MIN, INT_MIN, INT_MIN).ToQRect().isEmpty());
    EXPECT_EQ(Rect(INT_MIN, 0, INT_MIN + 3, 1).ToQRect().width(), 3);
}

TEST_F(CustomControlTest, CanvasDrawingShowsInSurfaceUntilTheNextPaint)
{
    control.Repaint();
    ASSERT_EQ(SurfacePixel(control, 10, 10), clBlue);

    control.Canvas().Brush.Color = clRed;
    control.Canvas().FillRect(Rect(5, 5, 15, 15));
    EXPECT_EQ(SurfacePixel(control, 10, 10), clRed);
    EXPECT_EQ(SurfacePixel(control, 20, 20), clBlue);
    ProcessEvents(); // the screen update it scheduled does not repaint
    EXPECT_EQ(SurfacePixel(control, 10, 10), clRed);

    control.Repaint();
    EXPECT_EQ(SurfacePixel(control, 10, 10), clBlue);
}

TEST_F(CustomControlTest, InvalidatePaintsLaterRepaintPaintsNow)
{
    const int before = control.paints;
    control.paintColor = clLime;
    control.Invalidate();
    EXPECT_TRUE(control.PaintPending());
    EXPECT_EQ(control.paints, before);
    EXPECT_NE(SurfacePixel(control, 1, 1), clLime);

    ProcessEvents();
    EXPECT_EQ(control.paints, before + 1);
    EXPECT_FALSE(control.PaintPending());
    EXPECT_EQ(SurfacePixel(control, 1, 1), clLime);

    control.paintColor = clYellow;
    control.Repaint();
    EXPECT_EQ(control.paints, before + 2);
    EXPECT_EQ(SurfacePixel(control, 1, 1), clYellow);
}

TEST_F(CustomControlTest, RepaintWorksOnAHiddenControl)
{
    TProbeControl hidden;
    hidden.SetBounds(0, 0, 8, 8);
    hidden.paintColor = clPurple;
    hidden.Repaint();
    EXPECT_EQ(hidden.paints, 1);
    EXPECT_EQ(SurfacePixel(hidden, 4, 4), clPurple);
}

TEST_F(CustomControlTest, DoubleClickArrivesAsDblClickThenMouseDown)
{
    QTest::mouseDClick(&control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Join(control.log), "DblClick MouseDown");
}

TEST_F(CustomControlTest, DoubleClickFromTheWindowSystem)
{
    // Through the window: press, release, press, release within the double-click time.
    std::vector<std::string> presses;
    control.OnMouseDown = TMouseEvent([&](TObject*, TMouseButton, TShiftState shift, int, int) {
        presses.push_back((shift & ssDouble) ? "double" : "single");
    });
    QTest::mouseDClick(control.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Join(control.log), "MouseDown Click MouseUp DblClick MouseDown Click MouseUp");
    EXPECT_EQ(Join(presses), "single double") << "only the second press tells it is a double click's";
}

// The window system gives the pointer in whole logical pixels; a high-DPI pointer half a
// pixel on rounds into the next pixel, which the events themselves cut back to this one.
TEST_F(CustomControlTest, ThePointerRestingWhereItsLastEventWasIsOnThatEventsPixel)
{
    test::TFakeInputState input;
    test::ScopedService<IInputStateService> guard(SetInputStateService, &input);
    const auto cursorAt = [&](QPointF client) {
        const QPoint p = control.mapToGlobal(client).toPoint();
        input.cursor = TPoint{p.x(), p.y()};
    };
    cursorAt(QPointF(4.5, 10));
    EXPECT_EQ(control.PointerPos().x, 5) << "no event yet: the window system's position";
    QMouseEvent move(QEvent::MouseMove, QPointF(4.5, 10), control.mapToGlobal(QPointF(4.5, 10)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &move);
    EXPECT_EQ(control.PointerPos().x, 4);
    EXPECT_EQ(control.PointerPos().y, 10);
    cursorAt(QPointF(7, 12)); // moved on with no event here
    EXPECT_EQ(control.PointerPos().x, 7);
    cursorAt(QPointF(4.5, 10));
    control.move(control.pos() + QPoint(3, 0)); // the control moved under the resting pointer
    EXPECT_EQ(control.PointerPos().x, 2) << "the window system's position, on the moved control";
    EXPECT_EQ(control.PointerPos().y, 10);
}

TEST_F(CustomControlTest, LeftPressAndReleaseInsideClicksBeforeMouseUp)
{
    std::vector<std::string> events;
    control.OnClick = TNotifyEvent([&](TObject*) { events.push_back("OnClick"); });
    control.OnMouseUp = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("OnMouseUp " + std::to_string(x) + "," + std::to_string(y));
    });
    control.OnMouseDown = TMouseEvent([&](TObject*, TMouseButton b, TShiftState, int, int) {
        events.push_back(b == mbLeft ? "OnMouseDown left" : "OnMouseDown other");
    });
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(12, 7));
    EXPECT_EQ(Join(events), "OnMouseDown left OnClick OnMouseUp 12,7");
}

// A click or double click may close what holds the control: once its handler has
// destroyed the control, the release or press that follows must not reach it.
TEST(CustomControlHandlers, AControlDestroyedByItsClickOrDoubleClickHandlerIsLeftAlone)
{
    const auto send = [](QWidget* widget, QEvent::Type type) {
        QMouseEvent event(type, QPointF(10, 10), widget->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    // Sends the events to a new control whose handlers arm() sets up; true once it is gone.
    const auto destroyedBy = [&](const std::function<void(TProbeControl&)>& arm,
                                 std::initializer_list<QEvent::Type> types) {
        auto* control = new TProbeControl;
        const QPointer<TProbeControl> alive(control);
        control->SetBounds(0, 0, 60, 40);
        arm(*control);
        for (const QEvent::Type type : types)
            send(control, type);
        return alive.isNull();
    };
    const TMouseEvent unexpected([](TObject*, TMouseButton, TShiftState, int, int) { ADD_FAILURE(); });
    EXPECT_TRUE(destroyedBy(
        [&](TProbeControl& c) {
            c.OnClick = TNotifyEvent([&c](TObject*) { delete &c; });
            c.OnMouseUp = unexpected;
        },
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
    EXPECT_TRUE(destroyedBy(
        [&](TProbeControl& c) {
            c.OnDblClick = TNotifyEvent([&c](TObject*) { delete &c; });
            c.OnMouseDown = unexpected;
        },
        {QEvent::MouseButtonDblClick}));
}

TEST_F(CustomControlTest, ReleaseOutsideIsNoClick)
{
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(Join(control.log), "MouseDown MouseUp");
}

TEST_F(CustomControlTest, RightClickIsNoClick)
{
    QTest::mouseClick(&control, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(Join(control.log), "MouseDown MouseUp");
    // Nor is a left release after a right press, or after a press made elsewhere.
    control.log.clear();
    QTest::mousePress(&control, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Join(control.log), "MouseDown MouseUp MouseUp");
}

TEST_F(CustomControlTest, ShiftStateCarriesCtrl)
{
    TShiftState seen = 0;
    control.OnMouseDown = TMouseEvent([&](TObject*, TMouseButton, TShiftState s, int, int) { seen = s; });
    QTest::mousePress(&control, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 3));
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 3));
    EXPECT_TRUE(seen & ssCtrl);
    EXPECT_TRUE(seen & ssLeft);
    EXPECT_FALSE(seen & ssShift);
    // Alt, and every button held, not only the one pressed.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), control.mapToGlobal(QPointF(3, 3)), Qt::RightButton,
                      Qt::RightButton | Qt::MiddleButton, Qt::AltModifier);
    QApplication::sendEvent(&control, &press);
    EXPECT_EQ(seen, TShiftState(ssAlt | ssRight | ssMiddle));
}

// A position between pixels is on the pixel that holds it, left of the control too.
TEST_F(CustomControlTest, AFractionalPositionIsOnThePixelThatHoldsIt)
{
    TPoint seen{0, 0};
    control.OnMouseMove = TMouseMoveEvent([&](TObject*, TShiftState, int x, int y) { seen = TPoint{x, y}; });
    QMouseEvent move(QEvent::MouseMove, QPointF(-0.5, 2.5), control.mapToGlobal(QPointF(-0.5, 2.5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&control, &move);
    EXPECT_EQ(seen.x, -1);
    EXPECT_EQ(seen.y, 2);
}

TEST_F(CustomControlTest, CursorMapsToQtShapes)
{
    EXPECT_EQ(control.Cursor(), crDefault);
    control.SetCursor(crHandPoint);
    EXPECT_EQ(control.cursor().shape(), Qt::PointingHandCursor);
    control.SetCursor(crDefault);
    EXPECT_EQ(control.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CustomControlTest, LoadingAndDesignStates)
{
    EXPECT_FALSE(control.IsLoading());
    control.SetComponentState(csLoading, true);
    EXPECT_TRUE(control.IsLoading());
    // Not ready to paint while its form is read: the paint waits.
    const int paints = control.paints;
    control.Repaint();
    EXPECT_EQ(control.paints, paints);
    EXPECT_TRUE(control.PaintPending());
    control.Loaded();
    EXPECT_FALSE(control.IsLoading());
    EXPECT_FALSE(control.IsDesigning());
    control.SetComponentState(csDesigning, true);
    EXPECT_TRUE(control.IsDesigning());
}

TEST_F(CustomControlTest, NonOpaqueSurfaceLeavesUnpaintedPixelsTransparent)
{
    class THalf : public TCustomControl {
    public:
        const char* ClassName() const override { return "THalf"; }
        int filled = 5;

    protected:
        void Paint() override
        {
            Canvas().Brush.Color = clRed;
            Canvas().FillRect(Rect(0, 0, filled, Height()));
        }
    } half;
    half.SetOpaque(false);
    half.SetBounds(0, 0, 10, 10);
    half.Repaint();
    EXPECT_EQ(qAlpha(half.Surface().pixel(2, 2)), 255);
    EXPECT_EQ(RgbToColor(half.Surface().pixel(2, 2)), clRed);
    EXPECT_EQ(qAlpha(half.Surface().pixel(8, 2)), 0);
    // Also where the paint before drew: every paint starts from nothing.
    half.filled = 10;
    half.Repaint();
    half.filled = 5;
    half.Repaint();
    EXPECT_EQ(qAlpha(half.Surface().pixel(8, 2)), 0);
}

TEST_F(CustomControlTest, ChangingOpacityAsksForAFullPaint)
{
    control.Repaint();
    ASSERT_FALSE(control.PaintPending());
    control.SetOpaque(false);
    EXPECT_TRUE(control.PaintPending());
}

TEST_F(CustomControlTest, HintRequestFillsTheShownTextAndCancelHidesIt)
{
    control.SetHint("Hello");
    control.SetShowHint(true);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Hello"));
    CancelHint();
    // Qt lets a tool tip fade out over a few hundred milliseconds.
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
}

TEST_F(CustomControlTest, AHintThatLooksLikeMarkupIsShownAsWritten)
{
    const std::string hint = "<b>Paris</b> & <img src=\"/etc/hostname\"> <a href=\"x\">";
    control.SetHint(hint);
    control.SetShowHint(true);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText().toStdString(), hint);
    CancelHint();
}

TEST_F(CustomControlTest, NoHintWithoutShowHint)
{
    CancelHint();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    control.SetHint("Hidden");
    control.SetShowHint(false);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &help);
    EXPECT_FALSE(QToolTip::isVisible());
}
