#pragma once
// A graphic a picture can hold: a bitmap or a JPEG image.
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

class QPainter;

namespace vandora {

class TGraphic {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic() = default;

    // The persisted class name ("TBitmap", "TJPEGImage").
    virtual const char* ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Holds no image.
    virtual bool Empty() const = 0;

    // Colour-key transparency: when set, pixels of the key colour are skipped when drawn.
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    // Draws the graphic scaled to dest (plain copy; key-colour pixels skipped when Transparent).
    virtual void Draw(QPainter& painter, const QRect& dest) const = 0;
    // The pixels as an opaque image, for composing and tests.
    virtual QImage ToImage() const = 0;

    // The saved form inside a picture's data: a 32-bit little-endian byte count, then the file.
    virtual void SaveToStream(QByteArray& out) const = 0;
    // Reads the saved form starting at pos and advances pos past it. Raises EInvalidGraphic
    // on malformed data and leaves the graphic unchanged then.
    virtual void LoadFromStream(const QByteArray& data, qsizetype& pos) = 0;
    // Reads a whole file's bytes (no count in front).
    virtual void LoadFromFileData(const QByteArray& file) = 0;

    // Called after every change of the pixels, size or transparency.
    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

protected:
    void Changed()
    {
        if (onChange_)
            onChange_();
    }

    bool transparent_ = false;

private:
    std::function<void()> onChange_;
};

// Reads the 32-bit little-endian count that precedes a saved graphic and returns the file
// bytes it announces; raises EInvalidGraphic when the data is shorter than announced.
QByteArray ReadCountedBlock(const QByteArray& data, qsizetype& pos, const char* className);
void WriteCountedBlock(QByteArray& out, const QByteArray& file);

} // namespace vandora
