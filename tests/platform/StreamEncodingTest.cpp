// The stream's strings: strict UTF-8 both ways, and the one-byte length of short strings.
#include "platform/Exceptions.h"
#include "platform/StreamOutput.h"
#include "platform/StreamUtf8.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandora;

namespace {

std::string Encoded(char32_t cp)
{
    std::string out;
    EXPECT_TRUE(AppendUtf8(out, cp)) << std::hex << std::uint32_t(cp);
    return out;
}

} // namespace

// Each length's first code point takes that many bytes, and its last one fewer bytes
// than the next; what is encoded decodes back.
TEST(StreamEncodingTest, CodePointsAtTheLengthBoundariesEncodeAndDecodeBack)
{
    EXPECT_EQ(Encoded(0x7F), "\x7F");
    EXPECT_EQ(Encoded(0x80), "\xC2\x80");
    EXPECT_EQ(Encoded(0x7FF), "\xDF\xBF");
    EXPECT_EQ(Encoded(0x800), "\xE0\xA0\x80");
    EXPECT_EQ(Encoded(0xFFFF), "\xEF\xBF\xBF");
    EXPECT_EQ(Encoded(0x10000), "\xF0\x90\x80\x80");
    EXPECT_EQ(Encoded(0x10FFFF), "\xF4\x8F\xBF\xBF");
    for (const char32_t cp : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu})
        EXPECT_EQ(DecodeUtf8(Encoded(cp)), std::vector<char32_t>{cp}) << std::hex << std::uint32_t(cp);

    std::string out = "kept";
    EXPECT_FALSE(AppendUtf8(out, 0x110000));
    EXPECT_FALSE(AppendUtf8(out, 0xD800));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(Latin1ToUtf8("\x7F\x80\xFF"), "\x7F\xC2\x80\xC3\xBF");
}

// What a strict decoder refuses: a byte that cannot start a character, a lead byte where
// a continuation belongs, overlong forms, and anything above U+10FFFF.
TEST(StreamEncodingTest, MalformedSequencesAreRefused)
{
    for (const std::string bytes : {
             "\x80",             // a continuation byte alone
             "\xC3\xC3",         // a lead byte where the continuation belongs
             "\xC0\x80",         // U+0000 in two bytes
             "\xE0\x82\x80",     // U+0080 in three
             "\xF0\x80\xA0\x80", // U+0800 in four
             "\xF4\x90\x80\x80", // U+110000
             "\xF8\x90\x80\x80", // a five-byte lead
         }) {
        EXPECT_FALSE(DecodeUtf8(bytes)) << testing::PrintToString(bytes);
        EXPECT_FALSE(IsValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
    EXPECT_FALSE(IsAscii("\x80"));
    EXPECT_TRUE(IsValidUtf8("plain \x7F"));
}

// A short string's length is one byte: 255 bytes is the most it holds, and the plain
// string kind takes ASCII up to that length.
TEST(StreamEncodingTest, AShortStringHoldsAtMost255Bytes)
{
    TStreamOutput out;
    out.WriteShortString(std::string(255, 'x'));
    EXPECT_EQ(out.Size(), 256u);
    EXPECT_THROW(out.WriteShortString(std::string(256, 'x')), EWriteError);
    EXPECT_EQ(out.Size(), 256u);

    EXPECT_EQ(NaturalStringKind(std::string(255, 'x')), TValueKind::String);
    EXPECT_EQ(NaturalStringKind(std::string(256, 'x')), TValueKind::LString);
    EXPECT_EQ(NaturalStringKind("\xC3\xB6"), TValueKind::Utf8String);
}
