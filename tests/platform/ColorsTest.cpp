// Colours: RGB values in the stream's byte order, system colours from the palette, and the
// identifiers a form names colours by.
#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

using namespace vandora;

TEST(ColorsTest, AnRgbColourHoldsRedInItsLowByte)
{
    EXPECT_EQ(ColorToRgb(TColor(0x0000FF)), qRgb(255, 0, 0));
    EXPECT_EQ(ColorToRgb(TColor(0xFF0000)), qRgb(0, 0, 255));
    EXPECT_EQ(RgbToColor(qRgb(1, 2, 3)), TColor(0x030201));
    // Only a high byte of $FF names a system colour; any other is left out of the RGB.
    EXPECT_EQ(ColorToRgb(TColor(0x020000FF)), qRgb(255, 0, 0));
}

// The system colours follow the application's palette, also when it changes.
TEST(ColorsTest, SystemColoursComeFromThePalette)
{
    const QPalette original = QGuiApplication::palette();
    EXPECT_EQ(ColorToRgb(clWindow), original.color(QPalette::Base).rgb());
    EXPECT_EQ(ColorToRgb(clWindowText), original.color(QPalette::WindowText).rgb());
    EXPECT_EQ(ColorToRgb(clHighlight), original.color(QPalette::Highlight).rgb());
    EXPECT_EQ(ColorToRgb(clBtnFace), original.color(QPalette::Button).rgb());

    QPalette changed = original;
    changed.setColor(QPalette::Base, QColor(1, 2, 3));
    changed.setColor(QPalette::Highlight, QColor(4, 5, 6));
    QGuiApplication::setPalette(changed);
    EXPECT_EQ(ColorToRgb(clWindow), qRgb(1, 2, 3));
    EXPECT_EQ(ColorToRgb(clHighlight), qRgb(4, 5, 6));
    QGuiApplication::setPalette(original);
}

TEST(ColorsTest, NamedColoursHaveTheirIdentifiersBothWays)
{
    for (const TColor color : {clBlack, clYellow, clPurple, clBtnFace, clNone, clDefault}) {
        const auto ident = ColorToIdent(color);
        ASSERT_TRUE(ident);
        EXPECT_EQ(IdentToColor(*ident), color) << *ident;
    }
    EXPECT_EQ(ColorToIdent(clBtnFace), "clBtnFace");
    EXPECT_FALSE(ColorToIdent(TColor(0x123456)));
    EXPECT_FALSE(IdentToColor("clPink"));
}
