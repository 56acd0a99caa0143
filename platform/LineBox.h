#pragma once
// The height of a line of text as the forms were designed: from the font file's Windows
// ascent and descent. Qt takes some fonts' smaller typographic metrics instead (the
// metric-compatible Tahoma asks for them), which made labels 2-3 pixels lower than
// designed, set the text higher and cut the tops off accented capitals.
#include <QFont>

namespace vandora {

struct TLineBox {
    int ascent = 0;  // baseline below the top of the line
    int descent = 0; // bottom of the line below the baseline
    int Height() const { return ascent + descent; }
};

// Qt's own metrics for a font without those figures.
TLineBox DesignedLineBox(const QFont& font);

} // namespace vandora
