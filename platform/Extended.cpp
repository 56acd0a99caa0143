#include "platform/Extended.h"

#include "platform/HexDigit.h"
#include "platform/RealText.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace vandora {

static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended format");

namespace {

constexpr std::uint64_t kIntegerBit = std::uint64_t(1) << 63;
constexpr int kBias = 16383;

} // namespace

TExtended TExtended::FromBytes(const Bytes& bytes)
{
    TExtended result;
    result.bytes_ = bytes;
    return result;
}

TExtended TExtended::FromParts(bool negative, std::uint16_t exponent, std::uint64_t significand)
{
    TExtended result;
    for (int i = 0; i < 8; ++i)
        result.bytes_[std::size_t(i)] = std::uint8_t(significand >> (8 * i));
    const std::uint16_t word = std::uint16_t((exponent & 0x7FFF) | (negative ? 0x8000 : 0));
    result.bytes_[8] = std::uint8_t(word);
    result.bytes_[9] = std::uint8_t(word >> 8);
    return result;
}

std::uint64_t TExtended::Significand() const
{
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i)
        significand = (significand << 8) | bytes_[std::size_t(i)];
    return significand;
}

TExtended TExtended::FromDouble(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto exponent = int((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    if (exponent == 0x7FF) // infinity or NaN: the payload moves up unchanged
        return FromParts(negative, 0x7FFF, kIntegerBit | (fraction << 11));
    if (exponent == 0) {
        if (fraction == 0)
            return FromParts(negative, 0, 0);
        // A double denormal is a normal extended value.
        const int shift = std::countl_zero(fraction);
        return FromParts(negative, std::uint16_t(kBias - 1022 - (shift - 11)), fraction << shift);
    }
    return FromParts(negative, std::uint16_t(exponent - 1023 + kBias), kIntegerBit | (fraction << 11));
}

TExtended TExtended::FromLongDouble(long double value)
{
    Bytes bytes{};
    std::memcpy(bytes.data(), &value, bytes.size());
    return FromBytes(bytes);
}

long double TExtended::ToLongDouble() const
{
    long double value = 0.0L;
    std::memcpy(&value, bytes_.data(), bytes_.size());
    return value;
}

double TExtended::ToDouble() const
{
    const std::uint64_t significand = Significand();
    const int exponent = Exponent();
    if (exponent == 0x7FFF) {
        const std::uint64_t fraction = significand & ~kIntegerBit;
        std::uint64_t bits = (Negative() ? std::uint64_t(1) << 63 : 0) | (std::uint64_t(0x7FF) << 52);
        if (fraction == 0 && (significand & kIntegerBit) != 0)
            return std::bit_cast<double>(bits); // infinity
        std::uint64_t payload = fraction >> 11;
        if (payload == 0)
            payload = std::uint64_t(1) << 51; // keep it a NaN
        return std::bit_cast<double>(bits | payload);
    }
    // Every finite encoding, odd ones included, is significand * 2^(exponent - 16446); the
    // long double holds that exactly and the conversion rounds once, to nearest.
    const int scale = (exponent == 0 ? 1 : exponent) - kBias - 63;
    const long double magnitude = std::ldexp(static_cast<long double>(significand), scale);
    const double result = static_cast<double>(magnitude);
    return Negative() ? -result : result;
}

bool TExtended::IsCanonical() const
{
    const bool integerBit = (Significand() & kIntegerBit) != 0;
    const int exponent = Exponent();
    if (exponent == 0)
        return !integerBit;
    return exponent != 0x7FFF && integerBit;
}

std::string TExtended::DecimalText() const
{
    if (!IsCanonical())
        return {};
    return ShortestRealText(ToLongDouble());
}

std::string TExtended::HexText() const
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string text;
    for (int i = 9; i >= 0; --i) {
        const std::uint8_t byte = bytes_[std::size_t(i)];
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

std::optional<TExtended> TExtended::FromDecimalText(std::string_view text)
{
    const auto value = ParseLongDoubleText(text);
    if (!value)
        return std::nullopt;
    return FromLongDouble(*value);
}

std::optional<TExtended> TExtended::FromHexText(std::string_view digits)
{
    if (digits.size() != 20)
        return std::nullopt;
    Bytes bytes{};
    for (std::size_t i = 0; i < 10; ++i) {
        const int high = HexDigitValue(digits[2 * i]);
        const int low = HexDigitValue(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[9 - i] = std::uint8_t(high * 16 + low);
    }
    return FromBytes(bytes);
}

} // namespace vandora
