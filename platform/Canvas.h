#pragma once
// A drawing surface over an image: pen, brush, clip region and the drawing calls.
#include "platform/Colors.h"
#include "platform/Types.h"

#include <QImage>
#include <QRegion>
#include <functional>
#include <optional>

class QPainter;

namespace vandora {

class TGraphic;

enum TPenStyle { psSolid, psDash, psDot, psClear };
enum TPenMode { pmCopy, pmNotXor };
enum TBrushStyle { bsSolid, bsClear };

struct TPen {
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    int Width = 1;
    TColor Color = clBlack;
};

struct TBrush {
    TBrushStyle Style = bsSolid;
    TColor Color = clWhite;
};

class TCanvas {
public:
    // image: the pixels drawn into, owned elsewhere and alive as long as the canvas.
    // onDraw: told the rectangle of every drawing call, after it happened.
    explicit TCanvas(QImage* image, std::function<void(const QRect&)> onDraw = {});
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;

    // Coordinates further than 2^29 from the origin are beyond any image: fills and outlines
    // draw the part within that reach, scaled drawings and copies reaching beyond draw nothing.

    // Fills the rectangle with the brush colour (also when the brush style is clear).
    void FillRect(const TRect& rect);
    // Outline with the pen, inside filled with the brush unless it is clear. Right and
    // bottom are exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // A graphic at its own size at (x, y).
    void Draw(int x, int y, const TGraphic& graphic);
    // A graphic scaled to fill the rectangle.
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies rectangle source of canvas from into dest of this canvas, scaled when the
    // sizes differ. A plain pixel copy.
    void CopyRect(const TRect& dest, const TCanvas& from, const TRect& source);
    void CopyRect(const TRect& dest, const QImage& image, const TRect& source);
    // Closed polygon, outlined with the pen and filled with the brush.
    void Polygon(const TIntPoints& points);
    // Cubic Bezier curve through knots 0, 3, 6, ... with the points between as controls.
    void PolyBezier(const TIntPoints& points);

    TColor Pixel(int x, int y) const;

    // Drawing is limited to the region while one is set (SelectClipRgn).
    void SetClipRegion(const std::optional<QRegion>& region) { clip_ = region; }
    const std::optional<QRegion>& ClipRegion() const { return clip_; }

    QImage* Image() { return image_; }
    const QImage* Image() const { return image_; }

private:
    template <class Fn>
    void Paint(const QRect& bounds, Fn&& draw);
    // A plain unscaled copy of opaque pixels (32-bit, or one byte each into a colour table);
    // false when the formats do not allow it.
    bool Blit(const QImage& from, QPoint sourceTopLeft, const QRect& dest);
    void BlitRows(const QImage& source, const QRegion& region, QPoint offset);
    void BlitIndexed(const QImage& source, const QRegion& region, QPoint offset);
    bool Fill(const QRect& rect, const QColor& color);
    // False when there is nothing to draw on.
    bool Writable();
    void ApplyPen(QPainter& painter) const;
    void ApplyBrush(QPainter& painter) const;

    QImage* image_;
    std::function<void(const QRect&)> onDraw_;
    std::optional<QRegion> clip_;
};

} // namespace vandora
