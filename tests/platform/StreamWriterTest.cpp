#include "StreamSamples.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/StreamForm.h"
#include "platform/Writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

using namespace vandora;
using namespace vandora::samples;

namespace {

class StreamWriterTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterSampleClasses(); }
};

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// The bytes that follow the property name in a written form.
QByteArray ValueAfter(const QByteArray& form, const char* name, int length)
{
    QByteArray key;
    key.append(char(std::strlen(name)));
    key.append(name);
    const qsizetype at = form.indexOf(key);
    return at < 0 ? QByteArray() : form.mid(at + key.size(), length);
}

// A 4-bit palette bitmap file of 4 x 2 pixels, as a picture's data holds it.
QByteArray FourBitBitmapFile()
{
    QByteArray file(126, '\0');
    const auto put = [&](int at, std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            file[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, 126, 4);
    put(10, 118, 4);
    put(14, 40, 4);
    put(18, 4, 4);
    put(22, 2, 4);
    put(26, 1, 2);
    put(28, 4, 2);
    put(34, 8, 4);
    put(38, 2834, 4);
    put(42, 2834, 4);
    put(46, 16, 4);
    put(50, 16, 4);
    for (int i = 0; i < 16; ++i)
        put(54 + 4 * i, std::uint32_t(i * 0x111111), 4);
    put(118, 0x77F7, 2); // silver and white pixels
    put(122, 0xF77F, 2);
    return file;
}

class TUnpublished : public TComponent {
public:
    const char* ClassName() const override { return "TUnpublished"; }
};

} // namespace

TEST_F(StreamWriterTest, WritesOnlyWhatTheStorageRulesAsk)
{
    TSampleComponent component;
    component.SetName("C");
    // Count and Color declare no default: always written. Everything else is at its
    // default, empty, unbound or read-only.
    EXPECT_EQ(WriteFormText(component), "object C: TSampleComponent\n"
                                        "  Count = 0\n"
                                        "  Color = clBlack\n"
                                        "end\n");

    component.SetCount(200);
    component.SetEnabled(false);
    component.SetCaption("x");
    component.SetKind(skSecond);
    component.SetColor(0x123456);
    component.SetCursor(-21);
    component.SetOptions(soItalic);
    component.SetSmall(-1);
    component.Tag = 1;
    component.Font().SetName("Arial");
    component.Font().SetSize(9);
    component.Items()->Add();
    component.OnChange = TNotifyEvent({}, "DoIt");
    component.OnValue = TEvent<TObject*, int>([](TObject*, int) {}); // bound in code: no name to store
    EXPECT_EQ(WriteFormText(component), "object C: TSampleComponent\n"
                                        "  Count = 200\n"
                                        "  Enabled = False\n"
                                        "  Caption = 'x'\n"
                                        "  Kind = skSecond\n"
                                        "  Color = 1193046\n"
                                        "  Cursor = crHandPoint\n"
                                        "  Options = [soItalic]\n"
                                        "  Small = -1\n"
                                        "  Tag = 1\n"
                                        "  Font.Name = 'Arial'\n"
                                        "  Font.Size = 9\n"
                                        "  Items = <\n"
                                        "    item\n"
                                        "      Value = 0\n"
                                        "      Outline = (\n"
                                        "        0\n"
                                        "        0)\n"
                                        "    end>\n"
                                        "  OnChange = DoIt\n"
                                        "end\n");
}

TEST_F(StreamWriterTest, IntegersTakeTheShortestWidth)
{
    TSampleComponent component;
    const auto countBytes = [&](int value) {
        component.SetCount(value);
        return ValueAfter(WriteFormBinary(component), "Count", 5);
    };
    EXPECT_EQ(countBytes(127).left(2), Bytes({2, 0x7F}));
    EXPECT_EQ(countBytes(-128).left(2), Bytes({2, 0x80}));
    EXPECT_EQ(countBytes(128).left(3), Bytes({3, 0x80, 0}));
    EXPECT_EQ(countBytes(-129).left(3), Bytes({3, 0x7F, 0xFF}));
    EXPECT_EQ(countBytes(32768), Bytes({4, 0, 0x80, 0, 0}));
    EXPECT_EQ(countBytes(std::numeric_limits<int>::min()), Bytes({4, 0, 0, 0, 0x80}));
}

TEST_F(StreamWriterTest, OutlineMatchesTheDocumentedBytes)
{
    TSampleComponent component;
    auto* item = static_cast<TSampleItem*>(component.Items()->Add());
    item->Points.assign(2 * 153, 7.0);
    item->Points[0] = 224.0;
    item->Points[1] = 2.0;
    const QByteArray expected = Bytes({0x01, 0x03, 0x99, 0x00, 0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00,
                                       0x00, 0x00, 0x00, 0xE0, 0x06, 0x40, 0x05, 0x00, 0x00, 0x00, 0x00,
                                       0x00, 0x00, 0x00, 0x80, 0x00, 0x40});
    const QByteArray form = WriteFormBinary(component);
    EXPECT_EQ(ValueAfter(form, "Outline", expected.size()), expected);
    // 153 points of 11 bytes, 2 integers and the list's two ends.
    EXPECT_TRUE(form.endsWith(Bytes({0x00, 0x00, 0x00, 0x00, 0x00})));
    item->Points.resize(2 * 127);
    EXPECT_EQ(ValueAfter(WriteFormBinary(component), "Outline", 3), Bytes({0x01, 0x02, 0x7F}));
}

TEST_F(StreamWriterTest, RealsSurviveBothFormsBitForBit)
{
    const double values[] = {81.99999999999999,
                             165.1428571428571,
                             251.7496928746929,
                             -0.0,
                             5e-324,
                             std::numeric_limits<double>::infinity(),
                             std::bit_cast<double>(std::uint64_t(0x7FF0000000000001))};
    TSampleComponent component;
    auto* item = static_cast<TSampleItem*>(component.Items()->Add());
    item->Points.assign(std::begin(values), std::end(values));
    item->Points.push_back(1.0);
    for (const QByteArray& form : {WriteFormBinary(component), QByteArray::fromStdString(WriteFormText(component))}) {
        TSampleComponent back;
        ReadForm(form, back);
        const auto& points = back.Items()->Item(0)->Points;
        ASSERT_EQ(points.size(), item->Points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(points[i]), std::bit_cast<std::uint64_t>(item->Points[i])) << i;
    }
}

TEST_F(StreamWriterTest, ABitmapLoadedAndUnchangedSavesByteIdentical)
{
    QByteArray data;
    data.append(char(7));
    data.append("TBitmap");
    const QByteArray file = FourBitBitmapFile();
    const std::uint32_t size = std::uint32_t(file.size());
    data.append(Bytes({int(size & 0xFF), int(size >> 8), 0, 0}));
    data.append(file);

    TSampleComponent component;
    component.Picture()->SetData(data);
    ASSERT_EQ(component.Picture()->Width(), 4);
    const QByteArray written = WriteFormBinary(component);
    TSampleComponent back;
    ReadForm(written, back);
    EXPECT_EQ(back.Picture()->Data(), data);
    EXPECT_EQ(WriteFormBinary(back), written);
    EXPECT_NE(WriteFormText(back).find("  Picture.Data = {\n    07544269746D61707E000000424D7E"), std::string::npos);

    // An empty graphic is no picture to store.
    component.Picture()->TakeGraphic(std::make_unique<TBitmap>());
    EXPECT_EQ(WriteFormText(component).find("Picture"), std::string::npos);
}

TEST_F(StreamWriterTest, ReadingThenWritingReproducesAWrittenForm)
{
    const char* const text = "object Form: TSampleForm\n"
                             "  object First: TSampleComponent\n"
                             "    Count = 3\n"
                             "    Caption = 'L'#228'tzeburg'\n"
                             "    Color = clYellow\n"
                             "    Items = <\n"
                             "      item\n"
                             "        Caption = 'a'\n"
                             "        Value = 1\n"
                             "        Outline = (\n"
                             "          1\n"
                             "          0\n"
                             "          81.99999999999998579\n"
                             "          2.0)\n"
                             "      end>\n"
                             "    OnChange = ChangeHandler\n"
                             "  end\n"
                             "end\n";
    TSampleForm form;
    ReadForm(text, form);
    EXPECT_EQ(WriteFormText(form), text);
    EXPECT_EQ(FormToText(WriteFormBinary(form)), text);
}

TEST_F(StreamWriterTest, AClassWithoutATableCannotBeWritten)
{
    TUnpublished component;
    EXPECT_THROW(WriteFormBinary(component), EWriteError);
    TSampleComponent sample;
    sample.SetKind(static_cast<TSampleKind>(9));
    EXPECT_THROW(WriteFormBinary(sample), EWriteError);
    // Nor can a value no identifier names: it would not read back.
    TSampleComponent options;
    options.SetOptions(soItalic | 32u);
    try {
        WriteFormBinary(options);
        ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "Property Options of TSampleComponent has bit 5 set, which has no identifier");
    }
}

// What a custom property writes is held to the same rules, and nothing is half-written.
TEST_F(StreamWriterTest, ACustomPropertyWritesOnlyWhatItHasAndWhatReadsBack)
{
    TWriter writer;
    try {
        writer.WriteInteger(std::int64_t(std::numeric_limits<std::int32_t>::min()) - 1);
        ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "The integer -2147483649 does not fit in 32 bits");
    }
    EXPECT_THROW(writer.WriteInteger(std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1), EWriteError);
    EXPECT_THROW(writer.WriteString("K\xF6ln"), EWriteError);
    bool asked = false;
    writer.DefineProperty("Nothing", nullptr, [&](TWriter&) { asked = true; }, false);
    EXPECT_FALSE(asked) << "a property with no data is not written";
    EXPECT_TRUE(writer.Data().isEmpty());
    writer.DefineProperty("Some", nullptr, [](TWriter& w) { w.WriteInteger(std::numeric_limits<std::int32_t>::min()); },
                          true);
    EXPECT_EQ(writer.Data().size(), 1 + 4 + 1 + 4);
}

TEST_F(StreamWriterTest, TextThatIsNotUtf8IsRefusedSinceNoReaderWouldTakeItBack)
{
    TSampleComponent sample;
    sample.SetName("C");
    sample.SetCaption("K\xF6ln"); // Latin-1
    try {
        WriteFormBinary(sample);
        ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "Property Caption of TSampleComponent holds bytes that are not UTF-8");
    }
    EXPECT_THROW(WriteFormText(sample), EWriteError);
    sample.SetCaption("K\xC3\xB6ln");
    TSampleComponent back;
    ReadForm(WriteFormBinary(sample), back);
    EXPECT_EQ(back.Caption(), "K\xC3\xB6ln");
}
