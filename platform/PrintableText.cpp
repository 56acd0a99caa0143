#include "platform/PrintableText.h"

#include "platform/StreamUtf8.h"

namespace vandora {

namespace {

// The length of the UTF-8 sequence a lead byte announces; 0 for a byte that leads none.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

std::string PrintableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[i]));
        const std::string_view sequence = text.substr(i, length);
        const auto decoded = length > 0 && sequence.size() == length ? DecodeUtf8(sequence) : std::nullopt;
        if (decoded && decoded->size() == 1 && !IsControl(decoded->front())) {
            out += sequence;
            i += length;
        } else {
            out += '#' + std::to_string(static_cast<unsigned char>(text[i]));
            ++i;
        }
    }
    return out;
}

} // namespace vandora
