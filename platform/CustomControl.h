#pragma once
// A windowed control with its own drawing surface and a virtual Paint.
//
// The control owns a window surface: an image of its size that holds exactly what the
// window shows. Canvas() draws into it between repaints and schedules the screen update;
// Invalidate() asks for a full Paint() at the next event-loop turn; Repaint() paints now.
#include "platform/Canvas.h"
#include "platform/Component.h"
#include "platform/Events.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

namespace vandora {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TCursor = std::int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crDrag = -12;
constexpr TCursor crNo = -18;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

// What a hint request fills in: the text to show at the pointer.
struct THintInfo {
    std::string HintStr;
    TPoint CursorPos; // client coordinates of the pointer
};

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;

// Hides the hint shown anywhere in the application.
void CancelHint();

class TCustomControl : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* parent = nullptr);
    ~TCustomControl() override;

    // Bounds in the parent's client coordinates.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    void SetBounds(int left, int top, int width, int height);

    // Drawing straight onto the window: into the surface, shown at the next event-loop turn.
    TCanvas& Canvas()
    {
        EnsureSurface();
        return *canvas_;
    }
    // What the window shows, pixel for pixel, in the control's own coordinates.
    const QImage& Surface() const
    {
        EnsureSurface();
        return surface_;
    }

    // A full Paint() at the next event-loop turn.
    void Invalidate();
    bool PaintPending() const { return paintPending_; }
    // A full Paint() now, shown at once.
    void Repaint();

    // The control covers all of its area (pixels Paint skips are then undefined).
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool value);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // False once hidden on purpose (a stored Visible = False): the control then stays hidden
    // when its form is shown. Setting True on a control without a parent opens no window.
    bool Visible() const { return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && isHidden()); }
    void SetVisible(bool value)
    {
        if (!value || parentWidget() != nullptr)
            setVisible(value);
    }
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string value) { hint_ = std::move(value); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // The full repaint, drawn into Canvas().
    virtual void Paint() {}
    // After the control's size changed (the surface has the new size already).
    virtual void Resize() {}

    // Pointer input in client coordinates; the base raises the plain events.
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // Fills in the hint text for the pointer position; the base gives the control's Hint.
    virtual void HintRequest(THintInfo& info) { info.HintStr = hint_; }
    // Where the pointer is now, in client pixels: the window system's position, or the
    // last pointer event's own while the pointer has not moved since. The window system
    // gives whole logical pixels, which on a high-DPI screen can round a pointer resting
    // on one pixel's last device pixels into the next one.
    TPoint PointerPos() const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The surface is made at the first drawing after a size change, not at every
    // intermediate size a form passes through while it is read.
    void DropSurface();
    void EnsureSurface() const;
    // After a size change: a new surface, a full Paint and Resize, once per real change.
    void FollowSize();
    void RunPaint();
    void SurfaceDrawn(const QRect& rect);
    // Whole device pixels per pixel (1, 2, 3): a window pixel's edges are device pixel edges.
    bool WholeRatio() const;
    void NotePointer(const QPointF& global, const QPointF& client);

    mutable QImage surface_;
    mutable bool surfaceStale_ = true;
    QSize surfaceSize_; // the size the surface has, or will have when it is made
    std::unique_ptr<TCanvas> canvas_;
    bool paintPending_ = true;
    bool opaque_ = true;
    bool leftPressedInside_ = false;
    bool pointerNoted_ = false;
    QPointF pointerGlobal_; // of the last pointer event, in logical screen pixels
    TPoint pointer_;        // the same, in client pixels as the events give them
    QPointF pointerOrigin_; // where the control was on the screen then
    TCursor cursor_ = crDefault;
    std::string hint_;
    bool showHint_ = false;
};

// Qt's cursor shape for a cursor identifier.
Qt::CursorShape CursorShape(TCursor cursor);

} // namespace vandora
