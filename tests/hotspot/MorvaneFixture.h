#pragma once
// A small control with a patterned picture and hotspots of every kind, and helpers that
// send pointer events straight to it (enter and leave included).
#include "hotspot/Morvane.h"
#include "platform/KeyState.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vandora::test {

// Every picture pixel has its own colour, so a restored pixel is told from a look.
inline QRgb PicturePixel(int x, int y)
{
    return qRgb((x * 4) % 256, (y * 6) % 256, 90);
}

inline void FillPicture(TPicture& picture, int w, int h)
{
    TBitmap& bitmap = picture.Bitmap();
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, PicturePixel(x, y));
    bitmap.Assign(image);
}

inline QRgb Rgb(TColor color)
{
    return ColorToRgb(color) | 0xFF000000u;
}

// Ctrl held or not, for the selection modes.
class FakeInput : public IInputStateService {
public:
    FakeInput() { previous_ = SetInputStateService(this); }
    ~FakeInput() override { SetInputStateService(previous_); }
    bool KeyDown(int key) override { return key == VK_CONTROL && ctrl; }
    TPoint CursorPos() override { return cursor; }
    bool ctrl = false;
    TPoint cursor;

private:
    IInputStateService* previous_ = nullptr;
};

// A 60 x 40 picture with: 0 a rectangle, 1 a triangle, 2 an ellipse, 3 a rectangle
// overlapping the triangle.
class MorvaneFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetAutoSize(true);
        THotSpot* rect = control.HotSpots().AddHotSpot();
        rect->SetClipped(true);
        rect->SetCorners(5, 5, 20, 18);
        rect->SetName("rect");
        THotSpot* tri = control.HotSpots().AddHotSpot();
        tri->SetShapeType(stPolygon);
        tri->SetClipped(true);
        tri->SetPoints({{30, 4}, {56, 4}, {43, 30}});
        tri->SetName("tri");
        THotSpot* ell = control.HotSpots().AddHotSpot();
        ell->SetCorners(4, 22, 28, 38);
        ell->SetShapeType(stEllipse);
        ell->SetClipped(true);
        ell->SetName("ell");
        THotSpot* over = control.HotSpots().AddHotSpot();
        over->SetClipped(true);
        over->SetCorners(40, 10, 58, 20);
        over->SetName("over");
        TPicture picture;
        FillPicture(picture, 60, 40);
        control.SetPicture(&picture);
        LogEvents();
    }

    THotSpot* Spot(int i) { return control.HotSpots().Item(i); }
    QRgb At(int x, int y) const { return control.Surface().pixel(x, y) | 0xFF000000u; }
    bool Shows(int x, int y, TColor color) const { return At(x, y) == Rgb(color); }
    bool ShowsPicture(int x, int y) const { return At(x, y) == (PicturePixel(x, y) | 0xFF000000u); }

    void Send(QEvent::Type type, qreal x, qreal y, Qt::MouseButton button = Qt::NoButton,
              Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent event(type, QPointF(x, y), control.mapToGlobal(QPointF(x, y)), button, buttons, Qt::NoModifier);
        Deliver(event);
    }
    // Through the application, or, for handlers that throw, straight to the control's own
    // event handler: Qt's delivery frees nothing an exception passes through it.
    void Deliver(QEvent& event)
    {
        if (deliverDirectly)
            static_cast<QObject&>(control).event(&event);
        else
            QCoreApplication::sendEvent(&control, &event);
    }
    bool deliverDirectly = false;
    void Move(int x, int y) { Send(QEvent::MouseMove, x, y); }
    // A move with the left button held.
    void Drag(int x, int y) { Send(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, x, y, b, b); }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, x, y, b); }
    void Click(int x, int y)
    {
        Move(x, y);
        Press(x, y);
        Release(x, y);
    }
    void DoubleClick(int x, int y)
    {
        input.cursor = TPoint{control.mapToGlobal(QPoint(x, y)).x(), control.mapToGlobal(QPoint(x, y)).y()};
        Send(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    void Leave()
    {
        QEvent event(QEvent::Leave);
        Deliver(event);
    }
    void Enter(int x, int y)
    {
        QEnterEvent event(QPointF(x, y), QPointF(x, y), control.mapToGlobal(QPointF(x, y)));
        Deliver(event);
    }
    // Runs a pending full repaint, as the next event-loop turn would.
    void Flush()
    {
        if (control.PaintPending())
            control.Repaint();
    }

    void LogEvents()
    {
        auto log = [this](const char* what) {
            return THotSpotEvent([this, what](TObject*, THotSpot* h) {
                events.push_back(std::string(what) + " " + h->Name());
            });
        };
        control.OnHotSpotEnter = log("enter");
        control.OnHotSpotExit = log("exit");
        control.OnHotSpotClick = log("click");
        control.OnHotSpotRightClick = log("right");
        control.OnHotSpotDblClick = log("dbl");
    }

    FakeInput input;
    TMorvane control;
    std::vector<std::string> events;
};

} // namespace vandora::test
