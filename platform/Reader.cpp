#include "platform/Reader.h"

#include "platform/Exceptions.h"
#include "platform/StreamUtf8.h"

namespace vandora {

TReader::TDepth::TDepth(TReader& reader) : reader_(reader)
{
    if (++reader_.depth_ > kMaxNestingDepth) {
        --reader_.depth_;
        reader_.Fail("Nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }
}

TReader::TReader(std::string_view data) : in_(data)
{
    in_.SetDescriber([this](std::size_t offset) { return Place(offset); });
}

TReader::~TReader() = default;

std::string TReader::Place(std::size_t offset) const
{
    std::string place;
    if (!components_.empty())
        place += "component " + components_.back() + ", ";
    if (!property_.empty())
        place += "property " + property_ + ", ";
    return place + (locator_ ? locator_(offset) : "byte offset " + std::to_string(offset));
}

void TReader::InvalidValue(std::size_t offset) const
{
    in_.Fail(kInvalidPropertyValue, offset);
}

TValueKind TReader::ReadKindAt(std::size_t& offset)
{
    offset = in_.Position();
    return in_.ReadKind();
}

TValueKind TReader::ReadNumberKindAt(std::size_t& offset)
{
    offset = in_.Position();
    if (!IsValueKind(in_.PeekByte()))
        InvalidValue(offset);
    return in_.ReadKind();
}

void TReader::ReadListBegin()
{
    std::size_t at = 0;
    if (ReadKindAt(at) != TValueKind::List)
        InvalidValue(at);
}

void TReader::ReadListEnd()
{
    const std::size_t at = in_.Position();
    if (in_.ReadByte() != 0)
        InvalidValue(at);
}

std::int32_t TReader::ReadInteger()
{
    std::size_t at = 0;
    const TValueKind kind = ReadNumberKindAt(at);
    if (!IsIntegerKind(kind))
        InvalidValue(at);
    return in_.ReadIntegerData(kind);
}

double TReader::ReadReal()
{
    std::size_t at = 0;
    const TValueKind kind = ReadNumberKindAt(at);
    if (kind == TValueKind::Extended)
        return in_.ReadExtendedData().ToDouble();
    if (kind == TValueKind::Double)
        return in_.ReadDoubleData();
    if (IsIntegerKind(kind))
        return in_.ReadIntegerData(kind);
    InvalidValue(at);
}

TExtended TReader::ReadExtended()
{
    std::size_t at = 0;
    const TValueKind kind = ReadNumberKindAt(at);
    if (kind == TValueKind::Extended)
        return in_.ReadExtendedData();
    if (kind == TValueKind::Double)
        return TExtended::FromDouble(in_.ReadDoubleData());
    if (IsIntegerKind(kind))
        return TExtended::FromDouble(in_.ReadIntegerData(kind));
    InvalidValue(at);
}

std::string TReader::ReadString()
{
    std::size_t at = 0;
    const TValueKind kind = ReadKindAt(at);
    if (!IsStringKind(kind))
        InvalidValue(at);
    const std::string_view bytes = in_.ReadStringData(kind);
    if (kind != TValueKind::Utf8String)
        return Latin1ToUtf8(bytes);
    if (!IsValidUtf8(bytes))
        in_.Fail("A UTF-8 string holds bytes that are not UTF-8", at);
    return std::string(bytes);
}

std::string TReader::ReadIdent()
{
    std::size_t at = 0;
    switch (ReadKindAt(at)) {
    case TValueKind::Ident: return std::string(in_.ReadShortString());
    case TValueKind::False: return "False";
    case TValueKind::True: return "True";
    case TValueKind::Nil: return "nil";
    default: InvalidValue(at);
    }
}

bool TReader::ReadBoolean()
{
    std::size_t at = 0;
    const TValueKind kind = ReadKindAt(at);
    if (kind != TValueKind::False && kind != TValueKind::True)
        InvalidValue(at);
    return kind == TValueKind::True;
}

QByteArray TReader::ReadBinary()
{
    std::size_t at = 0;
    if (ReadKindAt(at) != TValueKind::Binary)
        InvalidValue(at);
    const std::string_view bytes = in_.ReadLongBytes();
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

std::vector<std::string> TReader::ReadSet()
{
    std::size_t at = 0;
    if (ReadKindAt(at) != TValueKind::Set)
        InvalidValue(at);
    std::vector<std::string> elements;
    for (std::string_view element = in_.ReadShortString(); !element.empty(); element = in_.ReadShortString())
        elements.emplace_back(element);
    return elements;
}

void TReader::SkipValue()
{
    std::size_t at = 0;
    const TValueKind kind = ReadKindAt(at);
    switch (kind) {
    case TValueKind::Null: InvalidValue(at);
    case TValueKind::List: {
        TDepth depth(*this);
        while (!EndOfList())
            SkipValue();
        in_.ReadByte();
        break;
    }
    case TValueKind::Int8:
    case TValueKind::Int16:
    case TValueKind::Int32: in_.ReadIntegerData(kind); break;
    case TValueKind::Extended: in_.ReadBytes(10); break;
    case TValueKind::Double: in_.ReadBytes(8); break;
    case TValueKind::String:
    case TValueKind::LString: in_.ReadStringData(kind); break;
    case TValueKind::Utf8String:
        if (!IsValidUtf8(in_.ReadStringData(kind))) // a skipped value is no less malformed
            in_.Fail("A UTF-8 string holds bytes that are not UTF-8", at);
        break;
    case TValueKind::Ident: in_.ReadShortString(); break;
    case TValueKind::False:
    case TValueKind::True:
    case TValueKind::Nil: break;
    case TValueKind::Binary: in_.ReadLongBytes(); break;
    case TValueKind::Set:
        while (!in_.ReadShortString().empty()) {
        }
        break;
    case TValueKind::Collection: {
        TDepth depth(*this);
        while (!EndOfList()) {
            std::size_t itemAt = 0;
            TValueKind itemKind = ReadKindAt(itemAt);
            if (IsIntegerKind(itemKind)) {
                in_.ReadIntegerData(itemKind);
                itemKind = in_.ReadKind();
            }
            if (itemKind != TValueKind::List)
                InvalidValue(itemAt);
            while (!EndOfList()) {
                in_.ReadShortString();
                SkipValue();
            }
            in_.ReadByte();
        }
        in_.ReadByte();
        break;
    }
    }
}

void TReader::CheckCount(std::int64_t count, std::size_t minBytesEach)
{
    if (count <= 0)
        return;
    const std::size_t each = minBytesEach == 0 ? 1 : minBytesEach;
    if (std::uint64_t(count) > in_.Remaining() / each)
        in_.Fail(std::string(kInvalidPropertyValue) + ": a count of " + std::to_string(count) +
                 " values does not fit in the " + std::to_string(in_.Remaining()) + " bytes left");
}

void TReader::DefineProperty(const std::string& name, ReadProc read, WriteProc write, bool hasData)
{
    (void)write;
    (void)hasData;
    if (customSearch_ != TCustomSearch::Searching || name != customName_)
        return;
    customSearch_ = TCustomSearch::Found;
    if (!read)
        Fail("Property " + name + " is read-only");
    read(*this);
}

} // namespace vandora
