#include "platform/Font.h"

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
    font.setPixelSize(std::max(1, std::abs(height_)));
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace vandora
