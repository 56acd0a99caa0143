#pragma once
// The binary form of the property stream: its signature, the one-byte value kinds and
// the limits every reader of it enforces.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vandora {

enum class TValueKind : std::uint8_t {
    Null = 0,        // end of a list, of properties or of children
    List = 1,        // values until Null
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,    // 10 bytes, see TExtended
    String = 6,      // 1-byte length, one byte per character
    Ident = 7,       // 1-byte length
    False = 8,
    True = 9,
    Binary = 10,     // 4-byte length
    Set = 11,        // identifiers until an empty one
    LString = 12,    // 4-byte length, one byte per character
    Nil = 13,
    Collection = 14, // items until Null; item: optional integer, List, properties, Null
    Utf8String = 20, // 4-byte length, UTF-8
    Double = 21,     // 8 bytes, IEEE 754
};

inline constexpr std::string_view kFormSignature = "TPF0";

// Components, lists and collections nested deeper than this are rejected, so that a
// hostile stream cannot exhaust the stack.
inline constexpr int kMaxNestingDepth = 64;

// Whether the byte is one of the kinds above.
constexpr bool IsValueKind(std::uint8_t byte)
{
    return byte <= 14 || byte == 20 || byte == 21;
}

constexpr bool IsIntegerKind(TValueKind kind)
{
    return kind == TValueKind::Int8 || kind == TValueKind::Int16 || kind == TValueKind::Int32;
}

constexpr bool IsStringKind(TValueKind kind)
{
    return kind == TValueKind::String || kind == TValueKind::LString || kind == TValueKind::Utf8String;
}

// The narrowest integer kind that holds the value.
constexpr TValueKind ShortestIntegerKind(std::int32_t value)
{
    if (value >= -128 && value <= 127)
        return TValueKind::Int8;
    if (value >= -32768 && value <= 32767)
        return TValueKind::Int16;
    return TValueKind::Int32;
}

} // namespace vandora
