#include "platform/TextFormLexer.h"

#include "platform/Exceptions.h"
#include "platform/HexDigit.h"
#include "platform/StreamUtf8.h"

namespace vandora {

namespace {

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSymbolChar(char c)
{
    return std::string_view("=:()[]<>{},").find(c) != std::string_view::npos;
}

} // namespace

bool IsBareName(std::string_view name)
{
    bool partStart = true;
    for (char c : name) {
        if (c == '.') {
            if (partStart)
                return false;
            partStart = true;
        } else if (IsLetter(c) || (!partStart && IsDigit(c))) {
            partStart = false;
        } else {
            return false;
        }
    }
    return !partStart;
}

TTextFormLexer::TTextFormLexer(std::string_view text) : text_(text)
{
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") // a byte order mark says nothing here
        pos_ = 3;
}

void TTextFormLexer::Fail(const std::string& what, int line) const
{
    const std::string place = describer_ ? describer_(line) : "line " + std::to_string(line);
    throw EReadError(what + " (" + place + ")");
}

const TToken& TTextFormLexer::Peek(std::size_t ahead)
{
    while (ahead_.size() <= ahead)
        ahead_.push_back(Scan());
    return ahead_[ahead];
}

TToken TTextFormLexer::Next()
{
    Peek();
    TToken token = std::move(ahead_.front());
    ahead_.pop_front();
    return token;
}

void TTextFormLexer::SkipSpace()
{
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        // A line ends with LF, CR LF, or a CR alone (files from old Macintosh editors).
        const bool loneCr = c == '\r' && (pos_ + 1 == text_.size() || text_[pos_ + 1] != '\n');
        if (c == '\n' || loneCr)
            ++line_;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++pos_;
    }
}

TToken TTextFormLexer::Scan()
{
    SkipSpace();
    if (pos_ >= text_.size())
        return TToken{TTokenKind::End, {}, {}, line_};
    const char c = text_[pos_];
    if (IsLetter(c))
        return ScanName();
    if (IsDigit(c) || c == '$' ||
        (c == '-' && pos_ + 1 < text_.size() && (IsDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$')))
        return ScanNumber();
    if (c == '\'' || c == '#')
        return ScanString();
    if (IsSymbolChar(c)) {
        ++pos_;
        return TToken{TTokenKind::Symbol, std::string(1, c), {}, line_};
    }
    const auto byte = static_cast<unsigned char>(c);
    Fail(byte >= 32 && byte < 127 ? std::string("Unexpected character '") + c + "'"
                                  : "Unexpected character #" + std::to_string(byte),
         line_);
}

TToken TTextFormLexer::ScanName()
{
    const std::size_t start = pos_;
    while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]) || text_[pos_] == '.'))
        ++pos_;
    std::string text(text_.substr(start, pos_ - start));
    if (!IsBareName(text))
        Fail("Malformed name '" + text + "'", line_);
    return TToken{TTokenKind::Name, std::move(text), {}, line_};
}

TToken TTextFormLexer::ScanNumber()
{
    // Everything up to the next separator; the parser decides what kind of number it is.
    const std::size_t start = pos_++;
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (!IsLetter(c) && !IsDigit(c) && c != '.' && c != '+' && c != '-' && c != '$')
            break;
        ++pos_;
    }
    return TToken{TTokenKind::Number, std::string(text_.substr(start, pos_ - start)), {}, line_};
}

TToken TTextFormLexer::ScanString()
{
    TToken token{TTokenKind::String, {}, {}, line_};
    do {
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\'')
                ScanQuoted(token.chars);
            else if (text_[pos_] == '#')
                ScanCharCode(token.chars);
            else
                break;
        }
    } while (JoinsAnotherString());
    return token;
}

bool TTextFormLexer::JoinsAnotherString()
{
    // Forms written elsewhere split long strings over lines as 'first part' + 'next part'.
    const std::size_t pos = pos_;
    const int line = line_;
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != '+') {
        pos_ = pos;
        line_ = line;
        return false;
    }
    ++pos_;
    SkipSpace();
    if (pos_ >= text_.size() || (text_[pos_] != '\'' && text_[pos_] != '#'))
        Fail("'+' must be followed by a string", line_);
    return true;
}

void TTextFormLexer::ScanQuoted(std::vector<char32_t>& chars)
{
    ++pos_; // opening quote
    std::string bytes;
    while (true) {
        if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
            Fail("Unterminated string", line_);
        const char c = text_[pos_++];
        if (c == '\'') {
            if (pos_ < text_.size() && text_[pos_] == '\'') {
                bytes += '\'';
                ++pos_;
                continue;
            }
            break;
        }
        bytes += c;
    }
    const auto decoded = DecodeUtf8(bytes);
    if (!decoded)
        Fail("A string holds bytes that are not UTF-8", line_);
    chars.insert(chars.end(), decoded->begin(), decoded->end());
}

void TTextFormLexer::ScanCharCode(std::vector<char32_t>& chars)
{
    const std::size_t written = ++pos_; // after '#'
    // #233 or, as hand-written forms often have it, #$E9.
    const bool hex = pos_ < text_.size() && text_[pos_] == '$';
    if (hex)
        ++pos_;
    const std::size_t start = pos_;
    std::uint32_t code = 0;
    const auto digit = [&](char c) { return hex ? HexDigitValue(c) : IsDigit(c) ? c - '0' : -1; };
    while (pos_ < text_.size() && digit(text_[pos_]) >= 0) {
        code = code * (hex ? 16 : 10) + std::uint32_t(digit(text_[pos_]));
        if (code > 0x10FFFF)
            Fail("Character code #" + std::string(text_.substr(written, pos_ - written + 1)) + "... is too large",
                 line_);
        ++pos_;
    }
    if (pos_ == start)
        Fail("'#' must be followed by a character code", line_);
    chars.push_back(char32_t(code));
}

std::string TTextFormLexer::ReadHexBlock()
{
    if (!ahead_.empty())
        Fail("Internal error: binary data read after a look-ahead", line_);
    std::string bytes;
    int high = -1;
    while (true) {
        SkipSpace();
        if (pos_ >= text_.size())
            Fail("Binary data is not closed with '}'", line_);
        const char c = text_[pos_++];
        if (c == '}')
            break;
        const int value = HexDigitValue(c);
        if (value < 0)
            Fail(std::string("Binary data holds '") + c + "', which is not a hex digit", line_);
        if (high < 0) {
            high = value;
        } else {
            bytes += char(high * 16 + value);
            high = -1;
        }
    }
    if (high >= 0)
        Fail("Binary data has an odd number of hex digits", line_);
    return bytes;
}

} // namespace vandora
