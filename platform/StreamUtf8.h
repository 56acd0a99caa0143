#pragma once
// Strict UTF-8 for the stream's strings: no overlong forms, no surrogates, nothing above
// U+10FFFF.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
// False for surrogates and values above U+10FFFF (nothing is appended then).
bool AppendUtf8(std::string& out, char32_t codePoint);
bool IsAscii(std::string_view bytes);
// Each byte as the code point of the same number (the one-byte string kinds).
std::string Latin1ToUtf8(std::string_view bytes);

} // namespace vandora
