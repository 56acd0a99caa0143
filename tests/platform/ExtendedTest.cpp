#include "platform/Extended.h"
#include "platform/RealText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace vandora;

namespace {

TExtended::Bytes BytesOf(std::initializer_list<int> values)
{
    TExtended::Bytes bytes{};
    std::size_t i = 0;
    for (int v : values)
        bytes[i++] = std::uint8_t(v);
    return bytes;
}

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

} // namespace

TEST(ExtendedTest, WidensDoublesToTheDocumentedBytes)
{
    EXPECT_EQ(TExtended::FromDouble(224.0).Raw(), BytesOf({0, 0, 0, 0, 0, 0, 0, 0xE0, 0x06, 0x40}));
    EXPECT_EQ(TExtended::FromDouble(2.0).Raw(), BytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x40}));
    EXPECT_EQ(TExtended::FromDouble(-1.0).Raw(), BytesOf({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF}));
    EXPECT_EQ(TExtended::FromDouble(0.0).Raw(), BytesOf({}));
    // The hardware conversion agrees wherever it is exact.
    for (double v : {1.5, 81.99999999999999, 165.1428571428571, 1e-310, -3e300, 5e-324})
        EXPECT_EQ(TExtended::FromDouble(v), TExtended::FromLongDouble(static_cast<long double>(v))) << v;
}

TEST(ExtendedTest, DoublesSurviveTheRoundTripBitForBit)
{
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             81.99999999999999,
                             251.7496928746929,
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::bit_cast<double>(std::uint64_t(0x7FF8000000000001)),  // quiet NaN, payload
                             std::bit_cast<double>(std::uint64_t(0x7FF0000000000001)),  // signalling NaN
                             std::bit_cast<double>(std::uint64_t(0xFFF4000000ABCDEF))}; // negative NaN
    for (double v : values)
        EXPECT_EQ(Bits(TExtended::FromDouble(v).ToDouble()), Bits(v)) << std::hex << Bits(v);
}

TEST(ExtendedTest, NarrowsOtherValuesToTheNearestDouble)
{
    // 1 + 2^-60 is not a double: it rounds to 1.
    EXPECT_EQ(TExtended::FromParts(false, 16383, (std::uint64_t(1) << 63) | 8).ToDouble(), 1.0);
    // Too large for a double: infinity; too small: zero.
    EXPECT_EQ(TExtended::FromParts(false, 16383 + 2000, std::uint64_t(1) << 63).ToDouble(),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(TExtended::FromParts(true, 1, std::uint64_t(1) << 63).ToDouble(), -0.0);
    // An unnormal (integer bit clear) counts by its value: 0.5 * 2^1 = 1.
    EXPECT_EQ(TExtended::FromParts(false, 16384, std::uint64_t(1) << 62).ToDouble(), 1.0);
    EXPECT_FALSE(TExtended::FromParts(false, 16384, std::uint64_t(1) << 62).IsCanonical());
    // A pseudo-infinity (integer bit clear) is no infinity.
    EXPECT_TRUE(std::isnan(TExtended::FromParts(false, 0x7FFF, 0).ToDouble()));
}

TEST(ExtendedTest, DecimalTextIsTheShortestThatReadsBackExactly)
{
    EXPECT_EQ(TExtended::FromDouble(224.0).DecimalText(), "224.0");
    EXPECT_EQ(TExtended::FromDouble(2.0).DecimalText(), "2.0");
    EXPECT_EQ(TExtended::FromDouble(-0.0).DecimalText(), "-0.0");
    EXPECT_EQ(TExtended::FromDouble(0.5).DecimalText(), "0.5");
    EXPECT_EQ(TExtended::FromDouble(1e300).DecimalText(), "1.0000000000000000525e+300");
    // The double nearest 0.1 is not the extended nearest 0.1, so it needs more digits.
    EXPECT_EQ(TExtended::FromDouble(0.1).DecimalText(), "0.10000000000000000555");
    for (double v : {81.99999999999999, 165.1428571428571, 5e-324, -1.7976931348623157e308}) {
        const TExtended value = TExtended::FromDouble(v);
        const std::string text = value.DecimalText();
        ASSERT_FALSE(text.empty()) << v;
        EXPECT_EQ(TExtended::FromDecimalText(text), value) << text;
        EXPECT_EQ(Bits(TExtended::FromDecimalText(text)->ToDouble()), Bits(v)) << text;
    }
    // Every 80-bit value with a full 64-bit significand survives its text.
    const TExtended odd = TExtended::FromParts(true, 16390, 0xE123456789ABCDEF);
    EXPECT_EQ(TExtended::FromDecimalText(odd.DecimalText()), odd);
    const TExtended denormal = TExtended::FromParts(false, 0, 0x0000000000000123);
    EXPECT_EQ(TExtended::FromDecimalText(denormal.DecimalText()), denormal);
}

TEST(ExtendedTest, EncodingsNoDecimalNamesHaveOnlyHexText)
{
    const TExtended nan = TExtended::FromDouble(std::bit_cast<double>(std::uint64_t(0x7FF0000000000001)));
    EXPECT_EQ(nan.DecimalText(), "");
    EXPECT_EQ(nan.HexText(), "7FFF8000000000000800");
    EXPECT_EQ(TExtended::FromHexText(nan.HexText()), nan);
    EXPECT_EQ(TExtended::FromDouble(std::numeric_limits<double>::infinity()).DecimalText(), "");
    EXPECT_EQ(TExtended::FromParts(false, 16384, 1).DecimalText(), "");          // unnormal
    EXPECT_EQ(TExtended::FromParts(false, 0, std::uint64_t(1) << 63).DecimalText(), ""); // pseudo-denormal
    EXPECT_FALSE(TExtended::FromHexText("7FFF800000000000080"));  // 19 digits
    EXPECT_FALSE(TExtended::FromHexText("7FFF80000000000008G0")); // not hex
    EXPECT_FALSE(TExtended::FromHexText("7FFF800000000000080G")); // nor in a byte's low digit
    EXPECT_FALSE(TExtended::FromHexText("7FFF80000000000008000")); // 21 digits
}

TEST(ExtendedTest, RealTextSyntax)
{
    EXPECT_EQ(ShortestRealText(1.5), "1.5");
    EXPECT_EQ(ShortestRealText(224.0), "224.0");
    EXPECT_EQ(ShortestRealText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_TRUE(IsDecimalRealText("-1.5e-05"));
    EXPECT_TRUE(IsDecimalRealText("1e300"));
    EXPECT_FALSE(IsDecimalRealText("15"));
    EXPECT_FALSE(IsDecimalRealText("1."));
    EXPECT_FALSE(IsDecimalRealText(".5"));
    EXPECT_FALSE(IsDecimalRealText("inf"));
    EXPECT_TRUE(IsDecimalRealText("2.5E+3"));
    EXPECT_FALSE(IsDecimalRealText("+1.5"));
    EXPECT_FALSE(IsDecimalRealText("1.5x"));
    // The shortest text may take one digit or all seventeen.
    EXPECT_EQ(ShortestRealText(5e-324), "5e-324");
    EXPECT_EQ(ShortestRealText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(ParseDoubleText("0.25"), 0.25);
    EXPECT_FALSE(ParseDoubleText("0,25"));
    EXPECT_FALSE(ParseDoubleText("1e309"));
    EXPECT_FALSE(ParseLongDoubleText("-1e4933"));
    EXPECT_TRUE(ParseLongDoubleText("1e309"));
    EXPECT_EQ(ParseDoubleText("1e-400"), 0.0);
}
