#include "platform/BinaryForm.h"

#include "platform/Extended.h"
#include "platform/RealText.h"
#include "platform/StreamOutput.h"
#include "platform/StreamUtf8.h"
#include "platform/TextFormLexer.h"

#include <bit>
#include <charconv>
#include <limits>
#include <utility>
#include <vector>

namespace vandora {

namespace {

class TTextFormParser {
public:
    TTextFormParser(std::string_view text, TStreamLineMap* lines) : lexer_(text), lines_(lines)
    {
        lexer_.SetDescriber([this](int line) { return Place(line); });
    }

    QByteArray Run()
    {
        out_.WriteSignature();
        Expect("object", "A form starts with 'object'");
        Component();
        if (lexer_.Peek().kind != TTokenKind::End)
            Fail("Unexpected text after the form", lexer_.Peek().line);
        return out_.TakeData();
    }

private:
    class TDepth {
    public:
        TDepth(TTextFormParser& p, int line) : p_(p)
        {
            if (++p_.depth_ > kMaxNestingDepth) {
                --p_.depth_;
                p_.Fail("Nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels", line);
            }
        }
        ~TDepth() { --p_.depth_; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;

    private:
        TTextFormParser& p_;
    };

    std::string Place(int line) const
    {
        std::string place;
        if (!components_.empty())
            place += "component " + components_.back() + ", ";
        if (!property_.empty())
            place += "property " + property_ + ", ";
        return place + "line " + std::to_string(line);
    }

    [[noreturn]] void Fail(const std::string& what, int line) const { lexer_.Fail(what, line); }

    void Mark(int line)
    {
        if (lines_)
            lines_->Add(out_.Size(), line);
    }

    void Expect(std::string_view keyword, const std::string& what)
    {
        const TToken token = lexer_.Next();
        if (token.kind == TTokenKind::End)
            Fail("The text ends where '" + std::string(keyword) + "' is expected", token.line);
        if (!token.IsKeyword(keyword))
            Fail(what, token.line);
    }

    void ExpectSymbol(char symbol, const std::string& what)
    {
        const TToken token = lexer_.Next();
        if (!token.IsSymbol(symbol))
            Fail(what, token.line);
    }

    // Characters that each stand for one byte: names, identifiers and one-byte strings.
    std::string ByteString(const TToken& token, std::size_t maxLength)
    {
        std::string bytes;
        for (char32_t c : token.chars) {
            if (c > 255)
                Fail("Character #" + std::to_string(std::uint32_t(c)) + " does not fit in one byte", token.line);
            bytes += char(c);
        }
        if (bytes.size() > maxLength)
            Fail("Longer than " + std::to_string(maxLength) + " bytes", token.line);
        return bytes;
    }

    std::string Name(const std::string& what)
    {
        const TToken token = lexer_.Next();
        if (token.kind == TTokenKind::String)
            return ByteString(token, 255);
        if (token.kind != TTokenKind::Name)
            Fail(what, token.line);
        if (token.text.size() > 255)
            Fail("Names are at most 255 bytes long", token.line);
        return token.text;
    }

    bool AtPropertyName()
    {
        const TToken& token = lexer_.Peek();
        return token.kind == TTokenKind::String || (token.kind == TTokenKind::Name && !IsStructureWord(token.text));
    }

    void Component()
    {
        const int line = lexer_.Peek().line;
        TDepth depth(*this, line);
        std::string name;
        std::string className = Name("A component's class name is expected after 'object'");
        if (lexer_.Peek().IsSymbol(':')) {
            lexer_.Next();
            name = std::move(className);
            className = Name("A class name is expected after ':'");
        }
        if (className.empty())
            Fail("A component has no class name", line);
        Mark(line);
        out_.WriteShortString(className);
        out_.WriteShortString(name);
        components_.push_back((name.empty() ? std::string() : name + ": ") + className);
        while (AtPropertyName())
            Property("");
        out_.WriteByte(0);
        property_.clear();
        while (lexer_.Peek().IsKeyword("object")) {
            lexer_.Next();
            Component();
        }
        Expect("end", EndExpected());
        out_.WriteByte(0);
        components_.pop_back();
    }

    // Said of what stands where a component's 'end' belongs: a property after a child
    // component is a common slip of hand-written forms, and gets a hint of its own.
    std::string EndExpected()
    {
        const TToken& token = lexer_.Peek();
        if (token.kind == TTokenKind::Name && (token.text == "inherited" || token.text == "inline"))
            return NotRead(token.text);
        if (AtPropertyName())
            return "'end' is expected (properties come before child components)";
        if (token.kind == TTokenKind::Symbol)
            return "'end' is expected, not '" + token.text + "'";
        return "'end' is expected";
    }

    static std::string NotRead(const std::string& header)
    {
        return "'" + header + "' components are not read: child components start with 'object'";
    }

    void Property(const std::string& prefix)
    {
        const int line = lexer_.Peek().line;
        const std::string name = Name("A property name is expected");
        property_ = prefix + name;
        // In the binary form an empty name ends the property list: written, it would make
        // the rest of the component read as something else.
        if (name.empty()) {
            if (!property_.empty())
                property_.pop_back(); // "A[0]." names the item as "A[0]"
            Fail("A property has no name", line);
        }
        // Named on the property's own line: the token read instead may be lines further on.
        if (!lexer_.Next().IsSymbol('=')) {
            if (prefix.empty() && (name == "inherited" || name == "inline")) {
                property_.clear(); // a component's header, not a property
                Fail(NotRead(name), line);
            }
            Fail("'=' is expected after the property name", line);
        }
        Mark(line);
        out_.WriteShortString(name);
        // Once the value is read, what follows (another name, 'end') is the enclosing
        // item's or component's, and so is a fault found there.
        std::string enclosing = prefix.empty() ? std::string() : prefix.substr(0, prefix.size() - 1);
        Value(enclosing);
        property_ = std::move(enclosing);
    }

    // `afterwards` names the place that follows the value, for a fault in the token after a
    // bare word, which is looked at to see whether the word is a tag.
    void Value(const std::string& afterwards)
    {
        const TToken& token = lexer_.Peek();
        Mark(token.line);
        if (token.kind == TTokenKind::Name && TagFollows(afterwards))
            return Tagged();
        switch (token.kind) {
        case TTokenKind::Name: return Word();
        case TTokenKind::Number: return Number(lexer_.Next());
        case TTokenKind::String: return String(lexer_.Next());
        case TTokenKind::Symbol:
            if (token.IsSymbol('('))
                return List();
            if (token.IsSymbol('<'))
                return Collection();
            if (token.IsSymbol('{'))
                return Binary();
            if (token.IsSymbol('['))
                return Set();
            break;
        case TTokenKind::End: break;
        }
        Fail("A value is expected", token.line);
    }

    bool TagFollows(std::string afterwards) // a copy: it may be property_ itself
    {
        std::string current = std::exchange(property_, std::move(afterwards));
        const bool tagged = lexer_.Peek(1).IsSymbol(':');
        property_ = std::move(current);
        return tagged;
    }

    void Word()
    {
        const TToken token = lexer_.Next();
        if (token.text == "True")
            out_.WriteKind(TValueKind::True);
        else if (token.text == "False")
            out_.WriteKind(TValueKind::False);
        else if (token.text == "nil")
            out_.WriteKind(TValueKind::Nil);
        else if (IsStructureWord(token.text))
            Fail("A value is expected", token.line);
        else if (token.text.size() > 255)
            Fail("Identifiers are at most 255 bytes long", token.line);
        else
            out_.WriteIdent(token.text);
    }

    std::int32_t Integer(const TToken& token)
    {
        const std::string& text = token.text;
        // Decimal, or hexadecimal after '$' as hand-written forms have colours: $00C0C0C0.
        const bool negative = !text.empty() && text[0] == '-';
        const bool hex = text.size() > std::size_t(negative) && text[std::size_t(negative)] == '$';
        const char* digits = text.data() + (hex ? std::size_t(negative) + 1 : 0);
        std::int64_t value = 0;
        auto [end, error] = std::from_chars(digits, text.data() + text.size(), value, hex ? 16 : 10);
        if (hex && (digits == text.data() + text.size() || *digits == '-' || *digits == '+'))
            error = std::errc::invalid_argument; // "$" alone, or a sign after it
        if (hex && negative)
            value = -value;
        if (error == std::errc() && end == text.data() + text.size() &&
            value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max())
            return std::int32_t(value);
        if (error == std::errc::result_out_of_range || (error == std::errc() && end == text.data() + text.size()))
            Fail("Integer " + text + " lies outside the 32-bit range", token.line);
        Fail("Malformed number '" + text + "'", token.line);
    }

    static bool IsHexReal(std::string_view text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

    void Number(const TToken& token)
    {
        const std::string& text = token.text;
        if (IsHexReal(text)) {
            const auto value = TExtended::FromHexText(std::string_view(text).substr(2));
            if (!value)
                Fail("A raw extended real has 20 hex digits after 0x (a hex integer is written $10): '" + text + "'",
                     token.line);
            out_.WriteExtended(*value);
        } else if (IsDecimalRealText(text)) {
            const auto value = TExtended::FromDecimalText(text);
            if (!value)
                Fail("Real " + text + " lies outside the range of an extended real", token.line);
            out_.WriteExtended(*value);
        } else {
            out_.WriteInteger(Integer(token));
        }
    }

    void Tagged()
    {
        const TToken tag = lexer_.Next();
        lexer_.Next(); // ':'
        const TToken token = lexer_.Next();
        const std::string& name = tag.text;
        if (name == "int8" || name == "int16" || name == "int32")
            return TaggedInteger(name, token);
        if (name == "double")
            return TaggedDouble(token);
        if (name == "string" || name == "lstring" || name == "utf8" || name == "ident") {
            if (token.kind != TTokenKind::String)
                Fail("A string literal is expected after '" + name + ":'", token.line);
            if (name == "utf8")
                return out_.WriteStringAs(TValueKind::Utf8String, Utf8(token));
            if (name == "ident")
                return out_.WriteIdent(ByteString(token, 255));
            if (name == "string")
                return out_.WriteStringAs(TValueKind::String, ByteString(token, 255));
            return out_.WriteStringAs(TValueKind::LString, ByteString(token, std::numeric_limits<std::uint32_t>::max()));
        }
        Fail("Unknown value tag '" + name + ":'", tag.line);
    }

    void TaggedInteger(const std::string& tag, const TToken& token)
    {
        if (token.kind != TTokenKind::Number)
            Fail("An integer is expected after '" + tag + ":'", token.line);
        const std::int32_t value = Integer(token);
        const TValueKind kind = tag == "int8" ? TValueKind::Int8 : tag == "int16" ? TValueKind::Int16 : TValueKind::Int32;
        if (ShortestIntegerKind(value) > kind)
            Fail("Integer " + token.text + " does not fit in " + tag, token.line);
        out_.WriteIntegerAs(kind, value);
    }

    void TaggedDouble(const TToken& token)
    {
        const std::string& text = token.text;
        if (token.kind == TTokenKind::Number && IsHexReal(text) && text.size() == 18) {
            std::uint64_t bits = 0;
            const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
            if (error == std::errc() && end == text.data() + text.size())
                return out_.WriteDouble(std::bit_cast<double>(bits));
        }
        if (token.kind == TTokenKind::Number) {
            if (const auto value = ParseDoubleText(text))
                return out_.WriteDouble(*value);
            if (IsDecimalRealText(text))
                Fail("Real " + text + " lies outside the range of a double", token.line);
        }
        Fail("A real (decimal, or 0x and 16 hex digits) is expected after 'double:'", token.line);
    }

    std::string Utf8(const TToken& token)
    {
        std::string bytes;
        for (char32_t c : token.chars)
            if (!AppendUtf8(bytes, c))
                Fail("Character #" + std::to_string(std::uint32_t(c)) + " is not a Unicode character", token.line);
        return bytes;
    }

    void String(const TToken& token)
    {
        const std::string bytes = Utf8(token);
        out_.WriteStringAs(NaturalStringKind(bytes), bytes);
    }

    void List()
    {
        const TToken open = lexer_.Next();
        TDepth depth(*this, open.line);
        out_.WriteKind(TValueKind::List);
        while (!lexer_.Peek().IsSymbol(')'))
            Value(property_); // the list goes on: what follows an element is still this property's
        lexer_.Next();
        out_.WriteByte(0);
    }

    void Collection()
    {
        const TToken open = lexer_.Next();
        TDepth depth(*this, open.line);
        const std::string property = property_;
        out_.WriteKind(TValueKind::Collection);
        for (int index = 0; !lexer_.Peek().IsSymbol('>'); ++index) {
            const TToken item = lexer_.Next();
            if (!item.IsKeyword("item"))
                Fail("'item' or '>' is expected in a collection", item.line);
            Mark(item.line);
            const TToken& next = lexer_.Peek();
            if (next.kind == TTokenKind::Number)
                out_.WriteInteger(Integer(lexer_.Next()));
            else if (next.kind == TTokenKind::Name && lexer_.Peek(1).IsSymbol(':'))
                TaggedItemInteger();
            out_.WriteKind(TValueKind::List);
            const std::string prefix = property + "[" + std::to_string(index) + "].";
            while (AtPropertyName())
                Property(prefix);
            property_ = property + "[" + std::to_string(index) + "]";
            Expect("end", "'end' is expected (an item holds properties only)");
            out_.WriteByte(0);
            property_ = property;
        }
        lexer_.Next();
        out_.WriteByte(0);
    }

    void TaggedItemInteger()
    {
        const TToken tag = lexer_.Next();
        lexer_.Next(); // ':'
        if (tag.text != "int8" && tag.text != "int16" && tag.text != "int32")
            Fail("An item's leading value is an integer", tag.line);
        TaggedInteger(tag.text, lexer_.Next());
    }

    void Binary()
    {
        lexer_.Next(); // '{'
        out_.WriteBinary(lexer_.ReadHexBlock());
    }

    void Set()
    {
        lexer_.Next(); // '['
        out_.WriteKind(TValueKind::Set);
        if (!lexer_.Peek().IsSymbol(']')) {
            while (true) {
                const int line = lexer_.Peek().line;
                const std::string element = Name("A set element is expected");
                if (element.empty())
                    Fail("A set element has no name", line);
                out_.WriteShortString(element);
                if (!lexer_.Peek().IsSymbol(','))
                    break;
                lexer_.Next();
            }
        }
        ExpectSymbol(']', "',' or ']' is expected in a set");
        out_.WriteByte(0);
    }

    TTextFormLexer lexer_;
    TStreamLineMap* lines_;
    TStreamOutput out_;
    std::vector<std::string> components_;
    std::string property_;
    int depth_ = 0;
};

} // namespace

QByteArray TBinaryForm::FromText(std::string_view text, TStreamLineMap* lines)
{
    return TTextFormParser(text, lines).Run();
}

} // namespace vandora
