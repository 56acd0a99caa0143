#include "platform/TextForm.h"

#include "platform/RealText.h"
#include "platform/StreamInput.h"
#include "platform/StreamOutput.h"
#include "platform/StreamUtf8.h"
#include "platform/TextFormLexer.h"

#include <bit>
#include <vector>

namespace vandora {

namespace {

constexpr std::size_t kHexBytesPerLine = 32;

std::string Spaces(int indent)
{
    return std::string(std::size_t(indent), ' ');
}

// 'quoted' runs for printable ASCII, #nnn for every other character.
std::string Literal(const std::vector<char32_t>& chars)
{
    if (chars.empty())
        return "''";
    std::string out;
    bool quoted = false;
    for (char32_t c : chars) {
        const bool printable = c >= 32 && c <= 126;
        if (printable != quoted) {
            out += '\'';
            quoted = printable;
        }
        if (c == '\'')
            out += "''";
        else if (printable)
            out += char(c);
        else
            out += "#" + std::to_string(std::uint32_t(c));
    }
    if (quoted)
        out += '\'';
    return out;
}

std::vector<char32_t> ByteChars(std::string_view bytes)
{
    std::vector<char32_t> chars;
    chars.reserve(bytes.size());
    for (char b : bytes)
        chars.push_back(static_cast<unsigned char>(b));
    return chars;
}

std::string NameText(std::string_view name)
{
    if (IsBareName(name) && !IsStructureWord(name))
        return std::string(name);
    return Literal(ByteChars(name));
}

class TTextFormWriter {
public:
    explicit TTextFormWriter(std::string_view binary) : in_(binary)
    {
        in_.SetDescriber([this](std::size_t offset) { return Place(offset); });
    }

    std::string Run()
    {
        in_.ReadSignature();
        Component(0);
        if (!in_.AtEnd())
            in_.Fail("Unexpected data after the form");
        return std::move(out_);
    }

private:
    class TDepth {
    public:
        explicit TDepth(TTextFormWriter& w) : w_(w)
        {
            if (++w_.depth_ > kMaxNestingDepth) {
                --w_.depth_;
                w_.in_.Fail("Nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels");
            }
        }
        ~TDepth() { --w_.depth_; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;

    private:
        TTextFormWriter& w_;
    };

    std::string Place(std::size_t offset) const
    {
        std::string place;
        if (!components_.empty())
            place += "component " + components_.back() + ", ";
        if (!property_.empty())
            place += "property " + property_ + ", ";
        return place + "byte offset " + std::to_string(offset);
    }

    void Component(int indent)
    {
        TDepth depth(*this);
        const std::size_t at = in_.Position();
        const std::string_view className = in_.ReadShortString();
        const std::string_view name = in_.ReadShortString();
        if (className.empty())
            in_.Fail("A component has no class name", at);
        components_.push_back((name.empty() ? std::string() : std::string(name) + ": ") + std::string(className));
        out_ += Spaces(indent) + "object ";
        if (!name.empty())
            out_ += NameText(name) + ": ";
        out_ += NameText(className) + "\n";
        while (in_.PeekByte() != 0)
            Property(indent + 2);
        in_.ReadByte();
        property_.clear();
        while (in_.PeekByte() != 0)
            Component(indent + 2);
        in_.ReadByte();
        out_ += Spaces(indent) + "end\n";
        components_.pop_back();
    }

    void Property(int indent)
    {
        const std::string_view name = in_.ReadShortString();
        property_ = std::string(name);
        out_ += Spaces(indent) + NameText(name) + " = ";
        Value(indent);
        out_ += "\n";
        property_.clear(); // what comes next is not this property's
    }

    void Value(int indent)
    {
        const std::size_t at = in_.Position();
        const TValueKind kind = in_.ReadKind();
        switch (kind) {
        case TValueKind::Null: in_.Fail("A value is missing", at);
        case TValueKind::List: List(indent); break;
        case TValueKind::Int8:
        case TValueKind::Int16:
        case TValueKind::Int32: out_ += IntegerText(kind, in_.ReadIntegerData(kind)); break;
        case TValueKind::Extended: Extended(); break;
        case TValueKind::String:
        case TValueKind::LString:
        case TValueKind::Utf8String: String(kind, at); break;
        case TValueKind::Ident: Ident(); break;
        case TValueKind::False: out_ += "False"; break;
        case TValueKind::True: out_ += "True"; break;
        case TValueKind::Binary: Binary(indent); break;
        case TValueKind::Set: Set(); break;
        case TValueKind::Nil: out_ += "nil"; break;
        case TValueKind::Collection: Collection(indent); break;
        case TValueKind::Double: Double(); break;
        }
    }

    static std::string IntegerText(TValueKind kind, std::int32_t value)
    {
        const std::string digits = std::to_string(value);
        if (kind == ShortestIntegerKind(value))
            return digits;
        return (kind == TValueKind::Int16 ? "int16:" : "int32:") + digits;
    }

    void Extended()
    {
        const TExtended value = in_.ReadExtendedData();
        const std::string decimal = value.DecimalText();
        out_ += decimal.empty() ? "0x" + value.HexText() : decimal;
    }

    void Double()
    {
        const double value = in_.ReadDoubleData();
        const std::string decimal = ShortestRealText(value);
        if (!decimal.empty()) {
            out_ += "double:" + decimal;
            return;
        }
        static const char* const kDigits = "0123456789ABCDEF";
        const auto bits = std::bit_cast<std::uint64_t>(value);
        out_ += "double:0x";
        for (int shift = 60; shift >= 0; shift -= 4)
            out_ += kDigits[(bits >> shift) & 0xF];
    }

    void String(TValueKind kind, std::size_t at)
    {
        const std::string_view bytes = in_.ReadStringData(kind);
        if (kind != TValueKind::Utf8String) {
            const bool natural = NaturalStringKind(bytes) == kind;
            out_ += (natural ? "" : kind == TValueKind::String ? "string:" : "lstring:") + Literal(ByteChars(bytes));
            return;
        }
        const auto chars = DecodeUtf8(bytes);
        if (!chars)
            in_.Fail("A UTF-8 string holds bytes that are not UTF-8", at);
        out_ += (IsAscii(bytes) ? "utf8:" : "") + Literal(*chars);
    }

    void Ident()
    {
        const std::string_view ident = in_.ReadShortString();
        if (IsBareName(ident) && !IsLiteralWord(ident) && !IsStructureWord(ident))
            out_ += ident;
        else
            out_ += "ident:" + Literal(ByteChars(ident));
    }

    void Set()
    {
        out_ += "[";
        bool first = true;
        for (std::string_view element = in_.ReadShortString(); !element.empty(); element = in_.ReadShortString()) {
            out_ += (first ? "" : ", ") + NameText(element);
            first = false;
        }
        out_ += "]";
    }

    void List(int indent)
    {
        TDepth depth(*this);
        out_ += "(";
        while (in_.PeekByte() != 0) {
            out_ += "\n" + Spaces(indent + 2);
            Value(indent + 2);
        }
        in_.ReadByte();
        out_ += ")";
    }

    void Collection(int indent)
    {
        TDepth depth(*this);
        const std::string property = property_;
        out_ += "<";
        for (int index = 0; in_.PeekByte() != 0; ++index) {
            out_ += "\n" + Spaces(indent + 2) + "item";
            const std::size_t at = in_.Position();
            const TValueKind kind = in_.ReadKind();
            if (IsIntegerKind(kind)) {
                out_ += " " + IntegerText(kind, in_.ReadIntegerData(kind));
                if (in_.ReadKind() != TValueKind::List)
                    in_.Fail("A collection item's properties do not start with a list", at);
            } else if (kind != TValueKind::List) {
                in_.Fail("A collection item does not start with a list", at);
            }
            while (in_.PeekByte() != 0) {
                const std::string_view name = in_.ReadShortString();
                property_ = property + "[" + std::to_string(index) + "]." + std::string(name);
                out_ += "\n" + Spaces(indent + 4) + NameText(name) + " = ";
                Value(indent + 4);
                property_ = property + "[" + std::to_string(index) + "]";
            }
            in_.ReadByte();
            property_ = property;
            out_ += "\n" + Spaces(indent + 2) + "end";
        }
        in_.ReadByte();
        out_ += ">";
    }

    void Binary(int indent)
    {
        static const char* const kDigits = "0123456789ABCDEF";
        const std::string_view bytes = in_.ReadLongBytes();
        out_ += "{";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % kHexBytesPerLine == 0)
                out_ += "\n" + Spaces(indent + 2);
            const auto byte = static_cast<unsigned char>(bytes[i]);
            out_ += kDigits[byte >> 4];
            out_ += kDigits[byte & 0xF];
        }
        out_ += "}";
    }

    TStreamInput in_;
    std::string out_;
    std::vector<std::string> components_; // "Name: TClass" from the root inwards
    std::string property_;
    int depth_ = 0;
};

} // namespace

std::string TTextForm::FromBinary(std::string_view binary)
{
    return TTextFormWriter(binary).Run();
}

} // namespace vandora
