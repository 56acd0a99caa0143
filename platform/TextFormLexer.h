#pragma once
// Splits the text form into tokens: names (dotted identifiers), numbers, string literals
// ('quoted' runs and #nnn or #$hh character codes written together, parts joined by '+'),
// punctuation, and on request the hex digits of a binary block.
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

enum class TTokenKind { End, Name, Number, String, Symbol };

struct TToken {
    TTokenKind kind = TTokenKind::End;
    std::string text;          // name or number as written; the symbol for Symbol
    std::vector<char32_t> chars; // the characters of a string literal
    int line = 1;

    bool Is(TTokenKind k, std::string_view t) const { return kind == k && text == t; }
    bool IsSymbol(char c) const { return kind == TTokenKind::Symbol && text.size() == 1 && text[0] == c; }
    bool IsKeyword(std::string_view word) const { return Is(TTokenKind::Name, word); }
};

class TTextFormLexer {
public:
    // Names the place of a line in messages (the parser adds its component and property).
    using Describer = std::function<std::string(int line)>;

    explicit TTextFormLexer(std::string_view text);
    void SetDescriber(Describer describer) { describer_ = std::move(describer); }
    // Raises EReadError "<what> (<place>)".
    [[noreturn]] void Fail(const std::string& what, int line) const;

    // The token `ahead` places further on, without taking it.
    const TToken& Peek(std::size_t ahead = 0);
    TToken Next();
    // Right after a '{' has been taken: the bytes of the hex digits up to the closing '}',
    // which is taken too. Whitespace and line breaks between digits are allowed.
    std::string ReadHexBlock();
    int Line() const { return line_; }

private:
    TToken Scan();
    void SkipSpace();
    TToken ScanName();
    TToken ScanNumber();
    TToken ScanString();
    // Takes a '+' and the space around it when another string literal follows.
    bool JoinsAnotherString();
    void ScanQuoted(std::vector<char32_t>& chars);
    void ScanCharCode(std::vector<char32_t>& chars);

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::deque<TToken> ahead_;
    Describer describer_;
};

// A name written without quotes: letters, digits and '_', not starting with a digit,
// dot-separated parts allowed (Font.Name).
bool IsBareName(std::string_view name);
// The words that open and close components and items; names spelled so are quoted.
inline bool IsStructureWord(std::string_view name)
{
    return name == "object" || name == "end" || name == "item";
}
// The words that stand for the values False, True and nil.
inline bool IsLiteralWord(std::string_view name)
{
    return name == "False" || name == "True" || name == "nil";
}

} // namespace vandora
