// On a screen with two device pixels per pixel the map is shown sharp: every picture
// pixel becomes a 2 x 2 block of one colour, never a blend of neighbours.
#include "MorvaneFixture.h"

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
