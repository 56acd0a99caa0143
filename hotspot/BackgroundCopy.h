#pragma once
// Copying the background picture's pixels under a hotspot into one of its looks.
#include "platform/Canvas.h"
#include "platform/Picture.h"

namespace vandora {

enum class TBackgroundCopy {
    // Draw the whole picture into a scratch bitmap of its size, then copy the rectangle.
    WholePicture,
    // Read only the rectangle from the picture's own pixels (same result, no scratch copy
    // for an opaque bitmap).
    NeededRectangle,
};

// Copies rectangle source of the picture into dest on the canvas, scaled when the sizes
// differ. Pixels of dest that lie outside the picture are white.
void CopyBackground(const TPicture& picture, TCanvas& canvas, const TRect& dest, const TRect& source,
                    TBackgroundCopy mode);

} // namespace vandora
