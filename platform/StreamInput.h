#pragma once
// A bounds-checked cursor over a binary form. Every read that would pass the end, and every
// length that promises more bytes than are left, raises EReadError before anything is
// allocated; the message says where (see SetDescriber).
#include "platform/Extended.h"
#include "platform/StreamFormat.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vandora {

class TStreamInput {
public:
    // Turns an offset into the place named in messages: by default "byte offset N"; a
    // reader adds its component and property.
    using Describer = std::function<std::string(std::size_t offset)>;

    // The data must outlive the cursor.
    explicit TStreamInput(std::string_view data);

    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ == data_.size(); }

    void SetDescriber(Describer describer) { describer_ = std::move(describer); }
    std::string Describe(std::size_t offset) const;
    // Raises EReadError "<what> (<place>)".
    [[noreturn]] void Fail(const std::string& what, std::size_t offset) const;
    [[noreturn]] void Fail(const std::string& what) const { Fail(what, pos_); }

    void ReadSignature();
    std::uint8_t PeekByte() const;
    std::uint8_t ReadByte();
    std::int8_t ReadInt8() { return static_cast<std::int8_t>(ReadByte()); }
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::uint64_t ReadUInt64();
    std::string_view ReadBytes(std::size_t count);
    // A 1-byte length and that many bytes.
    std::string_view ReadShortString();
    // A 4-byte length and that many bytes.
    std::string_view ReadLongBytes();

    // The kind byte of the next value, checked to be a known kind.
    TValueKind PeekKind() const;
    TValueKind ReadKind();
    // The data after a kind byte.
    std::int32_t ReadIntegerData(TValueKind kind);
    TExtended ReadExtendedData();
    double ReadDoubleData();
    // The bytes of a String, LString or Utf8String (as stored, not converted).
    std::string_view ReadStringData(TValueKind kind);

private:
    void Need(std::size_t count) const;

    std::string_view data_;
    std::size_t pos_ = 0;
    Describer describer_;
};

} // namespace vandora
