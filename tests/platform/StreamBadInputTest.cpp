#include "StreamSamples.h"

#include "platform/Exceptions.h"
#include "platform/PrintableText.h"
#include "platform/StreamForm.h"
#include "platform/StreamOutput.h"

#include <gtest/gtest.h>

using namespace vandora;
using namespace vandora::samples;

namespace {

class StreamBadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSampleClasses();
        alive_ = TSampleComponent::Alive;
    }
    void TearDown() override { EXPECT_EQ(TSampleComponent::Alive, alive_) << "a component was left behind"; }

private:
    int alive_ = 0;
};

const char* const kGood = "object Form: TSampleForm\n"
                          "  object First: TSampleComponent\n"
                          "    Count = 300\n"
                          "    Caption = 'x'\n"
                          "    Font.Name = 'Tahoma'\n"
                          "    Items = <\n"
                          "      item\n"
                          "        Outline = (\n"
                          "          2\n"
                          "          0\n"
                          "          1.5\n"
                          "          2.5\n"
                          "          3.5\n"
                          "          4.5)\n"
                          "      end>\n"
                          "    OnChange = ChangeHandler\n"
                          "  end\n"
                          "  object Second: TSampleComponent\n"
                          "  end\n"
                          "end\n";

// The message of the error reading the text form raises (into a fresh TSampleForm).
std::string ErrorOf(const std::string& form)
{
    TSampleForm root;
    try {
        ReadForm(QByteArray::fromStdString(form), root);
    } catch (const EFilerError& e) {
        EXPECT_EQ(root.ComponentCount(), 0);
        EXPECT_EQ(root.First, nullptr);
        return e.what();
    }
    return "no error";
}

// kGood with one line replaced.
std::string WithLine(int line, const std::string& replacement)
{
    std::string text = kGood;
    std::size_t start = 0;
    for (int i = 1; i < line; ++i)
        start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start);
    return text.replace(start, end - start, replacement);
}

// A binary form whose First component holds the value fill() writes as property `name`.
QByteArray BinaryWith(std::string_view name, const std::function<void(TStreamOutput&)>& fill)
{
    TStreamOutput out;
    out.WriteSignature();
    out.WriteShortString("TSampleForm");
    out.WriteShortString("Form");
    out.WriteByte(0);
    out.WriteShortString("TSampleComponent");
    out.WriteShortString("First");
    out.WriteShortString(name);
    fill(out);
    out.WriteByte(0);
    out.WriteByte(0);
    out.WriteByte(0);
    return out.TakeData();
}

std::string BinaryErrorOf(const QByteArray& form)
{
    TSampleForm root;
    try {
        ReadForm(form, root);
    } catch (const EFilerError& e) {
        EXPECT_EQ(root.ComponentCount(), 0);
        return e.what();
    }
    return "no error";
}

} // namespace

// Only the whole signature makes a binary form, and one passed through as it is gets
// checked on the way.
TEST_F(StreamBadInputTest, ABinaryFormPassedThroughIsCheckedOnTheWay)
{
    const QByteArray binary = FormToBinary(kGood);
    EXPECT_TRUE(IsBinaryForm(binary));
    EXPECT_FALSE(IsBinaryForm("TPF1"));
    EXPECT_FALSE(IsBinaryForm("TPF"));
    EXPECT_EQ(FormToBinary(binary), binary);
    EXPECT_THROW(FormToBinary(binary.left(binary.size() - 1)), EReadError);
}

TEST_F(StreamBadInputTest, EveryTruncationFailsAndLeavesNothingBehind)
{
    const QByteArray binary = FormToBinary(kGood);
    for (qsizetype size = 0; size < binary.size(); ++size) {
        TSampleForm root;
        EXPECT_THROW(ReadForm(binary.left(size), root), EReadError) << size;
        EXPECT_EQ(root.ComponentCount(), 0) << size;
        EXPECT_EQ(root.First, nullptr) << size;
        EXPECT_EQ(root.ComponentState(), 0u) << size;
        EXPECT_THROW(ReadForm(binary.left(size)), EReadError) << size;
    }
    const std::string text = kGood;
    for (std::size_t size = 0; size + 1 < text.size(); size += 7)
        EXPECT_THROW(ReadForm(QByteArray::fromStdString(text.substr(0, size))), EReadError) << size;
}

TEST_F(StreamBadInputTest, AValueOfTheWrongKindIsAnInvalidPropertyValue)
{
    EXPECT_EQ(ErrorOf(WithLine(3, "Count = 'many'")),
              "Invalid property value (component First: TSampleComponent, property Count, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Count = True")),
              "Invalid property value (component First: TSampleComponent, property Count, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(4, "Caption = 12")),
              "Invalid property value (component First: TSampleComponent, property Caption, line 4)");
    EXPECT_EQ(ErrorOf(WithLine(4, "Enabled = 1")),
              "Invalid property value (component First: TSampleComponent, property Enabled, line 4)");
    EXPECT_EQ(ErrorOf(WithLine(16, "OnChange = 12")),
              "Invalid property value (component First: TSampleComponent, property OnChange, line 16)");
    EXPECT_EQ(ErrorOf("object Form: TSampleForm\n  object First: TSampleComponent\n    Items = (1)\n  end\nend\n"),
              "Invalid property value (component First: TSampleComponent, property Items, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(5, "Font = 'Tahoma'")),
              "Invalid property value (component First: TSampleComponent, property Font, line 5)");
    EXPECT_EQ(ErrorOf(WithLine(10, "'x'")),
              "Invalid property value (component First: TSampleComponent, property Items[0].Outline, line 10)");
    // A value the setter's type cannot hold.
    EXPECT_EQ(ErrorOf(WithLine(3, "Small = 300")),
              "Invalid property value (component First: TSampleComponent, property Small, line 3)");
    // In a binary form: the signature, the two headers (41 bytes) and the name take the
    // bytes before the value's.
    EXPECT_EQ(BinaryErrorOf(BinaryWith("Count", [](TStreamOutput& out) { out.WriteString("x"); })),
              "Invalid property value (component First: TSampleComponent, property Count, byte offset 51)");
    // A collection's item is a list of properties, after an integer or not.
    EXPECT_EQ(BinaryErrorOf(BinaryWith("Items",
                                       [](TStreamOutput& out) {
                                           out.WriteKind(TValueKind::Collection);
                                           out.WriteInteger(3);
                                           out.WriteString("x");
                                       })),
              "Invalid property value (component First: TSampleComponent, property Items, byte offset 52)");
}

TEST_F(StreamBadInputTest, ACountThatDisagreesWithItsValuesFails)
{
    // Fewer values than announced: a real is expected where the list ends.
    EXPECT_EQ(ErrorOf(WithLine(9, "3")),
              "Invalid property value (component First: TSampleComponent, property Items[0].Outline, line 14)");
    // More values than announced: the list does not end where it should.
    EXPECT_EQ(ErrorOf(WithLine(9, "1")),
              "Invalid property value (component First: TSampleComponent, property Items[0].Outline, line 13)");
    // A count far beyond what the rest of the stream could hold is refused before anything
    // is allocated for it.
    EXPECT_EQ(ErrorOf(WithLine(9, "2000000000")),
              "Invalid property value: a count of 4000000000 values does not fit in the 100 bytes left "
              "(component First: TSampleComponent, property Items[0].Outline, line 11)");
    // Each value takes two bytes at least: half the bytes left is the most there can be.
    EXPECT_EQ(ErrorOf(WithLine(9, "30")),
              "Invalid property value: a count of 60 values does not fit in the 100 bytes left "
              "(component First: TSampleComponent, property Items[0].Outline, line 11)");
}

TEST_F(StreamBadInputTest, UnknownClassesPropertiesAndIdentifiersAreNamed)
{
    const std::string unknownClass = ErrorOf(WithLine(18, "  object Second: TNoSuchClass"));
    EXPECT_EQ(unknownClass, "Class TNoSuchClass of component Second not found (component Form: TSampleForm, line 18)");
    EXPECT_THROW(ReadForm(QByteArray::fromStdString(WithLine(1, "object Form: TNoSuchForm"))), EClassNotFound);
    EXPECT_EQ(ErrorOf(WithLine(18, "  object Second: TSampleFont")),
              "Class TSampleFont of component Second cannot be created from a form (component Form: TSampleForm, line 18)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Colour = 3")),
              "Property Colour does not exist in TSampleComponent (component First: TSampleComponent, property Colour, "
              "line 3)");
    EXPECT_EQ(ErrorOf(WithLine(5, "Font.Family = 'x'")),
              "Property Family does not exist in TSampleFont (component First: TSampleComponent, property Font.Family, "
              "line 5)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Kind = skFourth")),
              "Invalid property value (component First: TSampleComponent, property Kind, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Color = clChartreuse")),
              "Invalid property value (component First: TSampleComponent, property Color, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Cursor = crSpinning")),
              "Invalid property value (component First: TSampleComponent, property Cursor, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Options = [soBold, soBlink]")),
              "Invalid property value (component First: TSampleComponent, property Options, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(3, "Version = 16")),
              "Property Version is read-only (component First: TSampleComponent, property Version, line 3)");
    EXPECT_EQ(ErrorOf(WithLine(18, "  object First: TSampleComponent")),
              "A component named First already exists (component Form: TSampleForm, line 18)");
    EXPECT_EQ(ErrorOf(WithLine(18, "  object Form: TSampleComponent")),
              "A component named Form already exists (component Form: TSampleForm, line 18)");
}

TEST_F(StreamBadInputTest, NamesFromTheDataReachTheErrorTextAsPrintableCharacters)
{
    // An escape sequence and a byte that is not UTF-8 in a property name: a terminal or a
    // message box showing the error must not act on them.
    EXPECT_EQ(ErrorOf(WithLine(3, "'Col'#27'[2J'#255 = 3")),
              "Property Col#27[2J#255 does not exist in TSampleComponent (component First: TSampleComponent, "
              "property Col#27[2J#255, line 3)");
    EXPECT_EQ(PrintableText("plain, K\xC3\xB6ln, \xF0\x9F\x97\xBA"), "plain, K\xC3\xB6ln, \xF0\x9F\x97\xBA");
    EXPECT_EQ(PrintableText("tab\tnul" + std::string(1, '\0') + "del\x7F"), "tab#9nul#0del#127");
    // Overlong, surrogate, C1 control, cut short at the end.
    EXPECT_EQ(PrintableText("\xC0\x80|\xED\xA0\x80|\xC2\x85|\xE2\x82"), "#192#128|#237#160#128|#194#133|#226#130");
}

TEST_F(StreamBadInputTest, LengthsBeyondTheInputAreRefusedBeforeAllocating)
{
    const auto hugeLength = [](TValueKind kind) {
        return BinaryWith("Caption", [kind](TStreamOutput& out) {
            out.WriteKind(kind);
            out.WriteUInt32(0xFFFFFFFFu);
        });
    };
    for (TValueKind kind : {TValueKind::LString, TValueKind::Utf8String})
        EXPECT_EQ(BinaryErrorOf(hugeLength(kind)),
                  "A length of 4294967295 bytes runs past the end of the stream (3 left) (component First: "
                  "TSampleComponent, property Caption, byte offset 54)");
    EXPECT_NE(BinaryErrorOf(BinaryWith("Picture.Data",
                                       [](TStreamOutput& out) {
                                           out.WriteKind(TValueKind::Binary);
                                           out.WriteUInt32(0x7FFFFFF0u);
                                       }))
                  .find("runs past the end"),
              std::string::npos);
}

TEST_F(StreamBadInputTest, AFaultAfterAWholePropertyIsNotBlamedOnIt)
{
    // Cut in the name after Caption's value.
    EXPECT_EQ(BinaryErrorOf(BinaryWith("Caption",
                                       [](TStreamOutput& out) {
                                           out.WriteString("x");
                                           out.WriteByte(5);
                                       })),
              "Unexpected end of the stream (component First: TSampleComponent, byte offset 57)");
    // In a collection item, the item is named.
    EXPECT_EQ(BinaryErrorOf(BinaryWith("Items",
                                       [](TStreamOutput& out) {
                                           out.WriteKind(TValueKind::Collection);
                                           out.WriteKind(TValueKind::List);
                                           out.WriteShortString("Value");
                                           out.WriteInteger(7);
                                           out.WriteByte(5);
                                       })),
              "Unexpected end of the stream (component First: TSampleComponent, property Items[0], byte offset 62)");
}

TEST_F(StreamBadInputTest, PictureDataThatLiesIsAnInvalidPropertyValue)
{
    QByteArray data;
    data.append(char(7));
    data.append("TBitmap");
    data.append("\x00\x10\x00\x00", 4); // 4096 bytes, it says
    data.append("BM not really a bitmap");
    const std::string error = BinaryErrorOf(BinaryWith("Picture.Data", [&](TStreamOutput& out) {
        out.WriteBinary(std::string_view(data.constData(), std::size_t(data.size())));
    }));
    EXPECT_EQ(error, "Invalid property value: TBitmap: picture data announces 4096 bytes but holds 22 (component First: "
                     "TSampleComponent, property Picture.Data, byte offset 58)");
}

TEST_F(StreamBadInputTest, NestingThousandsDeepIsRefused)
{
    TStreamOutput out;
    out.WriteSignature();
    for (int i = 0; i < 5000; ++i) {
        out.WriteShortString("TSampleComponent");
        out.WriteShortString("C" + std::to_string(i));
        out.WriteByte(0);
    }
    for (int i = 0; i < 10000; ++i)
        out.WriteByte(0);
    const std::string error = BinaryErrorOf(out.TakeData());
    EXPECT_EQ(error.rfind("Nesting deeper than 64 levels (component C63: TSampleComponent", 0), 0u) << error;
}

TEST_F(StreamBadInputTest, AFailedReadKeepsTheRootsOwnComponents)
{
    TSampleForm root;
    auto* kept = new TSampleComponent;
    kept->SetName("Kept");
    root.InsertComponent(kept);
    EXPECT_THROW(ReadForm(QByteArray::fromStdString(WithLine(18, "  object Second: TNoSuchClass")), root),
                 EClassNotFound);
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Components(0), kept);
    EXPECT_EQ(root.First, nullptr); // it had been bound to the First that was destroyed
    EXPECT_EQ(root.Name(), "");

    // Widgets nested in created widgets go too.
    TSampleWidgetForm window;
    EXPECT_THROW(ReadForm("object W: TSampleWidgetForm\n  object A: TSampleWidget\n    object B: TSampleWidget\n"
                          "      Left = x\n    end\n  end\nend\n",
                          window),
                 EReadError);
    EXPECT_EQ(window.ComponentCount(), 0);
    EXPECT_TRUE(window.findChildren<QWidget*>().isEmpty());
}

TEST_F(StreamBadInputTest, DataAfterTheFormIsRefused)
{
    QByteArray binary = FormToBinary(kGood);
    binary.append('\0');
    EXPECT_EQ(BinaryErrorOf(binary), "Unexpected data after the form (byte offset " + std::to_string(binary.size() - 1) + ")");
    EXPECT_EQ(ErrorOf(std::string(kGood) + "end\n"), "Unexpected text after the form (line 21)");
}

// A custom property may skip a value it does not know: every kind of value, nested too,
// must be passed over exactly, or what follows it would be read out of step.
TEST_F(StreamBadInputTest, ASkippedValueOfAnyKindLeavesTheRestInStep)
{
    const std::string values = "1 1000 100000 2.5 'short' '" + std::string(300, 'x') + "' '\u00e9t\u00e9' "
                               "Ident True False nil {0102AB} [a, b] [] <item\n X = 1\n end\n item 5\n end> <> "
                               "((1 2) ())";
    EXPECT_EQ(ErrorOf(WithLine(8, "Extra = (" + values + ")\n        Outline = (")), "no error");
    // Each on its own as well, so that a kind skipped wrongly is named.
    for (const char* one :
         {"7", "-70000", "2.5", "'s'", "Ident", "True", "nil", "{00}", "[a]", "<item\n end>", "<item 3\n end>", "(1 (2))"})
        EXPECT_EQ(ErrorOf(WithLine(8, std::string("Extra = ") + one + "\n        Outline = (")), "no error") << one;
}

TEST_F(StreamBadInputTest, AMalformedValueIsRefusedEvenWhereItIsSkipped)
{
    // Items' Extra skips any one value: a UTF-8 string that is not UTF-8 still fails, as
    // it does when the form is converted.
    const std::string form = WithLine(8, "Extra = (1 utf8:'ok')\n        Outline = (");
    EXPECT_EQ(ErrorOf(form), "no error");
    QByteArray binary = FormToBinary(QByteArray::fromStdString(form));
    binary.replace("ok", "\xC3\x28");
    EXPECT_EQ(BinaryErrorOf(binary), "A UTF-8 string holds bytes that are not UTF-8 (component First: TSampleComponent, "
                                     "property Items[0].Extra, byte offset 100)");
    // And where it is read.
    EXPECT_EQ(BinaryErrorOf(BinaryWith("Caption",
                                       [](TStreamOutput& out) { out.WriteStringAs(TValueKind::Utf8String, "\xC3\x28"); })),
              "A UTF-8 string holds bytes that are not UTF-8 (component First: TSampleComponent, property Caption, "
              "byte offset 53)");
    // A one-byte string is Latin-1, read as the same characters.
    TSampleForm root;
    ReadForm(BinaryWith("Caption", [](TStreamOutput& out) { out.WriteStringAs(TValueKind::String, "caf\xE9"); }), root);
    ASSERT_NE(root.First, nullptr);
    EXPECT_EQ(root.First->Caption(), "caf\u00e9");
}
