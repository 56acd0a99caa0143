// On a high-DPI screen the map is shown sharp: at two device pixels per pixel every picture
// pixel becomes a 2 x 2 block of one colour, and at any ratio no device pixel is a blend.
#include "MorvaneFixture.h"

#include <QtMath>
#include <utility>

using namespace vandora;
using namespace vandora::test;

TEST_F(MorvaneFixture, AtTwiceTheDensityEveryPixelIsASharpBlock)
{
    Move(10, 10); // a hover look, to have edges between colours too
    QImage device(control.width() * 2, control.height() * 2, QImage::Format_RGB32);
    device.setDevicePixelRatio(2.0);
    device.fill(Qt::black);
    control.render(&device);
    for (int y = 0; y < control.height(); ++y)
        for (int x = 0; x < control.width(); ++x) {
            const QRgb shown = control.Surface().pixel(x, y) | 0xFF000000u;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    ASSERT_EQ(device.pixel(2 * x + dx, 2 * y + dy) | 0xFF000000u, shown) << x << "," << y;
        }
}

// At a fractional ratio (a desktop set to 125, 150 or 175 %) picture pixels become blocks of
// one or two device pixels, still never a blend: each device pixel shows one of the picture
// pixels it covers.
TEST_F(MorvaneFixture, AtAFractionalDensityEveryDevicePixelIsOneOfItsPicturePixels)
{
    Move(10, 10);
    for (const qreal ratio : {1.25, 1.5, 1.75}) {
        QImage device(qCeil(control.width() * ratio), qCeil(control.height() * ratio), QImage::Format_RGB32);
        device.setDevicePixelRatio(ratio);
        device.fill(Qt::black);
        control.render(&device);
        const auto covered = [ratio](int d) { // first and last picture pixel under device pixel d
            return std::pair{qFloor(d / ratio), qCeil((d + 1) / ratio) - 1};
        };
        for (int y = 0; y + 1 < device.height(); ++y)
            for (int x = 0; x + 1 < device.width(); ++x) {
                const auto [left, right] = covered(x);
                const auto [top, bottom] = covered(y);
                bool found = false;
                for (int py = top; py <= bottom && !found; ++py)
                    for (int px = left; px <= right && !found; ++px)
                        found = (control.Surface().pixel(px, py) | 0xFF000000u) == (device.pixel(x, y) | 0xFF000000u);
                ASSERT_TRUE(found) << ratio << ": device pixel " << x << "," << y;
            }
    }
}
