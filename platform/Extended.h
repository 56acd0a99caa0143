#pragma once
// The stream's 10-byte extended real: a 64-bit significand with an explicit integer bit,
// then a 16-bit word of sign and exponent (bias 16383), little-endian. It is kept as its
// bytes, so that any encoding a stream carries (NaN payloads, unnormals) survives.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vandora {

class TExtended {
public:
    using Bytes = std::array<std::uint8_t, 10>;

    TExtended() = default; // +0.0
    static TExtended FromBytes(const Bytes& bytes);
    static TExtended FromParts(bool negative, std::uint16_t exponent, std::uint64_t significand);
    // Exact for every double, NaN payloads included.
    static TExtended FromDouble(double value);
    // The same bits (long double is this format on x86-64).
    static TExtended FromLongDouble(long double value);

    // Rounded to the nearest double; exact for every value FromDouble made. A NaN keeps
    // the top of its payload; an unnormal counts by its numeric value.
    double ToDouble() const;
    long double ToLongDouble() const;

    const Bytes& Raw() const { return bytes_; }
    bool Negative() const { return (bytes_[9] & 0x80) != 0; }
    std::uint16_t Exponent() const { return std::uint16_t((bytes_[8] | (bytes_[9] << 8)) & 0x7FFF); }
    std::uint64_t Significand() const;

    // Zero, denormal or normal with its integer bit where it belongs: the encodings that a
    // decimal text can name exactly.
    bool IsCanonical() const;

    // The shortest decimal text that reads back to these bits ("224.0",
    // "81.9999999999999857891"), or empty when none does (NaN, infinity, odd encodings).
    std::string DecimalText() const;
    // 20 upper-case hex digits: the sign-and-exponent word, then the significand.
    std::string HexText() const;
    static std::optional<TExtended> FromDecimalText(std::string_view text);
    static std::optional<TExtended> FromHexText(std::string_view digits);

    friend bool operator==(const TExtended&, const TExtended&) = default;

private:
    Bytes bytes_{};
};

} // namespace vandora
