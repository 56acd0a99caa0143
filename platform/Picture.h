#pragma once
// Holds one graphic or none and tells its owner when it changes. Copying never takes the
// caller's graphic: the picture always owns a copy.
#include "platform/Graphic.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace vandora {

class TBitmap;

class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return graphic_.get(); }
    bool HasGraphic() const { return graphic_ != nullptr; }
    // Replaces the graphic with a copy of the given one (none when null).
    void SetGraphic(const TGraphic* graphic);
    // Takes a new graphic the caller created for this picture.
    void TakeGraphic(std::unique_ptr<TGraphic> graphic);
    // Copies the other picture's graphic (none when the source is null or has none).
    // Assigning a picture to itself replaces the graphic by a copy of itself.
    void Assign(const TPicture* source);
    // The graphic as a bitmap; a picture holding anything else gets a new empty bitmap.
    TBitmap& Bitmap();

    int Width() const;
    int Height() const;
    // Width and height both 0 (also when there is no graphic).
    bool Empty() const { return Width() == 0 && Height() == 0; }

    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

    // Loads a file by its extension through the graphic registry; raises EInvalidGraphic
    // for an unknown extension, an unreadable file or bad contents, and then keeps the
    // old graphic.
    void LoadFromFile(const QString& path);

    // The persisted data: the graphic's class name as a length-prefixed string, then its
    // saved form. Empty when there is no graphic.
    QByteArray Data() const;
    // Reads persisted data; raises EInvalidGraphic (unknown class, bad contents) and then
    // keeps the old graphic. Empty data clears the picture.
    void SetData(const QByteArray& data);

private:
    void Changed();
    void Adopt(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
    std::function<void()> onChange_;
};

} // namespace vandora
