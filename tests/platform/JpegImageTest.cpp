// TJPEGImage over libjpeg: decoding every colour space, encoding, and bad data.
#include "platform/Exceptions.h"
#include "platform/JpegImage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

using namespace vandora;

namespace {

// Encodes raw samples with libjpeg directly, to get files our encoder never writes
// (greyscale, CMYK with or without Adobe's marker, YCCK, arithmetic coding). Valid input
// only: libjpeg's default error handling stays.
QByteArray EncodeRaw(int w, int h, int components, J_COLOR_SPACE in, J_COLOR_SPACE stored,
                     const std::vector<unsigned char>& samples, bool adobeMarker = true, bool arithmetic = false)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = in;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (!adobeMarker)
        cinfo.write_Adobe_marker = FALSE;
    cinfo.arith_code = arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + std::size_t(cinfo.next_scanline) * std::size_t(w * components));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray file(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return file;
}

QImage Quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(255, 0, 0));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(0, 255, 0));
    p.fillRect(0, h / 2, w / 2, h - h / 2, QColor(0, 0, 255));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(255, 255, 0));
    return image;
}

::testing::AssertionResult Near(QRgb actual, int r, int g, int b, int tolerance = 10)
{
    if (std::abs(qRed(actual) - r) <= tolerance && std::abs(qGreen(actual) - g) <= tolerance &&
        std::abs(qBlue(actual) - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << qRed(actual) << ", " << qGreen(actual) << ", "
                                         << qBlue(actual) << ") is not near (" << r << ", " << g << ", " << b << ")";
}

// Offset of the SOF0 marker's height field, or -1.
int SofSizeOffset(const QByteArray& file)
{
    for (int i = 2; i + 9 < file.size(); ++i)
        if (std::uint8_t(file[i]) == 0xFF && (std::uint8_t(file[i + 1]) == 0xC0 || std::uint8_t(file[i + 1]) == 0xC2))
            return i + 5;
    return -1;
}

void PutBigEndian16(QByteArray& file, int at, int v)
{
    file[at] = char((v >> 8) & 0xFF);
    file[at + 1] = char(v & 0xFF);
}

} // namespace

TEST(JpegImageTest, EncodeDecodeRoundTrip)
{
    const QImage source = Quadrants(64, 48);
    const QByteArray file = EncodeJpeg(source, 95);
    ASSERT_GT(file.size(), 100);
    EXPECT_EQ(std::uint8_t(file[0]), 0xFF);
    EXPECT_EQ(std::uint8_t(file[1]), 0xD8);
    const QImage decoded = DecodeJpeg(file);
    ASSERT_EQ(decoded.size(), QSize(64, 48));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(decoded.pixel(10, 10), 255, 0, 0));
    EXPECT_TRUE(Near(decoded.pixel(50, 10), 0, 255, 0));
    EXPECT_TRUE(Near(decoded.pixel(10, 40), 0, 0, 255));
    EXPECT_TRUE(Near(decoded.pixel(50, 40), 255, 255, 0));
}

TEST(JpegImageTest, QualityChangesTheSize)
{
    QImage noise(64, 64, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    EXPECT_LT(EncodeJpeg(noise, 10).size(), EncodeJpeg(noise, 95).size());
}

TEST(JpegImageTest, DecodesGreyscale)
{
    const std::vector<unsigned char> samples(16 * 8, 100);
    const QImage image = DecodeJpeg(EncodeRaw(16, 8, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, samples));
    ASSERT_EQ(image.size(), QSize(16, 8));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(image.pixel(3, 3), 100, 100, 100, 2));
}

TEST(JpegImageTest, DecodesAdobeCmyk)
{
    // Adobe stores CMYK inverted (255 = no ink). Red: no cyan, full magenta and yellow.
    std::vector<unsigned char> samples;
    for (int i = 0; i < 16 * 16; ++i)
        samples.insert(samples.end(), {255, 0, 0, 255});
    const QByteArray file = EncodeRaw(16, 16, 4, JCS_CMYK, JCS_CMYK, samples);
    const QImage image = DecodeJpeg(file);
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(Near(image.pixel(8, 8), 255, 0, 0));
}

TEST(JpegImageTest, DecodesCmykWithoutAdobesMarkerAsInk)
{
    // Without the marker, 255 means full ink. Red: no cyan, full magenta and yellow.
    std::vector<unsigned char> samples;
    for (int i = 0; i < 16 * 16; ++i)
        samples.insert(samples.end(), {0, 255, 255, 0});
    const QImage image = DecodeJpeg(EncodeRaw(16, 16, 4, JCS_CMYK, JCS_CMYK, samples, false));
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(Near(image.pixel(8, 8), 255, 0, 0));
}

TEST(JpegImageTest, DecodesYcck)
{
    // Blue with half black, inverted as Adobe writes it: C, M, Y, K ink = 255, 255, 0, 128.
    std::vector<unsigned char> samples;
    for (int i = 0; i < 16 * 16; ++i)
        samples.insert(samples.end(), {0, 0, 255, 127});
    const QImage image = DecodeJpeg(EncodeRaw(16, 16, 4, JCS_CMYK, JCS_YCCK, samples));
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(Near(image.pixel(8, 8), 0, 0, 127));
}

TEST(JpegImageTest, CorruptDataRaisesAndTheProcessLivesOn)
{
    const QByteArray good = EncodeJpeg(Quadrants(32, 32), 90);
    EXPECT_THROW(DecodeJpeg(QByteArray("this is no JPEG file")), EInvalidGraphic);
    EXPECT_THROW(DecodeJpeg(QByteArray()), EInvalidGraphic);

    QByteArray scrambled = good;
    for (int i = good.size() / 2; i < good.size() - 2; ++i)
        scrambled[i] = char(0xFF);
    EXPECT_THROW(DecodeJpeg(scrambled), EInvalidGraphic);

    QByteArray badPrecision = good;
    const int at = SofSizeOffset(good);
    ASSERT_GT(at, 0);
    badPrecision[at - 1] = char(3); // 3 bits per sample
    EXPECT_THROW(DecodeJpeg(badPrecision), EInvalidGraphic);

    QByteArray noComponents = good;
    noComponents[at + 4] = char(0);
    EXPECT_THROW(DecodeJpeg(noComponents), EInvalidGraphic);

    try {
        DecodeJpeg(QByteArray("\xFF\xD8\xFF\xD9", 4));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
    }
    // Still here, and decoding still works.
    EXPECT_EQ(DecodeJpeg(good).size(), QSize(32, 32));
}

TEST(JpegImageTest, TruncatedDataRaises)
{
    const QByteArray good = EncodeJpeg(Quadrants(32, 32), 90);
    for (const qsizetype keep : {good.size() - 2, good.size() * 2 / 3, good.size() / 3, qsizetype(20), qsizetype(2)}) {
        EXPECT_THROW(DecodeJpeg(good.left(keep)), EInvalidGraphic) << keep << " of " << good.size();
    }
}

TEST(JpegImageTest, HugeDimensionsAreRefusedBeforeAllocating)
{
    QByteArray file = EncodeJpeg(Quadrants(16, 16), 90);
    const int at = SofSizeOffset(file);
    ASSERT_GT(at, 0);
    QByteArray huge = file;
    PutBigEndian16(huge, at, 65000);     // height
    PutBigEndian16(huge, at + 2, 65000); // width: 4 Gpixel
    try {
        DecodeJpeg(huge);
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    // 16 Mpixel is under the fixed limit, but a few hundred bytes cannot carry it.
    QByteArray implausible = file;
    PutBigEndian16(implausible, at, 4000);
    PutBigEndian16(implausible, at + 2, 4000);
    try {
        DecodeJpeg(implausible);
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("needs more data"), std::string::npos) << e.what();
    }
}

TEST(JpegImageTest, GraphicLoadsAndKeepsItsFile)
{
    const QByteArray file = EncodeJpeg(Quadrants(20, 10), 90);
    TJPEGImage jpeg;
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 0);
    int changes = 0;
    jpeg.SetOnChange([&] { ++changes; });
    jpeg.LoadFromFileData(file);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(jpeg.Width(), 20);
    EXPECT_EQ(jpeg.Height(), 10);
    EXPECT_EQ(jpeg.FileData(), file);
    EXPECT_STREQ(jpeg.ClassName(), "TJPEGImage");
}

// Arithmetic coding may spend less than a bit on a block: its files are held only to the
// fixed pixel limit, not to their length.
TEST(JpegImageTest, AnArithmeticCodedFileMayBeSmallerThanABitABlock)
{
    const std::vector<unsigned char> grey(1024 * 1024, 100);
    const QByteArray file = EncodeRaw(1024, 1024, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, grey, true, true);
    ASSERT_LT(file.size() * 8, 1024 * 1024 / 64) << "not below a bit a block";
    const QImage image = DecodeJpeg(file);
    ASSERT_EQ(image.size(), QSize(1024, 1024));
    EXPECT_TRUE(Near(image.pixel(512, 512), 100, 100, 100, 2));
}

// Empty data is no picture, not a broken one.
TEST(JpegImageTest, EmptyDataEmptiesTheGraphic)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFileData(EncodeJpeg(Quadrants(20, 10), 90));
    int changes = 0;
    jpeg.SetOnChange([&] { ++changes; });
    jpeg.LoadFromFileData(QByteArray());
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_TRUE(jpeg.FileData().isEmpty());
    EXPECT_EQ(changes, 1);
}

TEST(JpegImageTest, BadDataLeavesTheGraphicAsItWas)
{
    const QByteArray file = EncodeJpeg(Quadrants(20, 10), 90);
    TJPEGImage jpeg;
    jpeg.LoadFromFileData(file);
    int changes = 0;
    jpeg.SetOnChange([&] { ++changes; });
    EXPECT_THROW(jpeg.LoadFromFileData(file.left(file.size() / 2)), EInvalidGraphic);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(jpeg.Width(), 20);
    EXPECT_EQ(jpeg.FileData(), file);
}

TEST(JpegImageTest, SavedFormIsACountThenTheFile)
{
    TJPEGImage jpeg;
    jpeg.Assign(Quadrants(16, 16), 80);
    QByteArray saved;
    jpeg.SaveToStream(saved);
    const QByteArray& file = jpeg.FileData();
    ASSERT_EQ(saved.size(), 4 + file.size());
    const std::uint32_t count = std::uint8_t(saved[0]) | (std::uint8_t(saved[1]) << 8) |
                                (std::uint8_t(saved[2]) << 16) | (std::uint32_t(std::uint8_t(saved[3])) << 24);
    EXPECT_EQ(count, std::uint32_t(file.size()));
    EXPECT_EQ(saved.mid(4), file);

    TJPEGImage back;
    qsizetype pos = 0;
    back.LoadFromStream(saved, pos);
    EXPECT_EQ(pos, saved.size());
    EXPECT_EQ(back.ToImage(), jpeg.ToImage());

    QByteArray shortened = saved;
    shortened.chop(1);
    TJPEGImage failed;
    pos = 0;
    EXPECT_THROW(failed.LoadFromStream(shortened, pos), EInvalidGraphic);
    EXPECT_EQ(pos, 0);
    EXPECT_TRUE(failed.Empty());
}

TEST(JpegImageTest, AssignKeepsTheDecodedPixels)
{
    TJPEGImage jpeg;
    jpeg.Assign(Quadrants(32, 32), 75);
    EXPECT_EQ(jpeg.ToImage(), DecodeJpeg(jpeg.FileData()));
    EXPECT_TRUE(Near(jpeg.ToImage().pixel(5, 5), 255, 0, 0, 16));
    jpeg.Assign(QImage());
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_TRUE(jpeg.FileData().isEmpty());
    EXPECT_THROW(EncodeJpeg(QImage(), 90), EInvalidGraphic);
}

TEST(JpegImageTest, CloneIsIndependentAndDrawIsOpaque)
{
    TJPEGImage jpeg;
    jpeg.Assign(Quadrants(8, 8), 95);
    jpeg.SetTransparent(true);
    auto copy = jpeg.Clone();
    jpeg.Assign(QImage());
    ASSERT_FALSE(copy->Empty());
    EXPECT_TRUE(copy->Transparent());
    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter p(&target);
        copy->Draw(p, QRect(0, 0, 8, 8));
    }
    EXPECT_TRUE(Near(target.pixel(1, 1), 255, 0, 0, 20));
    EXPECT_TRUE(Near(target.pixel(6, 6), 255, 255, 0, 20));
}
