#pragma once
// Decimal text of reals that reads back to the same bits, independent of the C locale.
#include <optional>
#include <string>
#include <string_view>

namespace vandora {

// The shortest "%.{p}g" text (p from 1 up) that strtod / strtold turn back into exactly
// the same bits, with ".0" appended when it would otherwise read as an integer
// (224 -> "224.0"). Empty for values no such text reproduces (NaN, infinities).
std::string ShortestRealText(double value);
std::string ShortestRealText(long double value);

// Whether the text is a decimal real as the text form writes it: an optional '-', digits,
// optionally '.' and digits, optionally an exponent; at least one of '.' and exponent.
bool IsDecimalRealText(std::string_view text);

// strtod / strtold in the C locale; nullopt unless the whole text is a decimal real within
// the type's range (beyond it is an error rather than infinity).
std::optional<double> ParseDoubleText(std::string_view text);
std::optional<long double> ParseLongDoubleText(std::string_view text);

} // namespace vandora
