#include "platform/Font.h"

#include <QFontMetricsF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace vandora {

void TFont::SetName(std::string value)
{
    name_ = std::move(value);
    Changed();
}

void TFont::SetHeight(int value)
{
    height_ = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    color_ = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    style_ = value;
    Changed();
}

void TFont::SetCharset(int value)
{
    charset_ = value;
    Changed();
}

void TFont::Assign(const TFont& other)
{
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    charset_ = other.charset_;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont font(QString::fromStdString(name_));
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    font.setStyleHint(QFont::SansSerif);
    // In 64 bits: the magnitude of the smallest int does not fit in an int.
    const int magnitude = int(std::clamp<std::int64_t>(std::abs(std::int64_t(height_)), 1, INT_MAX));
    font.setPixelSize(magnitude);
    if (height_ > 0) {
        // A positive height is the whole cell, internal leading included: the characters
        // are that much smaller (measured on the face that will be used, style and all).
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > magnitude)
            font.setPixelSize(std::max(1, int(std::lround(magnitude * (magnitude / cell)))));
    }
    return font;
}

} // namespace vandora
