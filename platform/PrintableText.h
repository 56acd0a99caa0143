#pragma once
// Text from outside (names read from a file) made safe to print or show.
#include <string>
#include <string_view>

namespace vandora {

// Control characters and bytes that are not UTF-8 become #n (the byte's value, as the text
// form writes it), so that neither a terminal nor a message box acts on them; printable
// characters stay as they are.
std::string PrintableText(std::string_view text);

} // namespace vandora
