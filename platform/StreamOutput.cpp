#include "platform/StreamOutput.h"

#include "platform/Exceptions.h"
#include "platform/StreamUtf8.h"

#include <bit>
#include <limits>

namespace vandora {

TValueKind NaturalStringKind(std::string_view utf8)
{
    if (!IsAscii(utf8))
        return TValueKind::Utf8String;
    return utf8.size() <= 255 ? TValueKind::String : TValueKind::LString;
}

void TStreamOutput::WriteSignature()
{
    WriteBytes(kFormSignature);
}

void TStreamOutput::WriteUInt16(std::uint16_t value)
{
    WriteByte(std::uint8_t(value));
    WriteByte(std::uint8_t(value >> 8));
}

void TStreamOutput::WriteUInt32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        WriteByte(std::uint8_t(value >> (8 * i)));
}

void TStreamOutput::WriteUInt64(std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        WriteByte(std::uint8_t(value >> (8 * i)));
}

void TStreamOutput::WriteShortString(std::string_view bytes)
{
    if (bytes.size() > 255)
        throw EWriteError("'" + std::string(bytes.substr(0, 40)) + "...' is longer than 255 bytes");
    WriteByte(std::uint8_t(bytes.size()));
    WriteBytes(bytes);
}

void TStreamOutput::WriteLongBytes(std::string_view bytes)
{
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        throw EWriteError("A value of " + std::to_string(bytes.size()) + " bytes is too long for the stream");
    WriteUInt32(std::uint32_t(bytes.size()));
    WriteBytes(bytes);
}

void TStreamOutput::WriteIntegerAs(TValueKind kind, std::int32_t value)
{
    WriteKind(kind);
    switch (kind) {
    case TValueKind::Int8: WriteByte(std::uint8_t(value)); break;
    case TValueKind::Int16: WriteUInt16(std::uint16_t(value)); break;
    default: WriteUInt32(std::uint32_t(value)); break;
    }
}

void TStreamOutput::WriteExtended(const TExtended& value)
{
    WriteKind(TValueKind::Extended);
    const auto& bytes = value.Raw();
    WriteBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TStreamOutput::WriteDouble(double value)
{
    WriteKind(TValueKind::Double);
    WriteUInt64(std::bit_cast<std::uint64_t>(value));
}

void TStreamOutput::WriteStringAs(TValueKind kind, std::string_view bytes)
{
    WriteKind(kind);
    if (kind == TValueKind::String)
        WriteShortString(bytes);
    else
        WriteLongBytes(bytes);
}

void TStreamOutput::WriteString(std::string_view utf8)
{
    WriteStringAs(NaturalStringKind(utf8), utf8);
}

void TStreamOutput::WriteIdent(std::string_view ident)
{
    WriteKind(TValueKind::Ident);
    WriteShortString(ident);
}

void TStreamOutput::WriteBinary(std::string_view bytes)
{
    WriteKind(TValueKind::Binary);
    WriteLongBytes(bytes);
}

} // namespace vandora
