#include "platform/StreamInput.h"

#include "platform/Exceptions.h"

#include <bit>
#include <cstring>

namespace vandora {

TStreamInput::TStreamInput(std::string_view data) : data_(data) {}

std::string TStreamInput::Describe(std::size_t offset) const
{
    if (describer_)
        return describer_(offset);
    return "byte offset " + std::to_string(offset);
}

void TStreamInput::Fail(const std::string& what, std::size_t offset) const
{
    throw EReadError(what + " (" + Describe(offset) + ")");
}

void TStreamInput::Need(std::size_t count) const
{
    if (count > Remaining())
        Fail("Unexpected end of the stream", pos_);
}

void TStreamInput::ReadSignature()
{
    if (data_.substr(pos_, kFormSignature.size()) != kFormSignature)
        Fail("Not a binary form: the signature TPF0 is missing");
    pos_ += kFormSignature.size();
}

std::uint8_t TStreamInput::PeekByte() const
{
    Need(1);
    return static_cast<std::uint8_t>(data_[pos_]);
}

std::uint8_t TStreamInput::ReadByte()
{
    const std::uint8_t byte = PeekByte();
    ++pos_;
    return byte;
}

std::int16_t TStreamInput::ReadInt16()
{
    const std::string_view b = ReadBytes(2);
    return static_cast<std::int16_t>(std::uint16_t(std::uint8_t(b[0]) | (std::uint8_t(b[1]) << 8)));
}

std::uint32_t TStreamInput::ReadUInt32()
{
    const std::string_view b = ReadBytes(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | std::uint8_t(b[std::size_t(i)]);
    return value;
}

std::int32_t TStreamInput::ReadInt32()
{
    return static_cast<std::int32_t>(ReadUInt32());
}

std::uint64_t TStreamInput::ReadUInt64()
{
    const std::string_view b = ReadBytes(8);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | std::uint8_t(b[std::size_t(i)]);
    return value;
}

std::string_view TStreamInput::ReadBytes(std::size_t count)
{
    Need(count);
    const std::string_view bytes = data_.substr(pos_, count);
    pos_ += count;
    return bytes;
}

std::string_view TStreamInput::ReadShortString()
{
    return ReadBytes(ReadByte());
}

std::string_view TStreamInput::ReadLongBytes()
{
    const std::size_t at = pos_;
    const std::uint32_t length = ReadUInt32();
    if (length > Remaining())
        Fail("A length of " + std::to_string(length) + " bytes runs past the end of the stream (" +
                 std::to_string(Remaining()) + " left)",
             at);
    return ReadBytes(length);
}

TValueKind TStreamInput::PeekKind() const
{
    const std::uint8_t byte = PeekByte();
    if (!IsValueKind(byte))
        Fail("Unknown value kind " + std::to_string(byte));
    return static_cast<TValueKind>(byte);
}

TValueKind TStreamInput::ReadKind()
{
    const TValueKind kind = PeekKind();
    ++pos_;
    return kind;
}

std::int32_t TStreamInput::ReadIntegerData(TValueKind kind)
{
    switch (kind) {
    case TValueKind::Int8: return ReadInt8();
    case TValueKind::Int16: return ReadInt16();
    default: return ReadInt32();
    }
}

TExtended TStreamInput::ReadExtendedData()
{
    const std::string_view b = ReadBytes(10);
    TExtended::Bytes bytes{};
    std::memcpy(bytes.data(), b.data(), bytes.size());
    return TExtended::FromBytes(bytes);
}

double TStreamInput::ReadDoubleData()
{
    return std::bit_cast<double>(ReadUInt64());
}

std::string_view TStreamInput::ReadStringData(TValueKind kind)
{
    if (kind == TValueKind::String)
        return ReadShortString();
    return ReadLongBytes();
}

} // namespace vandora
