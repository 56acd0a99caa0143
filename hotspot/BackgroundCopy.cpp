#include "hotspot/BackgroundCopy.h"

#include "platform/Bitmap.h"

namespace vandora {

void CopyBackground(const TPicture& picture, TCanvas& canvas, const TRect& dest, const TRect& source,
                    TBackgroundCopy mode)
{
    const TGraphic* graphic = picture.Graphic();
    if (graphic == nullptr)
        return;
    canvas.Brush.Color = clWhite;
    canvas.FillRect(dest);
    const auto* bitmap = dynamic_cast<const TBitmap*>(graphic);
    if (mode == TBackgroundCopy::NeededRectangle && bitmap != nullptr && !bitmap->Transparent()) {
        canvas.CopyRect(dest, bitmap->Image(), source);
        return;
    }
    TBitmap scratch(graphic->Width(), graphic->Height());
    scratch.Canvas().Draw(0, 0, *graphic);
    canvas.CopyRect(dest, scratch.Image(), source);
}

} // namespace vandora
