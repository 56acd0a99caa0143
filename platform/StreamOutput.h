#pragma once
// Appends the values of a binary form, little-endian, each after its kind byte.
#include "platform/Extended.h"
#include "platform/StreamFormat.h"

#include <QByteArray>
#include <cstdint>
#include <string_view>

namespace vandora {

class TStreamOutput {
public:
    const QByteArray& Data() const { return data_; }
    QByteArray TakeData() { return std::move(data_); }
    std::size_t Size() const { return std::size_t(data_.size()); }

    void WriteSignature();
    void WriteByte(std::uint8_t byte) { data_.append(char(byte)); }
    void WriteKind(TValueKind kind) { WriteByte(std::uint8_t(kind)); }
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteBytes(std::string_view bytes) { data_.append(bytes.data(), qsizetype(bytes.size())); }
    // A 1-byte length and the bytes; raises EWriteError above 255 bytes.
    void WriteShortString(std::string_view bytes);
    // A 4-byte length and the bytes.
    void WriteLongBytes(std::string_view bytes);

    // Values with their kind byte.
    void WriteInteger(std::int32_t value) { WriteIntegerAs(ShortestIntegerKind(value), value); }
    // In the given integer kind, which must hold the value.
    void WriteIntegerAs(TValueKind kind, std::int32_t value);
    void WriteExtended(const TExtended& value);
    void WriteDouble(double value);
    // Bytes in one of the string kinds as they are (String raises above 255 bytes).
    void WriteStringAs(TValueKind kind, std::string_view bytes);
    // UTF-8 text in the kind its content calls for: String (ASCII up to 255 bytes),
    // LString (longer ASCII) or Utf8String (anything else).
    void WriteString(std::string_view utf8);
    void WriteIdent(std::string_view ident);
    void WriteBinary(std::string_view bytes);

private:
    QByteArray data_;
};

// The string kind WriteString picks for the text.
TValueKind NaturalStringKind(std::string_view utf8);

} // namespace vandora
