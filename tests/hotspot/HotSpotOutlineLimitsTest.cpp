// Outlines at the edges of what the numbers hold: points beyond the 32-bit range, reals
// that are not numbers. Each case is an input the fuzz targets once tripped over.
#include "fuzz/PolyPointsForm.h"
#include "hotspot/HotSpot.h"
#include "hotspot/HotSpotShape.h"
#include "hotspot/HotSpots.h"
#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/StreamForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

using namespace vandora;

namespace {

constexpr int kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr int kIntMax = std::numeric_limits<std::int32_t>::max();

// A PolyPoints value: count, angle 0, then each coordinate as a double.
QByteArray Outline(std::initializer_list<double> coordinates)
{
    QByteArray value("\x01\x02", 2);
    value.append(char(coordinates.size() / 2));
    value.append("\x02\x00", 2);
    for (double c : coordinates) {
        char bytes[8];
        std::memcpy(bytes, &c, 8);
        value.append('\x15');
        value.append(bytes, 8);
    }
    value.append('\0');
    return value;
}

} // namespace

TEST(HotSpotOutlineLimits, PointsSpanningMoreThanAnIntGiveTheWidestBox)
{
    THotSpotShape shape(stPolygon);
    shape.SetPoints({{-3e9, 0.0}, {3e9, 0.0}, {0.0, 1.0}});
    EXPECT_EQ(shape.X(), kIntMin);
    EXPECT_EQ(shape.Width(), kIntMax);
    EXPECT_EQ(shape.Y(), 0);
    EXPECT_EQ(shape.Height(), 1);

    shape.SetPoints({{0.0, -1e300}, {1.0, 1e300}, {2.0, 0.0}});
    EXPECT_EQ(shape.Y(), kIntMin);
    EXPECT_EQ(shape.Height(), kIntMax);
    EXPECT_EQ(shape.Width(), 2);
}

TEST(HotSpotOutlineLimits, AStoredOutlineWiderThanAnIntReadsAndRoundTrips)
{
    RegisterMorvaneClasses();
    const std::unique_ptr<TComponent> root =
        ReadForm(fuzz::PolyPointsForm(Outline({-3e9, 0.0, 3e9, 0.0, 0.0, 1.0})));
    auto& morvane = dynamic_cast<TMorvane&>(*root);
    ASSERT_EQ(morvane.HotSpots().Count(), 1);
    const THotSpot& spot = *morvane.HotSpots().Item(0);
    EXPECT_EQ(spot.X(), kIntMin);
    EXPECT_EQ(spot.Width(), kIntMax);

    const std::unique_ptr<TComponent> again = ReadForm(WriteFormBinary(morvane));
    const THotSpot& reread = *dynamic_cast<TMorvane&>(*again).HotSpots().Item(0);
    EXPECT_EQ(reread.Shape().Points(), spot.Shape().Points());
    EXPECT_EQ(reread.BoundsRect(), spot.BoundsRect());
}

TEST(HotSpotOutlineLimits, AHotspotTooLargeForABitmapHasNoLooksInsteadOfTakingAllMemory)
{
    TMorvane control;
    THotSpot* spot = control.HotSpots().AddHotSpot();
    spot->SetCorners(0, 0, 20000, 20000); // 400 million pixels per look
    spot->SetClipped(true);
    EXPECT_EQ(spot->Width(), 20000);
    EXPECT_TRUE(spot->HoverClippedBitmap().Empty());
    EXPECT_TRUE(spot->BlinkClippedBitmap().Empty());

    spot->SetCorners(0, 0, 30, 20); // back to a size that has looks
    spot->SetClipped(true);
    EXPECT_EQ(spot->HoverClippedBitmap().Width(), 30);
    EXPECT_EQ(spot->HoverClippedBitmap().Height(), 20);
}

TEST(HotSpotOutlineLimits, AnOutlineReachingPastEveryIntWritesAndReadsBack)
{
    // Published after the points, Clipped rebuilds the looks of a box as wide as an int.
    RegisterMorvaneClasses();
    const std::unique_ptr<TComponent> root =
        ReadForm(fuzz::PolyPointsForm(Outline({0.0, 0.0, 1e300, 0.0, 5.0, -1e300})));
    const QByteArray written = WriteFormBinary(*root);
    const std::unique_ptr<TComponent> again = ReadForm(written);
    const THotSpot& spot = *dynamic_cast<TMorvane&>(*again).HotSpots().Item(0);
    EXPECT_EQ(spot.Width(), kIntMax);
    EXPECT_EQ(spot.Height(), kIntMax);
    EXPECT_TRUE(spot.HoverClippedBitmap().Empty());
    EXPECT_EQ(WriteFormBinary(*again), written);
}

// A box whose far edge lies past the int range ends at the range's edge: it must neither
// wrap round onto the picture nor overflow in the point tests.
TEST(HotSpotOutlineLimits, ABoxReachingPastTheIntRangeStaysWhereItWasPut)
{
    TMorvane control;
    for (const TSpotShapeType type : {stRectangle, stEllipse}) {
        THotSpot* far = control.HotSpots().AddHotSpot();
        far->SetShapeType(type);
        far->SetX(2000000000);
        far->SetHeight(10);
        far->SetWidth(2000000000);
        EXPECT_EQ(far->X(), 2000000000) << "shape type " << int(type);
        EXPECT_EQ(far->Right(), kIntMax);
        EXPECT_EQ(far->ContainsPoint(10, 5), 0);
        EXPECT_EQ(far->ContainsPoint(far->X() + far->Width() / 2, 5), 1);
    }
    THotSpot* left = control.HotSpots().AddHotSpot();
    left->SetCorners(kIntMin, 0, kIntMin + 10, 10);
    left->SetRight(kIntMax);
    EXPECT_EQ(left->X(), kIntMin);
    EXPECT_EQ(left->Width(), kIntMax);
    EXPECT_EQ(left->ContainsPoint(0, 5), 0) << "the widest box ends at -1";
    EXPECT_EQ(left->ContainsPoint(-1, 5), 1);
}

// Looks of boxes out at the ends of the range, as a form may store them: composed without
// any sum overflowing (the sanitizer build checks the arithmetic).
TEST(HotSpotOutlineLimits, LooksOfBoxesAtTheEndsOfTheRangeAreComposed)
{
    TMorvane control;
    control.Picture().Bitmap().SetSize(16, 16);
    THotSpot* far = control.HotSpots().AddHotSpot();
    far->SetCorners(kIntMin, kIntMin, kIntMin + 10, kIntMin + 10);
    far->SetClipped(true);
    EXPECT_EQ(far->HoverClippedBitmap().Width(), 10);

    // Stretched, the box's place in the picture spans more than the int range.
    TMorvane stretched;
    stretched.SetBounds(0, 0, 1, 1);
    stretched.Picture().Bitmap().SetSize(4096, 1);
    stretched.SetStretch(true);
    THotSpot* wide = stretched.HotSpots().AddHotSpot();
    wide->SetCorners(-(1 << 20), 0, 1 << 20, 1);
    wide->SetClipped(true);
    EXPECT_EQ(wide->HoverClippedBitmap().Width(), 1 << 21);
}
