// The Ctrl key state, the pointer position and screen-to-client conversion.
#include "TestDoubles.h"

#include "platform/KeyState.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TFakeInputState;

TEST(KeyStateTest, HighBitSetWhileCtrlIsHeld)
{
    TFakeInputState input;
    ScopedService<IInputStateService> guard(SetInputStateService, &input);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
    input.down = {VK_CONTROL};
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(std::uint16_t(GetKeyState(VK_CONTROL)) & 0x8000u, 0x8000u);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
}

TEST(KeyStateTest, TheDefaultFollowsTheLiveModifiers)
{
    ScopedService<IInputStateService> guard(SetInputStateService, nullptr);
    QWidget w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyPress(&w, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    QTest::keyRelease(&w, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetKeyState(0x41), 0); // a key it does not track
    QTest::keyPress(&w, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    QTest::keyRelease(&w, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(GetKeyState(VK_MENU), 0);

    // And the buttons held, each by its own key. (Only the button pressed here is asked:
    // an earlier test may have left Qt believing another one held.)
    const std::pair<Qt::MouseButton, int> buttons[] = {
        {Qt::LeftButton, VK_LBUTTON}, {Qt::RightButton, VK_RBUTTON}, {Qt::MiddleButton, VK_MBUTTON}};
    for (const auto& [button, key] : buttons) {
        QTest::mouseRelease(&w, button, {}, QPoint(5, 5));
        ASSERT_EQ(GetKeyState(key), 0) << button;
        QTest::mousePress(&w, button, {}, QPoint(5, 5));
        EXPECT_LT(GetKeyState(key), 0) << button;
        QTest::mouseRelease(&w, button, {}, QPoint(5, 5));
        EXPECT_EQ(GetKeyState(key), 0) << button;
    }
}

TEST(KeyStateTest, CursorPosComesFromTheSeam)
{
    TFakeInputState input;
    input.cursor = {321, 123};
    ScopedService<IInputStateService> guard(SetInputStateService, &input);
    TPoint p;
    EXPECT_TRUE(GetCursorPos(p));
    EXPECT_EQ(p, (TPoint{321, 123}));
}

TEST(KeyStateTest, TheDefaultCursorPosIsThePointersScreenPosition)
{
    ScopedService<IInputStateService> guard(SetInputStateService, nullptr);
    QCursor::setPos(QPoint(40, 30));
    TPoint p;
    EXPECT_TRUE(GetCursorPos(p));
    EXPECT_EQ(QPoint(p.x, p.y), QCursor::pos());
}

TEST(KeyStateTest, ScreenToClientGivesClientCoordinates)
{
    QWidget window;
    window.setGeometry(100, 60, 200, 150);
    QWidget child(&window);
    child.setGeometry(10, 20, 50, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint screen = child.mapToGlobal(QPoint(3, 4));
    TPoint p{screen.x(), screen.y()};
    EXPECT_TRUE(ScreenToClient(&child, p));
    EXPECT_EQ(p, (TPoint{3, 4}));
    TPoint q{screen.x(), screen.y()};
    EXPECT_TRUE(ScreenToClient(&window, q));
    EXPECT_EQ(q, (TPoint{13, 24}));
    TPoint unchanged{7, 8};
    EXPECT_FALSE(ScreenToClient(nullptr, unchanged));
    EXPECT_EQ(unchanged, (TPoint{7, 8}));
}
