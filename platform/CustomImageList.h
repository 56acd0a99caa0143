#pragma once
// A list of same-sized images, drawn by index onto a canvas.
#include "platform/Component.h"

#include <QImage>
#include <vector>

namespace vandora {

class TCanvas;

class TCustomImageList : public TComponent {
public:
    // The framework's default image size is 16 x 16.
    explicit TCustomImageList(int width = 16, int height = 16);

    const char* ClassName() const override { return "TCustomImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list, as the framework does.
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    void SetSize(int width, int height);

    int Count() const { return int(images_.size()); }
    // Appends an image and returns the index of the first one added. An image of the list's
    // height whose width is a multiple of the list's width is a strip: it adds one image per
    // Width() columns. Any other size is scaled to Width() x Height(). A null image adds
    // nothing and gives -1. Alpha in the image is kept (transparent pixels are not drawn).
    int Add(const QImage& image);
    void Clear() { images_.clear(); }
    // The image at the index (ARGB32), or a null image outside the list.
    QImage Image(int index) const;

    // Draws image index with its top-left corner at (x, y), within the canvas clip. A
    // disabled image is drawn greyed. An index outside the list draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    int width_;
    int height_;
    std::vector<QImage> images_; // Format_ARGB32_Premultiplied, width_ x height_
};

} // namespace vandora
