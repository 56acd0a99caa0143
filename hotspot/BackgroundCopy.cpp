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
    const TBitmap* bitmap = OpaqueBitmap(*graphic);
    if (mode == TBackgroundCopy::NeededRectangle && bitmap != nullptr) {
        // White shows only where the rectangle reaches past the picture.
        const bool copyCoversDest = dest.Width() == source.Width() && dest.Height() == source.Height() &&
                                    source.Left >= 0 && source.Top >= 0 && source.Right <= bitmap->Width() &&
                                    source.Bottom <= bitmap->Height();
        if (!copyCoversDest)
            canvas.FillRect(dest);
        canvas.CopyRect(dest, bitmap->Image(), source);
        return;
    }
    canvas.FillRect(dest);
    TBitmap scratch(graphic->Width(), graphic->Height());
    scratch.Canvas().Draw(0, 0, *graphic);
    canvas.CopyRect(dest, scratch.Image(), source);
}

} // namespace vandora
