#include "platform/CustomImageList.h"

#include "platform/Canvas.h"
#include "platform/Graphic.h"

#include <QPainter>
#include <algorithm>

namespace vandora {

namespace {

// An image list entry seen as a graphic, so that TCanvas draws it (clip, dirty rectangle).
class TListImage final : public TGraphic {
public:
    explicit TListImage(const QImage& image) : image_(image) {}
    const char* ClassName() const override { return "TListImage"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TListImage>(image_); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    bool Empty() const override { return image_.isNull(); }
    void Draw(QPainter& painter, const QRect& dest) const override { painter.drawImage(dest, image_); }
    QImage ToImage() const override { return image_; }
    void SaveToStream(QByteArray&) const override {}
    void LoadFromStream(const QByteArray&, qsizetype&) override {}
    void LoadFromFileData(const QByteArray&) override {}

private:
    const QImage& image_;
};

// The disabled look: grey levels lightened toward the button face, alpha kept.
QImage Greyed(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return grey.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TCustomImageList::TCustomImageList(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {}

void TCustomImageList::SetSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    images_.clear();
}

int TCustomImageList::Add(const QImage& image)
{
    if (image.isNull())
        return -1;
    const int first = Count();
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (source.height() == height_ && source.width() % width_ == 0) {
        for (int x = 0; x < source.width(); x += width_)
            images_.push_back(source.copy(x, 0, width_, height_));
    } else {
        images_.push_back(source.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    return first;
}

QImage TCustomImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return QImage();
    return images_[std::size_t(index)];
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    const QImage& image = images_[std::size_t(index)];
    if (enabled) {
        canvas.Draw(x, y, TListImage(image));
    } else {
        const QImage grey = Greyed(image);
        canvas.Draw(x, y, TListImage(grey));
    }
}

} // namespace vandora
