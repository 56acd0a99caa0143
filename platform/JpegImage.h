#pragma once
// A JPEG picture, decoded and encoded with libjpeg. Corrupt or truncated data raises
// EInvalidGraphic; the decoder never ends the process.
#include "platform/Graphic.h"

namespace vandora {

class TJPEGImage final : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    const char* ClassName() const override { return "TJPEGImage"; }
    std::unique_ptr<TGraphic> Clone() const override;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    bool Empty() const override { return image_.isNull(); }

    void Draw(QPainter& painter, const QRect& dest) const override;
    QImage ToImage() const override { return image_; }

    void SaveToStream(QByteArray& out) const override;
    void LoadFromStream(const QByteArray& data, qsizetype& pos) override;
    void LoadFromFileData(const QByteArray& file) override;

    // Encodes the pixels (quality 1..100) and keeps the encoded file as this image's data.
    void Assign(const QImage& image, int quality = 90);
    const QByteArray& FileData() const { return file_; }

private:
    QImage image_;   // decoded pixels, Format_RGB32
    QByteArray file_; // the JPEG file
};

// libjpeg over a memory buffer. Both raise EInvalidGraphic with libjpeg's own message.
QImage DecodeJpeg(const QByteArray& file);
QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace vandora
