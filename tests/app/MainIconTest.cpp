// The icon built into the program is the installed icon, pixel for pixel: both come from
// tools/icon/make_icon.py, the program's copy as raw pixels.
#include "app/Unit2.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace vandora;

TEST(MainIcon, IsTheInstalledIconPixelForPixel)
{
    const QImage icon = MainIcon();
    ASSERT_FALSE(icon.isNull());
    ASSERT_EQ(icon.size(), QSize(32, 32));
    const QImage installed(QStringLiteral(VANDORA_SOURCE_DIR "/app/icons/MAINICON.png"));
    ASSERT_FALSE(installed.isNull());
    EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32), installed.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the corners are see-through";
    EXPECT_EQ(icon.pixel(16, 16) | 0xFF000000u, qRgb(255, 255, 0)) << "the country in the middle is yellow";
}
