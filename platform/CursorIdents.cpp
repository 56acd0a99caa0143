#include "platform/CursorIdents.h"

#include "platform/CustomControl.h"

#include <array>

namespace vandora {

namespace {

struct NamedCursor {
    TCursor cursor;
    const char* ident;
};

constexpr std::array<NamedCursor, 10> kNamedCursors{{
    {crDefault, "crDefault"}, {crNone, "crNone"},       {crArrow, "crArrow"},
    {crCross, "crCross"},     {crIBeam, "crIBeam"},     {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},       {crNo, "crNo"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
}};

} // namespace

std::optional<std::string> CursorToIdent(int cursor)
{
    for (const auto& named : kNamedCursors)
        if (named.cursor == cursor)
            return std::string(named.ident);
    return std::nullopt;
}

std::optional<int> IdentToCursor(std::string_view ident)
{
    for (const auto& named : kNamedCursors)
        if (ident == named.ident)
            return named.cursor;
    return std::nullopt;
}

} // namespace vandora
