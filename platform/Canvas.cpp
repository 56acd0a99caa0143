#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Graphic.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace vandora {

namespace {

// The area a drawing with a pen of this width may change around its shape: a wide pen is
// centred on the outline (any width up to 1 draws one pixel). In 64 bits, then clamped: a
// shape near the largest coordinate must not wrap round.
QRect WidenedByPen(const QRect& shape, int penWidth)
{
    const std::int64_t grow = std::max(penWidth, 1);
    auto clamp = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); };
    return QRect(QPoint(clamp(shape.left() - grow), clamp(shape.top() - grow)),
                 QPoint(clamp(std::int64_t(shape.right()) + grow), clamp(std::int64_t(shape.bottom()) + grow)));
}

// Nothing drawn further out than this can show on an image (a bitmap holds at most 64 Mi
// pixels), and Qt's rectangles keep their sizes in int: rectangles are held within it.
constexpr std::int64_t kReach = std::int64_t(1) << 29;

int Reached(std::int64_t v)
{
    return int(std::clamp(v, -kReach, kReach));
}

// The part of a rectangle within reach: the same pixels on any image.
TRect WithinReach(const TRect& r)
{
    return TRect{Reached(r.Left), Reached(r.Top), Reached(r.Right), Reached(r.Bottom)};
}

bool InReach(const TRect& r)
{
    return WithinReach(r) == r;
}

} // namespace

TCanvas::TCanvas(QImage* image, std::function<void(const QRect&)> onDraw)
    : image_(image), onDraw_(std::move(onDraw))
{
}

bool TCanvas::Writable()
{
    if (image_ == nullptr || image_->isNull())
        return false;
    // A compacted bitmap gets its four bytes a pixel back before anything draws on it.
    if (image_->format() == QImage::Format_Indexed8)
        *image_ = image_->convertToFormat(QImage::Format_RGB32);
    return true;
}

template <class Fn>
void TCanvas::Paint(const QRect& bounds, Fn&& draw)
{
    if (!Writable())
        return;
    {
        QPainter painter(image_);
        if (clip_)
            painter.setClipRegion(*clip_);
        draw(painter);
    }
    if (onDraw_) {
        QRect dirty = bounds.normalized() & image_->rect();
        if (clip_)
            dirty &= clip_->boundingRect();
        if (!dirty.isEmpty())
            onDraw_(dirty);
    }
}

bool TCanvas::Blit(const QImage& from, QPoint sourceTopLeft, const QRect& dest)
{
    // Held apart from the target: when the source is the target's own image, writing then
    // detaches the target, and the rows copied are the ones from before the copy.
    const QImage source = from;
    // Opaque pixels copied one to one: rows are copied straight (32-bit) or looked up in
    // the colour table (compacted), limited to the clip region's rectangles. A painter
    // would scan-convert the clip for every copy.
    if (!Writable())
        return false;
    const bool indexed = source.format() == QImage::Format_Indexed8;
    const bool direct = (source.format() == QImage::Format_RGB32 || indexed) &&
                        (image_->format() == QImage::Format_RGB32 ||
                         image_->format() == QImage::Format_ARGB32_Premultiplied ||
                         image_->format() == QImage::Format_ARGB32);
    if (!direct)
        return false;
    const QRect sourceInDest = source.rect().translated(dest.topLeft() - sourceTopLeft);
    const QRect area = dest & image_->rect() & sourceInDest;
    if (area.isEmpty())
        return true;
    const QRegion region = clip_ ? (*clip_ & area) : QRegion(area);
    const QPoint offset = sourceTopLeft - dest.topLeft();
    if (indexed)
        BlitIndexed(source, region, offset);
    else
        BlitRows(source, region, offset);
    if (onDraw_ && !region.isEmpty())
        onDraw_(region.boundingRect());
    return true;
}

void TCanvas::BlitRows(const QImage& source, const QRegion& region, QPoint offset)
{
    const uchar* const from = source.constBits();
    const qsizetype fromStride = source.bytesPerLine();
    uchar* const to = image_->bits();
    const qsizetype toStride = image_->bytesPerLine();
    for (const QRect& r : region) {
        const std::size_t bytes = std::size_t(r.width()) * 4;
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(to + y * toStride + std::size_t(r.left()) * 4,
                        from + (y + offset.y()) * fromStride + std::size_t(r.left() + offset.x()) * 4, bytes);
    }
}

void TCanvas::BlitIndexed(const QImage& source, const QRegion& region, QPoint offset)
{
    // Every byte names an opaque colour; bytes past the table are black.
    std::array<QRgb, 256> table;
    table.fill(0xFF000000u);
    const QList<QRgb> colors = source.colorTable();
    for (qsizetype i = 0; i < colors.size() && i < 256; ++i)
        table[std::size_t(i)] = colors[i] | 0xFF000000u;
    const uchar* const bytes = source.constBits();
    const qsizetype bytesStride = source.bytesPerLine();
    uchar* const pixels = image_->bits();
    const qsizetype pixelsStride = image_->bytesPerLine();
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar* from = bytes + (y + offset.y()) * bytesStride + (r.left() + offset.x());
            auto* to = reinterpret_cast<QRgb*>(pixels + y * pixelsStride) + r.left();
            for (int x = 0; x < r.width(); ++x)
                to[x] = table[from[x]];
        }
    }
}

void TCanvas::ApplyPen(QPainter& painter) const
{
    if (Pen.Style == psClear) {
        painter.setPen(Qt::NoPen);
    } else {
        QPen pen(ColorToQColor(Pen.Color));
        pen.setWidth(Pen.Width <= 1 ? 0 : Pen.Width); // 0: one-pixel cosmetic pen
        pen.setStyle(Pen.Style == psDash ? Qt::DashLine : Pen.Style == psDot ? Qt::DotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    }
    if (Pen.Mode == pmNotXor)
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

void TCanvas::ApplyBrush(QPainter& painter) const
{
    if (Brush.Style == bsClear)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(ColorToQColor(Brush.Color));
}

bool TCanvas::Fill(const QRect& rect, const QColor& color)
{
    // Opaque fills of 32-bit pixels are written row by row through the clip region's
    // rectangles, as Blit copies: a painter would scan-convert the clip for every fill.
    if (!Writable())
        return false;
    const QImage::Format format = image_->format();
    const bool direct = color.alpha() == 255 && rect.isValid() &&
                        (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ||
                         format == QImage::Format_ARGB32);
    if (!direct)
        return false;
    const QRect area = rect & image_->rect();
    if (area.isEmpty())
        return true;
    const QRegion region = clip_ ? (*clip_ & area) : QRegion(area);
    const QRgb pixel = color.rgba();
    uchar* const pixels = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    for (const QRect& r : region) {
        // The first row is filled pixel by pixel, the others are copies of it.
        auto* first = reinterpret_cast<QRgb*>(pixels + r.top() * stride) + r.left();
        std::fill_n(first, r.width(), pixel);
        const std::size_t bytes = std::size_t(r.width()) * 4;
        for (int y = r.top() + 1; y <= r.bottom(); ++y)
            std::memcpy(pixels + y * stride + std::size_t(r.left()) * 4, first, bytes);
    }
    if (onDraw_ && !region.isEmpty())
        onDraw_(region.boundingRect());
    return true;
}

void TCanvas::FillRect(const TRect& rect)
{
    const QRect r = WithinReach(rect).ToQRect();
    const QColor color = ColorToQColor(Brush.Color);
    if (Fill(r, color))
        return;
    Paint(r, [&](QPainter& p) { p.fillRect(r, color); });
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    // An outline beyond reach is off any image either way.
    left = Reached(left);
    top = Reached(top);
    right = Reached(right);
    bottom = Reached(bottom);
    // The corners may come in either order; an empty rectangle has no outline.
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top)
        return;
    // The outline covers columns left..right-1 and rows top..bottom-1.
    const QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    // A wide pen is centred on the outline: the pixels it covers outside r change too.
    Paint(WidenedByPen(r, Pen.Width), [&](QPainter& p) {
        if (Brush.Style != bsClear && r.width() > 2 && r.height() > 2)
            p.fillRect(r.adjusted(1, 1, -1, -1), ColorToQColor(Brush.Color));
        ApplyPen(p);
        p.setBrush(Qt::NoBrush);
        if (Pen.Style == psClear)
            return;
        if (r.width() == 1 && r.height() == 1)
            p.drawPoint(r.topLeft()); // drawRect of a zero-size rectangle draws nothing
        else
            p.drawRect(QRect(r.topLeft(), QSize(r.width() - 1, r.height() - 1)));
    });
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic)
{
    // Past the right or bottom edge, or beyond reach, nothing shows; the far edges are
    // summed in 64 bits, so that no rectangle wraps round.
    if (image_ == nullptr || x >= image_->width() || y >= image_->height() || x < -kReach || y < -kReach)
        return;
    const QRect r(QPoint(x, y), QPoint(Reached(std::int64_t(x) + graphic.Width() - 1),
                                       Reached(std::int64_t(y) + graphic.Height() - 1)));
    const TBitmap* bitmap = OpaqueBitmap(graphic);
    if (bitmap != nullptr && Blit(bitmap->Image(), QPoint(0, 0), r))
        return;
    Paint(r, [&](QPainter& p) { graphic.Draw(p, r); });
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic)
{
    if (!InReach(rect))
        return;
    const QRect r = rect.ToQRect();
    Paint(r, [&](QPainter& p) { graphic.Draw(p, r); });
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& from, const TRect& source)
{
    if (from.image_ == nullptr)
        return;
    CopyRect(dest, *from.image_, source);
}

void TCanvas::CopyRect(const TRect& dest, const QImage& image, const TRect& source)
{
    // Held apart from the target, as in Blit: copying within one image reads the pixels
    // from before the copy.
    const QImage from = image;
    if (from.isNull() || source.Width() == 0 || source.Height() == 0 || !InReach(dest) || !InReach(source))
        return;
    const QRect d = dest.ToQRect();
    const QRect s = source.ToQRect();
    // Only the part of the source inside the image is copied, to where it maps in dest;
    // the rest of dest keeps its pixels.
    const QRect inside = s & from.rect();
    if (inside.isEmpty())
        return;
    if (d.size() == s.size() && Blit(from, s.topLeft(), d))
        return;
    const double sx = double(d.width()) / s.width();
    const double sy = double(d.height()) / s.height();
    const QRectF target(d.x() + (inside.x() - s.x()) * sx, d.y() + (inside.y() - s.y()) * sy, inside.width() * sx,
                        inside.height() * sy);
    Paint(target.toAlignedRect(), [&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(target, from, QRectF(inside));
    });
}

void TCanvas::Polygon(const TIntPoints& points)
{
    if (points.empty())
        return;
    QPolygon polygon(int(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(int(i), points[i].x, points[i].y);
    Paint(WidenedByPen(polygon.boundingRect(), Pen.Width), [&](QPainter& p) {
        ApplyPen(p);
        ApplyBrush(p);
        p.drawPolygon(polygon, Qt::OddEvenFill);
    });
}

void TCanvas::PolyBezier(const TIntPoints& points)
{
    if (points.size() < 4)
        return;
    // Aliased paths are sampled at pixel centres: a knot (x, y) is the centre (x + 0.5,
    // y + 0.5) of its pixel, so that the curve passes through the knots' own pixels (without
    // the offset it misses them and leans half a pixel up and left).
    auto at = [&](std::size_t i) { return QPointF(points[i].x + 0.5, points[i].y + 0.5); };
    QPainterPath path(at(0));
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(at(i), at(i + 1), at(i + 2));
    const QRect bounds = WidenedByPen(path.boundingRect().toAlignedRect(), Pen.Width);
    Paint(bounds, [&](QPainter& p) {
        ApplyPen(p);
        p.setBrush(Qt::NoBrush); // a poly-Bezier is a curve, never filled
        p.drawPath(path);
    });
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (image_ == nullptr || !image_->valid(x, y))
        return clNone;
    return RgbToColor(image_->pixel(x, y));
}

} // namespace vandora
