#include "platform/BinaryForm.h"
#include "platform/Exceptions.h"
#include "platform/StreamOutput.h"
#include "platform/TextForm.h"

#include <gtest/gtest.h>

using namespace vandora;

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

std::string ErrorOf(std::string_view text)
{
    try {
        TBinaryForm::FromText(text);
    } catch (const EReadError& e) {
        return e.what();
    }
    return "no error";
}

// A form as the text form writes it, with every kind of value.
const char* const kCanonical = R"(object Form2: TForm2
  Left = 0
  Caption = 'Vandora'
  Font.Height = -11
  Font.Name = 'Tahoma'
  OnCreate = FormCreate
  object Morvane1: TMorvane
    Left = 8
    Color = clBlack
    HotSpots = <
      item
        ShapeType = stPolygon
        Name = 'Luxemburg'
        ID = 21
        Clipped = True
        Down = False
        PolyPoints = (
          5
          0
          165.14285714285709629
          251.7496928746928995)
      end
      item 3
        Name = 'L'#228'tzeburg'
      end>
    Picture.Data = {
      07544269746D6170}
    Version = '1.5.0.0'
    Anchors = [akLeft, akTop]
    Images = nil
    Big = 100000
    Wide = int32:1
    Ratio = double:0.1
    Nan = 0x7FFFC000000000000000
  end
end
)";

} // namespace

TEST(BinaryFormTest, CanonicalTextSurvivesTheRoundTrip)
{
    const QByteArray binary = TBinaryForm::FromText(kCanonical);
    EXPECT_EQ(TTextForm::FromBinary(View(binary)), kCanonical);
}

TEST(BinaryFormTest, EncodesEachValueInItsKind)
{
    const QByteArray binary = TBinaryForm::FromText("object F: TF\n"
                                                    "  A = 153\n"
                                                    "  B = 0\n"
                                                    "  C = 224.0\n"
                                                    "  D = 'x'\n"
                                                    "  E = #246\n"
                                                    "  F = stPolygon\n"
                                                    "end\n");
    TStreamOutput expected;
    expected.WriteSignature();
    expected.WriteShortString("TF");
    expected.WriteShortString("F");
    expected.WriteShortString("A");
    expected.WriteBytes(std::string_view("\x03\x99\x00", 3)); // 16 bits: does not fit in 8
    expected.WriteShortString("B");
    expected.WriteBytes(std::string_view("\x02\x00", 2));
    expected.WriteShortString("C");
    expected.WriteBytes(std::string_view("\x05\x00\x00\x00\x00\x00\x00\x00\xE0\x06\x40", 11));
    expected.WriteShortString("D");
    expected.WriteBytes("\x06\x01x");
    expected.WriteShortString("E");
    expected.WriteBytes(std::string_view("\x14\x02\x00\x00\x00\xC3\xB6", 7)); // UTF-8 kind
    expected.WriteShortString("F");
    expected.WriteIdent("stPolygon");
    expected.WriteByte(0);
    expected.WriteByte(0);
    EXPECT_EQ(binary, expected.Data());
}

TEST(BinaryFormTest, AcceptsHandWrittenLayout)
{
    // Indentation, blank lines and line breaks are free; '#' codes join quoted runs.
    const char* const text = "object F : TF\n"
                             "\n"
                             "     Caption='a'#13#10'b'   \n"
                             "  List = ( 1 2\n"
                             "   3 )\n"
                             "  Data = { 0a0B\n"
                             "           ff }\n"
                             "  Set = [ x ,y ]\n"
                             "  Items = < item A = 1 end item end >\n"
                             "end";
    EXPECT_EQ(TTextForm::FromBinary(View(TBinaryForm::FromText(text))), "object F: TF\n"
                                                                        "  Caption = 'a'#13#10'b'\n"
                                                                        "  List = (\n"
                                                                        "    1\n"
                                                                        "    2\n"
                                                                        "    3)\n"
                                                                        "  Data = {\n"
                                                                        "    0A0BFF}\n"
                                                                        "  Set = [x, y]\n"
                                                                        "  Items = <\n"
                                                                        "    item\n"
                                                                        "      A = 1\n"
                                                                        "    end\n"
                                                                        "    item\n"
                                                                        "    end>\n"
                                                                        "end\n");
}

TEST(BinaryFormTest, ReadsTheNotationsOfFormsWrittenElsewhere)
{
    // Long strings split over lines with '+', character codes and integers in hex.
    const char* const text = "object F: TF\n"
                             "  Caption = \n"
                             "    'K'#$F6'ln, ' +\n"
                             "    #$4B'\u00f6ln'\n"
                             "  Color = $00C0C0C0\n"
                             "  Tag = -$10\n"
                             "  Width = int16:$7F\n"
                             "  Lines = (\n"
                             "    'a' + 'b'\n"
                             "    'c')\n"
                             "end";
    EXPECT_EQ(TTextForm::FromBinary(View(TBinaryForm::FromText(text))), "object F: TF\n"
                                                                        "  Caption = 'K'#246'ln, K'#246'ln'\n"
                                                                        "  Color = 12632256\n"
                                                                        "  Tag = -16\n"
                                                                        "  Width = int16:127\n"
                                                                        "  Lines = (\n"
                                                                        "    'ab'\n"
                                                                        "    'c')\n"
                                                                        "end\n");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 'a' +\n  B = 1\nend\n"),
              "'+' must be followed by a string (component F: TF, property A, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = $\nend\n"), "Malformed number '$' (component F: TF, property A, line 2)");
    // Editors that save UTF-8 may put a byte order mark first.
    EXPECT_EQ(ErrorOf("\xEF\xBB\xBFobject F: TF\nend\n"), "no error");
    // Lines end with CR LF or a lone CR as well.
    for (const char* eol : {"\r\n", "\r"})
        EXPECT_EQ(ErrorOf(std::string("object F: TF") + eol + "  B = 1" + eol + "  A = $" + eol + "end" + eol),
                  "Malformed number '$' (component F: TF, property A, line 3)")
            << (eol[1] ? "CR LF" : "CR");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = $-1\nend\n"), "Malformed number '$-1' (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = $1G\nend\n"), "Malformed number '$1G' (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = $80000000\nend\n"),
              "Integer $80000000 lies outside the 32-bit range (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = #$110000\nend\n"),
              "Character code #$110000... is too large (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = #$\nend\n"),
              "'#' must be followed by a character code (component F: TF, property A, line 2)");
}

TEST(BinaryFormTest, RecordsTheLineOfEachPart)
{
    TStreamLineMap lines;
    const QByteArray binary = TBinaryForm::FromText("object F: TF\n  A = 1\n  B = (\n    2\n    3)\nend\n", &lines);
    // Signature and header come from line 1; A's name from line 2, B's list from line 3.
    EXPECT_EQ(lines.LineAt(4), 1);
    const auto offsetOf = [&](std::string_view needle) { return std::size_t(binary.indexOf(needle.data())); };
    EXPECT_EQ(lines.LineAt(offsetOf("\x01" "A")), 2);
    EXPECT_EQ(lines.LineAt(offsetOf("\x01" "B") + 2), 3);
    EXPECT_EQ(lines.LineAt(std::size_t(binary.size()) - 4), 5);
}

TEST(BinaryFormTest, MalformedTextNamesTheComponentPropertyAndLine)
{
    EXPECT_EQ(ErrorOf("objekt F: TF\nend\n"), "A form starts with 'object' (line 1)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A 1\nend\n"),
              "'=' is expected after the property name (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1\n  Y\n\n  Z = 2\nend\n"),
              "'=' is expected after the property name (component F: TF, property Y, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    item\n      B = 1\n      object C: TC\n      end\n    end>\nend\n"),
              "'end' is expected (an item holds properties only) (component F: TF, property A[0], line 5)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 'open\nend\n"), "Unterminated string (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 'open\n  B = 'x'\nend\n"),
              "Unterminated string (component F: TF, property A, line 2)");
    // A byte that is no printable ASCII is named by its number.
    EXPECT_EQ(ErrorOf("object F: TF\n  A = \x80\nend\n"), "Unexpected character #128 (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = \x7F\nend\n"), "Unexpected character #127 (component F: TF, property A, line 2)");
    // A fault in what follows a whole value is not that property's; inside a list it is.
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1\n  'B = 2\nend\n"), "Unterminated string (component F: TF, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = x\n  B..C = 2\nend\n"), "Malformed name 'B..C' (component F: TF, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = x\n  B. = 2\nend\n"), "Malformed name 'B.' (component F: TF, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    item\n      B = x\n      'C = 2\n    end>\nend\n"),
              "Unterminated string (component F: TF, property A[0], line 5)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = (x\n    'open)\nend\n"), "Unterminated string (component F: TF, property A, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1\n"), "The text ends where 'end' is expected (component F: TF, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 4294967296\nend\n"),
              "Integer 4294967296 lies outside the 32-bit range (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1x\nend\n"), "Malformed number '1x' (component F: TF, property A, line 2)");
    // A real beyond the range is a mistake, not infinity (infinities are written in hex).
    EXPECT_EQ(ErrorOf("object F: TF\n  A = -1e5000\nend\n"),
              "Real -1e5000 lies outside the range of an extended real (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = double:1e400\nend\n"),
              "Real 1e400 lies outside the range of a double (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = double:1e-400\nend\n"), "no error"); // rounds to zero
    EXPECT_EQ(ErrorOf("object F: TF\n  A = int8:300\nend\n"),
              "Integer 300 does not fit in int8 (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = float:1\nend\n"), "Unknown value tag 'float:' (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = {\n    ABC}\nend\n"),
              "Binary data has an odd number of hex digits (component F: TF, property A, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = string:#8364\nend\n"),
              "Character #8364 does not fit in one byte (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = #55296\nend\n"),
              "Character #55296 is not a Unicode character (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    item\n      B = \n    end>\nend\n"),
              "A value is expected (component F: TF, property A[0].B, line 5)");
    EXPECT_EQ(ErrorOf("object F: TF\n  object C: TC\n  end\n  A = 1\nend\n"),
              "'end' is expected (properties come before child components) (component F: TF, line 4)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1,\nend\n"), "'end' is expected, not ',' (component F: TF, line 2)");
    // What the binary form cannot hold is refused, not cut short: its lengths are one byte.
    const std::string longWord(256, 'w');
    EXPECT_EQ(ErrorOf("object F: TF\n  A = string:'" + longWord + "'\nend\n"),
              "Longer than 255 bytes (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  " + longWord + " = 1\nend\n"), "Names are at most 255 bytes long (component F: TF, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = " + longWord + "\nend\n"),
              "Identifiers are at most 255 bytes long (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: ''\nend\n"), "A component has no class name (line 1)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = [a, '']\nend\n"), "A set element has no name (component F: TF, property A, line 2)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    x\n  end>\nend\n"),
              "'item' or '>' is expected in a collection (component F: TF, property A, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    item double:1\n    end>\nend\n"),
              "An item's leading value is an integer (component F: TF, property A, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = double:0x1\nend\n"),
              "A real (decimal, or 0x and 16 hex digits) is expected after 'double:' (component F: TF, property A, line 2)");
    for (const char* children : {"  object C: TC\n  end\n  inherited D: TD\n", "  B = 1\n\n  inherited D: TD\n"})
        EXPECT_EQ(ErrorOf(std::string("object F: TF\n") + children + "  end\nend\n"),
                  "'inherited' components are not read: child components start with 'object' (component F: TF, "
                  "line 4)");
    EXPECT_EQ(ErrorOf("object F: TF\nend\nobject G: TG\nend\n"), "Unexpected text after the form (line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1 ; \nend\n"), "Unexpected character ';' (component F: TF, line 2)");
    // Quoted names may hold anything but nothing: an empty one ends a list in the binary form.
    EXPECT_EQ(ErrorOf("object F: TF\n  A = 1\n  '' = 'x'\nend\n"), "A property has no name (component F: TF, line 3)");
    EXPECT_EQ(ErrorOf("object F: TF\n  A = <\n    item\n      B = 1\n      '' = 1\n    end>\nend\n"),
              "A property has no name (component F: TF, property A[0], line 5)");
}

TEST(BinaryFormTest, RefusesNestingThousandsDeep)
{
    const std::string text = "object F: TF\n  A = " + std::string(5000, '(') + std::string(5000, ')') + "\nend\n";
    EXPECT_EQ(ErrorOf(text), "Nesting deeper than 64 levels (component F: TF, property A, line 2)");
    std::string objects;
    for (int i = 0; i < 3000; ++i)
        objects += "object C: TC\n";
    EXPECT_NE(ErrorOf(objects).find("Nesting deeper than 64 levels"), std::string::npos);
}
