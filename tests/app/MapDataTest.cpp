// The built-in map: the 34 country hotspots and the picture, as the program loads them.
#include "app/Unit2.h"
#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/Bitmap.h"
#include "platform/StreamForm.h"
#include "MapCountries.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace vandora;
using vandora::test::MapCountries;
using vandora::test::TMapCountry;

namespace {


class MapData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterForm2Classes();
        form = new TForm2();
    }
    static void TearDownTestSuite()
    {
        delete form;
        form = nullptr;
    }
    static TMorvane& Map() { return *form->Morvane1; }
    static const THotSpot& Spot(int i) { return *Map().HotSpots().Item(i); }

    static TForm2* form;
};

TForm2* MapData::form = nullptr;

bool Crosses(TPoint a, TPoint b, TPoint c, TPoint d)
{
    auto orient = [](TPoint p, TPoint q, TPoint r) {
        const long long v = (long long)(q.x - p.x) * (r.y - p.y) - (long long)(q.y - p.y) * (r.x - p.x);
        return (v > 0) - (v < 0);
    };
    const int o1 = orient(a, b, c), o2 = orient(a, b, d), o3 = orient(c, d, a), o4 = orient(c, d, b);
    return o1 * o2 < 0 && o3 * o4 < 0;
}

} // namespace

TEST_F(MapData, TheHotspotsAreTheTableInItsOrder)
{
    ASSERT_EQ(Map().HotSpots().Count(), 34);
    EXPECT_EQ(Map().geometry(), QRect(8, 95, 400, 407));
    EXPECT_TRUE(Map().AutoSize());
    EXPECT_EQ(Map().Color(), clBlack);
    for (int i = 0; i < 34; ++i) {
        const THotSpot& h = Spot(i);
        const TMapCountry& c = MapCountries[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.ID(), c.id);
        EXPECT_EQ(h.Name(), c.name);
        EXPECT_EQ(h.X(), c.x);
        EXPECT_EQ(h.Y(), c.y);
        EXPECT_EQ(h.Width(), c.width);
        EXPECT_EQ(h.Height(), c.height);
        EXPECT_EQ(h.ShapeType(), stPolygon);
        EXPECT_TRUE(h.Clipped());
        EXPECT_EQ(h.Angle(), 0);
        EXPECT_EQ(h.HoverColor(), clYellow);
        EXPECT_EQ(h.ClickColor(), clGray);
        EXPECT_EQ(h.SelectedColor(), clRed);
        EXPECT_EQ(h.BlinkColor(), clWhite);
        EXPECT_EQ(h.HoverImageIndex(), -1);
        EXPECT_EQ(h.BlinkImageIndex(), -1);
        EXPECT_FALSE(h.Down() || h.Selected() || h.Blink() || h.ShowClick());
        for (const TRealPoint& p : h.Shape().Points()) {
            EXPECT_TRUE(p.x >= 12 && p.x <= 399 && p.y >= 2 && p.y <= 405) << p.x << "," << p.y;
        }
    }
}

TEST_F(MapData, LuxemburgIsItsFiveVerticesBitForBit)
{
    const TPoints expected{{165.1428571428571, 251.7496928746929}, {167.8857142857143, 255.7238943488944},
                           {165.1428571428571, 256.7174447174447}, {164.2285714285715, 255.7238943488944},
                           {164.2285714285715, 252.7432432432432}};
    EXPECT_EQ(Spot(33).Shape().Points(), expected);
}

TEST_F(MapData, EveryOutlineIsASimpleRing)
{
    for (int i = 0; i < 34; ++i) {
        const TPoints& points = Spot(i).Shape().Points();
        const std::size_t n = points.size();
        ASSERT_GE(n, 3u);
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = a + 2; b < n; ++b) {
                if (a == 0 && b == n - 1)
                    continue; // neighbours through the closing edge
                const TPoint p1 = RoundPoint(points[a]), p2 = RoundPoint(points[(a + 1) % n]);
                const TPoint q1 = RoundPoint(points[b]), q2 = RoundPoint(points[(b + 1) % n]);
                ASSERT_FALSE(Crosses(p1, p2, q1, q2)) << Spot(i).Name() << " edges " << a << " and " << b;
            }
    }
}

TEST_F(MapData, ThePictureIsTheFourBitFileOfTwoColours)
{
    const QByteArray data = Map().Picture().Data();
    ASSERT_EQ(data.size(), 81530);
    EXPECT_EQ(data.left(8), QByteArray("\x07TBitmap"));
    const auto* b = reinterpret_cast<const uchar*>(data.constData() + 8);
    EXPECT_EQ(qFromLittleEndian<quint32>(b), 81518u);
    const uchar* file = b + 4;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 2), 81518u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 10), 118u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 14), 40u);
    EXPECT_EQ(qFromLittleEndian<qint32>(file + 18), 400);
    EXPECT_EQ(qFromLittleEndian<qint32>(file + 22), 407);
    EXPECT_EQ(qFromLittleEndian<quint16>(file + 26), 1);
    EXPECT_EQ(qFromLittleEndian<quint16>(file + 28), 4);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 30), 0u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 34), 81400u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 38), 2834u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 46), 16u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file + 50), 16u);
    const uchar silver[4] = {192, 192, 192, 0};
    EXPECT_EQ(std::memcmp(file + 54 + 7 * 4, silver, 4), 0);
    int counts[16] = {};
    for (int i = 118; i < 81518; ++i) {
        ++counts[file[i] >> 4];
        ++counts[file[i] & 15];
    }
    EXPECT_EQ(counts[7] + counts[15], 2 * 81400);
    const double land = counts[7] / (400.0 * 407.0);
    EXPECT_GT(land, 0.40);
    EXPECT_LT(land, 0.50);
    // Loaded and never changed, it saves back byte for byte.
    EXPECT_EQ(Map().Picture().Width(), 400);
}

TEST_F(MapData, APointDeepInsideEachCountryFindsThatCountry)
{
    const QImage& picture = static_cast<const TBitmap*>(Map().Picture().Graphic())->Image();
    for (int i = 0; i < 34; ++i) {
        const THotSpot& h = Spot(i);
        int found = 0, inside = 0, silver = 0;
        for (int y = h.Y(); y <= h.Bottom(); ++y)
            for (int x = h.X(); x <= h.Right(); ++x) {
                if (h.Shape().PtInShape(x, y) == 0)
                    continue;
                ++inside;
                if ((picture.pixel(x, y) & 0xFFFFFF) == 0xC0C0C0)
                    ++silver;
                if (Map().HotSpotAt(x, y) == i)
                    ++found;
            }
        SCOPED_TRACE(h.Name());
        ASSERT_GT(inside, 0);
        EXPECT_GT(double(silver) / inside, 0.7) << "the outline traces land";
        EXPECT_GT(double(found) / inside, 0.5) << "most of it is this country's";
    }
}

TEST_F(MapData, LuxemburgWinsWhereItOverlapsBelgium)
{
    const THotSpot& lux = Spot(33);
    const THotSpot& belgium = Spot(21);
    ASSERT_EQ(belgium.Name(), "Belgium");
    int shared = 0;
    for (int y = lux.Y(); y <= lux.Bottom(); ++y)
        for (int x = lux.X(); x <= lux.Right(); ++x)
            if (lux.Shape().PtInShape(x, y) && belgium.Shape().PtInShape(x, y)) {
                ++shared;
                EXPECT_EQ(Map().HotSpotAt(x, y), 33);
            }
    EXPECT_GT(shared, 0);
}
