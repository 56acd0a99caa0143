#include "platform/PrintableText.h"

#include "platform/StreamUtf8.h"

namespace vandora {

namespace {

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The length of the printable character that starts at `at`: 1 for printable ASCII, 2 to
// 4 for a whole UTF-8 sequence of a character that is not a control; 0 for anything else.
std::size_t PrintableLength(std::string_view text, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80)
        return IsControl(byte) ? 0 : 1;
    for (std::size_t length = 2; length <= 4; ++length) {
        const auto decoded = DecodeUtf8(text.substr(at, length));
        if (decoded && decoded->size() == 1)
            return IsControl(decoded->front()) ? 0 : length;
    }
    return 0;
}

} // namespace

std::string PrintableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = PrintableLength(text, i); length > 0) {
            out += text.substr(i, length);
            i += length;
        } else {
            out += '#' + std::to_string(static_cast<unsigned char>(text[i]));
            ++i;
        }
    }
    return out;
}

} // namespace vandora
