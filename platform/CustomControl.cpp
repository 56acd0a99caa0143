#include "platform/CustomControl.h"

#include "platform/KeyState.h"
#include "platform/WidgetBounds.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QTextDocument>
#include <QToolTip>
#include <cmath>

namespace vandora {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

bool ButtonOf(Qt::MouseButton qt, TMouseButton& button)
{
    switch (qt) {
    case Qt::LeftButton: button = mbLeft; return true;
    case Qt::RightButton: button = mbRight; return true;
    case Qt::MiddleButton: button = mbMiddle; return true;
    default: return false;
    }
}

// Client coordinates are whole pixels; a fractional position (high-DPI) is cut toward -inf.
int Pixel(qreal v)
{
    return int(std::floor(v));
}

} // namespace

void CancelHint()
{
    QToolTip::hideText();
}

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

TCustomControl::TCustomControl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    canvas_ = std::make_unique<TCanvas>(&surface_, [this](const QRect& r) { SurfaceDrawn(r); });
    surfaceSize_ = size();
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::SetBounds(int left, int top, int width, int height)
{
    setGeometry(BoundedPosition(left), BoundedPosition(top), BoundedSize(width), BoundedSize(height));
    // A hidden widget gets no resize event until shown; the control must follow at once.
    FollowSize();
}

void TCustomControl::FollowSize()
{
    if (surfaceSize_ == size())
        return;
    surfaceSize_ = size();
    DropSurface();
    Invalidate();
    Resize();
}

void TCustomControl::DropSurface()
{
    surface_ = QImage();
    surfaceStale_ = true;
}

void TCustomControl::EnsureSurface() const
{
    if (!surfaceStale_)
        return;
    surfaceStale_ = false;
    const QSize s = size();
    if (s.isEmpty())
        return;
    QImage fresh(s, opaque_ ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    fresh.fill(opaque_ ? QColor(Qt::white) : QColor(Qt::transparent));
    surface_ = std::move(fresh);
}

void TCustomControl::SetOpaque(bool value)
{
    if (opaque_ == value)
        return;
    opaque_ = value;
    setAttribute(Qt::WA_OpaquePaintEvent, value);
    DropSurface();
    // The new surface holds nothing yet: without a full Paint the window would show it blank.
    Invalidate();
}

void TCustomControl::Invalidate()
{
    paintPending_ = true;
    update();
}

void TCustomControl::Repaint()
{
    // While its form is still being read the control is not ready to paint.
    if (IsLoading()) {
        Invalidate();
        return;
    }
    RunPaint();
    repaint();
}

void TCustomControl::RunPaint()
{
    paintPending_ = false;
    EnsureSurface();
    if (surface_.isNull())
        return;
    if (!opaque_)
        surface_.fill(Qt::transparent);
    Paint();
}

void TCustomControl::SurfaceDrawn(const QRect& rect)
{
    // At a fractional device pixel ratio Qt rounds the rectangle's edges to whole device
    // pixels, and a device pixel straddling an edge could keep an old look: one pixel more.
    update(WholeRatio() ? rect : rect.adjusted(-1, -1, 1, 1));
}

bool TCustomControl::WholeRatio() const
{
    const qreal ratio = devicePixelRatioF();
    return ratio == std::floor(ratio);
}

void TCustomControl::SetCursor(TCursor value)
{
    if (cursor_ == value)
        return;
    cursor_ = value;
    setCursor(CursorShape(value));
}

void TCustomControl::paintEvent(QPaintEvent* event)
{
    if (paintPending_)
        RunPaint();
    QPainter painter(this);
    // Nearest-neighbour scaling keeps the picture sharp at any device pixel ratio: no blends.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    EnsureSurface();
    const QRect r = event->rect();
    // At a fractional ratio the whole surface, which Qt clips to the region: one fixed mapping
    // keeps each device pixel on the same picture pixel in every paint.
    if (WholeRatio())
        painter.drawImage(r, surface_, r);
    else
        painter.drawImage(QPoint(0, 0), surface_);
}

void TCustomControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FollowSize();
}

void TCustomControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseDown(this, button, shift, x, y);
}

void TCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseUp(this, button, shift, x, y);
}

void TCustomControl::Click()
{
    OnClick(this);
}

void TCustomControl::DblClick()
{
    OnDblClick(this);
}

void TCustomControl::NotePointer(const QPointF& global, const QPointF& client)
{
    pointerNoted_ = true;
    pointerGlobal_ = global;
    pointer_ = TPoint{Pixel(client.x()), Pixel(client.y())};
    pointerOrigin_ = mapToGlobal(QPointF(0, 0));
}

TPoint TCustomControl::PointerPos() const
{
    TPoint p;
    GetCursorPos(p);
    // The window system rounds the pointer to whole logical pixels as Qt does; a control
    // moved since (its window, a layout) has the pointer elsewhere on it.
    if (pointerNoted_ && QPoint(p.x, p.y) == pointerGlobal_.toPoint() && mapToGlobal(QPointF(0, 0)) == pointerOrigin_)
        return pointer_;
    ScreenToClient(this, p);
    return p;
}

void TCustomControl::mousePressEvent(QMouseEvent* event)
{
    NotePointer(event->globalPosition(), event->position());
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    if (button == mbLeft)
        leftPressedInside_ = true;
    TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
    if (event->type() == QEvent::MouseButtonDblClick)
        shift |= ssDouble; // a handler can tell a double click's second press from a new one
    const QPointF p = event->position();
    MouseDown(button, shift, Pixel(p.x()), Pixel(p.y()));
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    NotePointer(event->globalPosition(), event->position());
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    const QPointF p = event->position();
    const int x = Pixel(p.x());
    const int y = Pixel(p.y());
    // A left release after a left press on the control, inside it, is a click; the click
    // comes before the release handling.
    if (button == mbLeft) {
        const bool wasPressed = leftPressedInside_;
        leftPressedInside_ = false;
        if (wasPressed && rect().contains(x, y)) {
            const QPointer<TCustomControl> alive(this);
            Click();
            if (!alive)
                return; // the click's handler destroyed the control
        }
    }
    MouseUp(button, ShiftOf(event->modifiers(), event->buttons()), x, y);
}

void TCustomControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click arrives as a double click, then a press.
    NotePointer(event->globalPosition(), event->position());
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    if (button == mbLeft) {
        const QPointer<TCustomControl> alive(this);
        DblClick();
        if (!alive)
            return; // the double click's handler destroyed the control
    }
    mousePressEvent(event);
}

void TCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    NotePointer(event->globalPosition(), event->position());
    const QPointF p = event->position();
    MouseMove(ShiftOf(event->modifiers(), event->buttons()), Pixel(p.x()), Pixel(p.y()));
}

void TCustomControl::enterEvent(QEnterEvent* event)
{
    NotePointer(event->globalPosition(), event->position());
    QWidget::enterEvent(event);
    MouseEnter();
}

void TCustomControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    MouseLeave();
}

namespace {

// Hints are plain text, as they are stored; a tool tip would take one that looks like
// HTML as rich text (styling it, loading the images it names), so such a hint is escaped.
QString PlainToolTip(const std::string& hint)
{
    const QString text = QString::fromStdString(hint);
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

} // namespace

bool TCustomControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!showHint_) {
            event->ignore();
            return true;
        }
        THintInfo info;
        info.CursorPos = TPoint{help->pos().x(), help->pos().y()};
        HintRequest(info);
        if (info.HintStr.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), PlainToolTip(info.HintStr), this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace vandora
