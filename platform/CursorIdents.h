#pragma once
// The identifiers a persisted form uses for the standard cursors (crDefault, crHandPoint).
#include <optional>
#include <string>
#include <string_view>

namespace vandora {

std::optional<std::string> CursorToIdent(int cursor);
std::optional<int> IdentToCursor(std::string_view ident);

} // namespace vandora
