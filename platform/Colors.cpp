#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <utility>

namespace vandora {

namespace {

struct NamedColor {
    TColor color;
    const char* ident;
};

constexpr std::array<NamedColor, 22> kNamedColors{{
    {clBlack, "clBlack"},     {clMaroon, "clMaroon"},   {clGreen, "clGreen"},
    {clOlive, "clOlive"},     {clNavy, "clNavy"},       {clPurple, "clPurple"},
    {clTeal, "clTeal"},       {clGray, "clGray"},       {clSilver, "clSilver"},
    {clRed, "clRed"},         {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},       {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
    {clWhite, "clWhite"},     {clNone, "clNone"},       {clDefault, "clDefault"},
    {clWindowText, "clWindowText"}, {clBtnFace, "clBtnFace"}, {clWindow, "clWindow"},
    {clHighlight, "clHighlight"},
}};

QRgb SystemColor(TColor color)
{
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
    case 5: return palette.color(QPalette::Base).rgb();
    case 8: return palette.color(QPalette::WindowText).rgb();
    case 13: return palette.color(QPalette::Highlight).rgb();
    case 15: return palette.color(QPalette::Button).rgb();
    default: return palette.color(QPalette::Window).rgb();
    }
}

} // namespace

QRgb ColorToRgb(TColor color)
{
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) == 0xFF000000u)
        return SystemColor(color);
    const auto c = static_cast<std::uint32_t>(color);
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor RgbToColor(QRgb rgb)
{
    return static_cast<TColor>(std::uint32_t(qRed(rgb)) | (std::uint32_t(qGreen(rgb)) << 8) |
                               (std::uint32_t(qBlue(rgb)) << 16));
}

std::optional<std::string> ColorToIdent(TColor color)
{
    for (const auto& named : kNamedColors)
        if (named.color == color)
            return std::string(named.ident);
    return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view ident)
{
    for (const auto& named : kNamedColors)
        if (ident == named.ident)
            return named.color;
    return std::nullopt;
}

} // namespace vandora
