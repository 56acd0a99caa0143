#include "platform/BinaryForm.h"
#include "platform/Exceptions.h"
#include "platform/StreamOutput.h"
#include "platform/TextForm.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

using namespace vandora;

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// A binary form with one component holding the properties that fill() writes.
QByteArray Form(const std::function<void(TStreamOutput&)>& fill, std::string_view name = "Form1",
                std::string_view className = "TForm1")
{
    TStreamOutput out;
    out.WriteSignature();
    out.WriteShortString(className);
    out.WriteShortString(name);
    fill(out);
    out.WriteByte(0);
    out.WriteByte(0);
    return out.TakeData();
}

void Property(TStreamOutput& out, std::string_view name)
{
    out.WriteShortString(name);
}

std::string Text(const QByteArray& binary)
{
    return TTextForm::FromBinary(View(binary));
}

// What converting the binary form to text raises, or "no error".
std::string ErrorOf(const QByteArray& binary)
{
    try {
        Text(binary);
    } catch (const EReadError& e) {
        return std::string(e.what());
    }
    return std::string("no error");
}

// binary -> text -> binary must give the same bytes.
void ExpectRoundTrip(const QByteArray& binary)
{
    const std::string text = Text(binary);
    EXPECT_EQ(TBinaryForm::FromText(text), binary) << text;
}

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string Body(const std::string& lines)
{
    return "object Form1: TForm1\n" + lines + "end\n";
}

} // namespace

TEST(TextFormTest, WritesScalarsOnePerLine)
{
    const QByteArray binary = Form([](TStreamOutput& out) {
        Property(out, "Left");
        out.WriteInteger(8);
        Property(out, "Width");
        out.WriteInteger(400);
        Property(out, "Tag");
        out.WriteInteger(-100000);
        Property(out, "Caption");
        out.WriteString("Game over.\r\nYour score: 'x'");
        Property(out, "Empty");
        out.WriteString("");
        Property(out, "ShapeType");
        out.WriteIdent("stPolygon");
        Property(out, "Font.Name");
        out.WriteString("Tahoma");
        Property(out, "Visible");
        out.WriteKind(TValueKind::True);
        Property(out, "Down");
        out.WriteKind(TValueKind::False);
        Property(out, "Images");
        out.WriteKind(TValueKind::Nil);
        Property(out, "X");
        out.WriteExtended(TExtended::FromDouble(224.0));
        Property(out, "Anchors");
        out.WriteKind(TValueKind::Set);
        out.WriteShortString("akLeft");
        out.WriteShortString("akTop");
        out.WriteByte(0);
        Property(out, "None");
        out.WriteKind(TValueKind::Set);
        out.WriteByte(0);
    });
    EXPECT_EQ(Text(binary), Body("  Left = 8\n"
                                 "  Width = 400\n"
                                 "  Tag = -100000\n"
                                 "  Caption = 'Game over.'#13#10'Your score: ''x'''\n"
                                 "  Empty = ''\n"
                                 "  ShapeType = stPolygon\n"
                                 "  Font.Name = 'Tahoma'\n"
                                 "  Visible = True\n"
                                 "  Down = False\n"
                                 "  Images = nil\n"
                                 "  X = 224.0\n"
                                 "  Anchors = [akLeft, akTop]\n"
                                 "  None = []\n"));
    ExpectRoundTrip(binary);
}

TEST(TextFormTest, WritesListsCollectionsAndBinaryDataIndented)
{
    const QByteArray binary = Form([](TStreamOutput& out) {
        Property(out, "HotSpots");
        out.WriteKind(TValueKind::Collection);
        out.WriteKind(TValueKind::List);
        Property(out, "Name");
        out.WriteString("Norway");
        Property(out, "PolyPoints");
        out.WriteKind(TValueKind::List);
        out.WriteInteger(153);
        out.WriteInteger(0);
        out.WriteKind(TValueKind::List); // a nested list
        out.WriteByte(0);
        out.WriteByte(0);
        out.WriteByte(0);
        out.WriteInteger(7); // the second item's leading integer
        out.WriteKind(TValueKind::List);
        out.WriteByte(0);
        out.WriteByte(0);
        Property(out, "Empty");
        out.WriteKind(TValueKind::Collection);
        out.WriteByte(0);
        Property(out, "Picture.Data");
        out.WriteBinary(std::string(33, '\xAB'));
        Property(out, "NoData");
        out.WriteBinary("");
    });
    EXPECT_EQ(Text(binary), Body("  HotSpots = <\n"
                                 "    item\n"
                                 "      Name = 'Norway'\n"
                                 "      PolyPoints = (\n"
                                 "        153\n"
                                 "        0\n"
                                 "        ())\n"
                                 "    end\n"
                                 "    item 7\n"
                                 "    end>\n"
                                 "  Empty = <>\n"
                                 "  Picture.Data = {\n"
                                 "    " + Repeat("AB", 32) + "\n"
                                 "    AB}\n"
                                 "  NoData = {}\n"));
    ExpectRoundTrip(binary);
}

TEST(TextFormTest, NestsChildComponentsAfterTheProperties)
{
    TStreamOutput out;
    out.WriteSignature();
    out.WriteShortString("TForm2");
    out.WriteShortString("Form2");
    Property(out, "Caption");
    out.WriteString("Vandora");
    out.WriteByte(0);
    out.WriteShortString("TLabel");
    out.WriteShortString("Label1");
    out.WriteByte(0);
    out.WriteByte(0);
    out.WriteShortString("TPanel");
    out.WriteShortString(""); // unnamed
    out.WriteByte(0);
    out.WriteShortString("TButton");
    out.WriteShortString("end"); // a name that is a word of the syntax
    out.WriteByte(0);
    out.WriteByte(0);
    out.WriteByte(0);
    out.WriteByte(0);
    const QByteArray binary = out.TakeData();
    EXPECT_EQ(Text(binary), "object Form2: TForm2\n"
                            "  Caption = 'Vandora'\n"
                            "  object Label1: TLabel\n"
                            "  end\n"
                            "  object TPanel\n"
                            "    object 'end': TButton\n"
                            "    end\n"
                            "  end\n"
                            "end\n");
    ExpectRoundTrip(binary);
}

TEST(TextFormTest, TagsWhatThePlainNotationWouldChange)
{
    const QByteArray binary = Form([](TStreamOutput& out) {
        Property(out, "Wide");
        out.WriteIntegerAs(TValueKind::Int32, 5);
        Property(out, "Wider");
        out.WriteIntegerAs(TValueKind::Int16, -3);
        Property(out, "Nan");
        out.WriteExtended(TExtended::FromDouble(std::numeric_limits<double>::quiet_NaN()));
        Property(out, "D");
        out.WriteDouble(1.5);
        Property(out, "DInf");
        out.WriteDouble(-std::numeric_limits<double>::infinity());
        Property(out, "Latin");
        out.WriteStringAs(TValueKind::String, "K\xF6ln");
        Property(out, "Long");
        out.WriteStringAs(TValueKind::LString, "short");
        Property(out, "Utf8Ascii");
        out.WriteStringAs(TValueKind::Utf8String, "plain");
        Property(out, "Utf8");
        out.WriteString("K\xC3\xB6ln \xE2\x82\xAC");
        Property(out, "Word");
        out.WriteIdent("True");
        Property(out, "Spaced");
        out.WriteIdent("a b");
        Property(out, "Closing");
        out.WriteIdent("end");
        Property(out, "Del");
        out.WriteString("a\x7F");
        Property(out, "Odd name");
        out.WriteInteger(1);
    });
    EXPECT_EQ(Text(binary), Body("  Wide = int32:5\n"
                                 "  Wider = int16:-3\n"
                                 "  Nan = 0x7FFFC000000000000000\n"
                                 "  D = double:1.5\n"
                                 "  DInf = double:0xFFF0000000000000\n"
                                 "  Latin = string:'K'#246'ln'\n"
                                 "  Long = lstring:'short'\n"
                                 "  Utf8Ascii = utf8:'plain'\n"
                                 "  Utf8 = 'K'#246'ln '#8364\n"
                                 "  Word = ident:'True'\n"
                                 "  Spaced = ident:'a b'\n"
                                 "  Closing = ident:'end'\n"
                                 "  Del = 'a'#127\n"
                                 "  'Odd name' = 1\n"));
    ExpectRoundTrip(binary);
}

TEST(TextFormTest, LongAsciiStringsAreLongStringsWithoutATag)
{
    const std::string text(300, 'x');
    const QByteArray binary = Form([&](TStreamOutput& out) {
        Property(out, "Text");
        out.WriteString(text);
    });
    EXPECT_EQ(Text(binary), Body("  Text = '" + text + "'\n"));
    ExpectRoundTrip(binary);
}

TEST(TextFormTest, MalformedBinaryNamesTheComponentPropertyAndOffset)
{
    EXPECT_EQ(ErrorOf("TPF1"), "Not a binary form: the signature TPF0 is missing (byte offset 0)");
    QByteArray truncated = Form([](TStreamOutput& out) {
        Property(out, "Caption");
        out.WriteString("Hello");
    });
    truncated.chop(4);
    EXPECT_EQ(ErrorOf(truncated), "Unexpected end of the stream (component Form1: TForm1, property Caption, byte offset 27)");
    // Cut in the next name: Caption was read whole and is not blamed.
    EXPECT_EQ(ErrorOf(Form([](TStreamOutput& out) {
                  Property(out, "Caption");
                  out.WriteString("Hello");
                  out.WriteByte(5);
              })),
              "Unexpected end of the stream (component Form1: TForm1, byte offset 33)");
    EXPECT_EQ(ErrorOf(Form([](TStreamOutput& out) {
                  Property(out, "Kind");
                  out.WriteByte(17);
              })),
              "Unknown value kind 17 (component Form1: TForm1, property Kind, byte offset 22)");
    EXPECT_EQ(ErrorOf(Form([](TStreamOutput& out) {
                  Property(out, "Data");
                  out.WriteKind(TValueKind::Binary);
                  out.WriteUInt32(0xFFFFFFF0u);
              })),
              "A length of 4294967280 bytes runs past the end of the stream (2 left) (component Form1: TForm1, "
              "property Data, byte offset 23)");
    EXPECT_EQ(ErrorOf(Form([](TStreamOutput& out) {
                  Property(out, "Bad");
                  out.WriteStringAs(TValueKind::Utf8String, "\xC3");
              })),
              "A UTF-8 string holds bytes that are not UTF-8 (component Form1: TForm1, property Bad, byte offset 21)");
    QByteArray trailing = Form([](TStreamOutput&) {});
    trailing.append('\0');
    EXPECT_EQ(ErrorOf(trailing), "Unexpected data after the form (byte offset 19)");
    // A component without a class is refused; one without a name is named by its class.
    EXPECT_EQ(ErrorOf(Form([](TStreamOutput&) {}, "Form1", "")),
              "A component has no class name (byte offset 4)");
    EXPECT_EQ(ErrorOf(Form(
                  [](TStreamOutput& out) {
                      Property(out, "Kind");
                      out.WriteByte(17);
                  },
                  "")),
              "Unknown value kind 17 (component TForm1, property Kind, byte offset 17)");
}

// Components and lists count alike towards the nesting limit, which is exact.
TEST(TextFormTest, NestingUpToTheLimitIsWrittenAndOneDeeperIsRefused)
{
    const auto nested = [](int lists) {
        return Form([lists](TStreamOutput& out) {
            Property(out, "Deep");
            for (int i = 0; i < lists; ++i)
                out.WriteKind(TValueKind::List);
            for (int i = 0; i < lists; ++i)
                out.WriteByte(0);
        });
    };
    ExpectRoundTrip(nested(kMaxNestingDepth - 1));
    try {
        Text(nested(kMaxNestingDepth));
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Nesting deeper than 64 levels", 0), 0u) << e.what();
    }
}

TEST(TextFormTest, RefusesNestingThousandsDeep)
{
    const QByteArray binary = Form([](TStreamOutput& out) {
        Property(out, "Deep");
        for (int i = 0; i < 5000; ++i)
            out.WriteKind(TValueKind::List);
        for (int i = 0; i < 5000; ++i)
            out.WriteByte(0);
    });
    EXPECT_THROW(Text(binary), EReadError);
    // Collections each held in an item of the one around it.
    const QByteArray collections = Form([](TStreamOutput& out) {
        Property(out, "Deep");
        for (int i = 0; i < 5000; ++i) {
            out.WriteKind(TValueKind::Collection);
            out.WriteKind(TValueKind::List);
            Property(out, "Inner");
        }
        out.WriteKind(TValueKind::Collection);
        out.WriteByte(0);
        for (int i = 0; i < 5000; ++i) {
            out.WriteByte(0);
            out.WriteByte(0);
        }
    });
    EXPECT_THROW(Text(collections), EReadError);
}

// Inside a collection an error names the item, and the item's property where one is read.
TEST(TextFormTest, AnErrorInACollectionNamesTheItemAndItsProperty)
{
    // cut: the form's two closing bytes taken off, so that the data ends after the items
    const auto errorOf = [](const std::function<void(TStreamOutput&)>& items, bool cut = false) {
        QByteArray binary = Form([&](TStreamOutput& out) {
            Property(out, "Hot");
            out.WriteKind(TValueKind::Collection);
            items(out);
        });
        if (cut)
            binary.chop(2);
        return ErrorOf(binary);
    };
    const auto firstItem = [](TStreamOutput& out) {
        out.WriteKind(TValueKind::List);
        Property(out, "Name");
        out.WriteString("A");
        out.WriteByte(0);
    };
    EXPECT_EQ(errorOf([&](TStreamOutput& out) {
                  firstItem(out);
                  out.WriteKind(TValueKind::List);
                  Property(out, "Name");
                  out.WriteByte(17);
              }),
              "Unknown value kind 17 (component Form1: TForm1, property Hot[1].Name, byte offset 38)");
    EXPECT_EQ(errorOf([&](TStreamOutput& out) {
                  out.WriteKind(TValueKind::List);
                  Property(out, "Name");
                  out.WriteString("A");
              },
                      true),
              "Unexpected end of the stream (component Form1: TForm1, property Hot[0], byte offset 31)");
    EXPECT_EQ(errorOf(firstItem, true), "Unexpected end of the stream (component Form1: TForm1, property Hot, byte offset 32)");
    EXPECT_EQ(errorOf([](TStreamOutput& out) { out.WriteString("A"); }),
              "A collection item does not start with a list (component Form1: TForm1, property Hot, byte offset 22)");
}
