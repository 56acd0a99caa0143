#include "platform/RealText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace vandora {

namespace {

// printf and strtod follow the C library's locale, which QCoreApplication sets from the
// environment; the persisted form always uses the C locale's '.'.
class TCLocaleScope {
public:
    TCLocaleScope() : previous_(uselocale(CLocale())) {}
    ~TCLocaleScope() { uselocale(previous_); }
    TCLocaleScope(const TCLocaleScope&) = delete;
    TCLocaleScope& operator=(const TCLocaleScope&) = delete;

private:
    static locale_t CLocale()
    {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return locale;
    }
    locale_t previous_;
};

template <class Real>
bool SameBits(Real a, Real b, std::size_t significantBytes)
{
    return std::memcmp(&a, &b, significantBytes) == 0;
}

std::string WithPointZero(std::string text)
{
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

template <class Real>
std::string Shortest(Real value, int maxPrecision, const char* format, std::size_t significantBytes)
{
    if (!std::isfinite(value))
        return {};
    TCLocaleScope cLocale;
    char buffer[64];
    for (int precision = 1; precision <= maxPrecision; ++precision) {
        std::snprintf(buffer, sizeof buffer, format, precision, value);
        Real back{};
        if constexpr (sizeof(Real) == sizeof(double))
            back = std::strtod(buffer, nullptr);
        else
            back = std::strtold(buffer, nullptr);
        if (SameBits(back, value, significantBytes))
            return WithPointZero(buffer);
    }
    return {};
}

bool Digits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    return pos > start;
}

template <class Real>
std::optional<Real> Parse(std::string_view text)
{
    if (!IsDecimalRealText(text))
        return std::nullopt;
    const std::string copy(text);
    TCLocaleScope cLocale;
    errno = 0;
    Real value;
    if constexpr (sizeof(Real) == sizeof(double))
        value = std::strtod(copy.c_str(), nullptr);
    else
        value = std::strtold(copy.c_str(), nullptr);
    // Beyond the range is a mistake, not infinity; below it rounds to zero or a denormal.
    if (errno == ERANGE && std::isinf(value))
        return std::nullopt;
    return value;
}

} // namespace

std::string ShortestRealText(double value)
{
    return Shortest(value, 17, "%.*g", sizeof(double));
}

std::string ShortestRealText(long double value)
{
    // 21 significant digits tell any two 64-bit significands apart; only the 10 bytes of
    // the 80-bit format carry the value.
    return Shortest(value, 21, "%.*Lg", 10);
}

bool IsDecimalRealText(std::string_view text)
{
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    if (!Digits(text, pos))
        return false;
    bool fraction = false;
    bool exponent = false;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (!Digits(text, pos))
            return false;
        fraction = true;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        if (!Digits(text, pos))
            return false;
        exponent = true;
    }
    return pos == text.size() && (fraction || exponent);
}

std::optional<double> ParseDoubleText(std::string_view text)
{
    return Parse<double>(text);
}

std::optional<long double> ParseLongDoubleText(std::string_view text)
{
    return Parse<long double>(text);
}

} // namespace vandora
