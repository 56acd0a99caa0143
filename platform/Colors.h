#pragma once
// Colours as 32-bit values with red in the low byte, green next, blue third.
// Values with the top byte 0xFF name a system colour (button face, window text, ...).
#include <QColor>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vandora {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// As a look's colour: no fill at all.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: the desktop's palette decides their value.
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clHighlight = clSystemColor | 13;

// The red, green and blue of a colour as Qt's packed 0xAARRGGBB (opaque).
// System colours are looked up in the application palette.
QRgb ColorToRgb(TColor color);
inline QColor ColorToQColor(TColor color) { return QColor::fromRgb(ColorToRgb(color)); }
TColor RgbToColor(QRgb rgb);

// The identifiers a persisted form uses for the named colours (clYellow, clBtnFace, ...).
std::optional<std::string> ColorToIdent(TColor color);
std::optional<TColor> IdentToColor(std::string_view ident);

} // namespace vandora
