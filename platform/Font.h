#pragma once
// A control's font as a form stores it: family name, height in pixels (negative: the
// character height without the internal leading), colour, style and character set.
#include "platform/Colors.h"
#include "platform/Component.h"

#include <QFont>
#include <functional>
#include <string>

namespace vandora {

enum TFontStyle : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };
using TFontStyles = unsigned;
constexpr int DEFAULT_CHARSET = 1;

class TFont : public TPersistent {
public:
    const char* ClassName() const override { return "TFont"; }

    const std::string& Name() const { return name_; }
    void SetName(std::string value);
    int Height() const { return height_; }
    void SetHeight(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    int Charset() const { return charset_; }
    void SetCharset(int value);

    void Assign(const TFont& other);
    // The Qt font: the family (with the metric-compatible substitute the application
    // registered when the family itself is missing), a pixel size and the style.
    QFont ToQFont() const;
    // Told after every change.
    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    void Changed()
    {
        if (onChange_)
            onChange_();
    }

    std::string name_ = "Tahoma";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int charset_ = DEFAULT_CHARSET;
    std::function<void()> onChange_;
};

} // namespace vandora
