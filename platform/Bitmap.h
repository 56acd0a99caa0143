#pragma once
// An off-screen surface of 24-bit colour with colour-key transparency.
#include "platform/Canvas.h"
#include "platform/Graphic.h"

#include <cstdint>
#include <memory>

namespace vandora {

class TBitmap final : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    const char* ClassName() const override { return "TBitmap"; }
    std::unique_ptr<TGraphic> Clone() const override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    // The most pixels a bitmap holds (256 MiB of them). A larger size raises
    // EInvalidGraphic and leaves the bitmap as it was. Fuzzing builds hold less: a form
    // may ask for several looks near the limit, each taking seconds under the sanitizers,
    // and the fuzzer would stall on them instead of searching.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr std::int64_t kMaxPixels = 4 * 1024 * 1024;
#else
    static constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;
#endif
    // Pixels kept keep their place; new ones are white.
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void SetSize(int width, int height);

    TCanvas& Canvas() { return *canvas_; }
    const TCanvas& Canvas() const { return *canvas_; }

    // The key colour: the colour of the bottom-left pixel (column 0, last row).
    TColor TransparentColor() const;

    void Draw(QPainter& painter, const QRect& dest) const override;
    // The pixels as drawn: with Transparent, the key colour see-through (32-bit with alpha).
    const QImage& DrawImage() const;
    QImage ToImage() const override { return image_; }
    // The pixels: 32-bit, or one byte each into a colour table after Compact().
    const QImage& Image() const { return image_; }
    // Keeps the same pixels in one byte each when they hold no more than 256 colours
    // (a look over a paletted map holds a handful); the canvas brings back four bytes at
    // the first drawing. False when the pixels stay as they are.
    bool Compact();
    // Replaces the pixels (converted to 24-bit colour).
    void Assign(const QImage& image);

    void SaveToStream(QByteArray& out) const override;
    void LoadFromStream(const QByteArray& data, qsizetype& pos) override;
    void LoadFromFileData(const QByteArray& file) override;
    // The bitmap file: the bytes it was loaded from while unchanged, else a 24-bit file.
    QByteArray FileData() const;

private:
    void PixelsChanged();

    // A bitmap may have a width without a height for a while (sizing is two steps), so the
    // size is kept apart from the pixels, which exist only when both are non-zero.
    int width_ = 0;
    int height_ = 0;
    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
    QByteArray original_;          // file as loaded; dropped at the first change
    mutable QImage masked_;        // image_ with the key colour made transparent
    mutable bool maskedValid_ = false;
};

// The graphic as a bitmap whose every pixel is drawn as it is (not empty, no key colour),
// so that its pixels can be copied or shared instead of painted; else null.
const TBitmap* OpaqueBitmap(const TGraphic& graphic);

// Parses a bitmap file. Raises EInvalidGraphic with the reason when the header does not
// hold together or promises more pixels than the file carries.
QImage DecodeBitmapFile(const QByteArray& file);
QByteArray EncodeBitmapFile24(const QImage& image);

} // namespace vandora
