// TBitmap: key colour, transparent drawing, BMP files read and saved.
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Region.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImageReader>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <link.h>
#include <memory>
#include <vector>

using namespace vandora;

namespace {

void Put16(QByteArray& b, int at, std::uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void Put32(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A bitmap file with a 40-byte information header, bottom-up rows padded to 4 bytes.
// palette: 0x00RRGGBB entries; rows: one vector of pixel values per row, top row first,
// each value a palette index (1, 4, 8 bits) or 0x00RRGGBB (24 bits).
QByteArray MakeBmp(int bits, const std::vector<std::uint32_t>& palette, const std::vector<std::vector<std::uint32_t>>& rows)
{
    const int h = int(rows.size());
    const int w = int(rows[0].size());
    const int stride = ((w * bits + 31) / 32) * 4;
    const int offBits = 14 + 40 + int(palette.size()) * 4;
    QByteArray b(offBits + stride * h, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(b.size()));
    Put32(b, 10, std::uint32_t(offBits));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(w));
    Put32(b, 22, std::uint32_t(h));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint16_t(bits));
    Put32(b, 34, std::uint32_t(stride * h));
    Put32(b, 46, std::uint32_t(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i)
        Put32(b, 54 + int(i) * 4, palette[i]); // B, G, R, 0 in the file
    for (int y = 0; y < h; ++y) {
        const auto& row = rows[std::size_t(h - 1 - y)];
        char* line = b.data() + offBits + y * stride;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = row[std::size_t(x)];
            switch (bits) {
            case 4:
                line[x / 2] = char(line[x / 2] | (x % 2 == 0 ? (v << 4) : v));
                break;
            case 8:
                line[x] = char(v);
                break;
            case 24:
                line[3 * x] = char(v & 0xFF);
                line[3 * x + 1] = char((v >> 8) & 0xFF);
                line[3 * x + 2] = char((v >> 16) & 0xFF);
                break;
            default:
                break;
            }
        }
    }
    return b;
}

// An 8-bit (or 4-bit) run-length file of w x h pixels: the palette, then the run-length
// codes as given.
QByteArray MakeRle8Bmp(int w, int h, const std::vector<std::uint32_t>& palette, const std::vector<std::uint8_t>& codes,
                       int bits = 8)
{
    const int offBits = 14 + 40 + int(palette.size()) * 4;
    QByteArray b(offBits, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, std::uint32_t(offBits));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(w));
    Put32(b, 22, std::uint32_t(h));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint16_t(bits));
    Put32(b, 30, bits == 8 ? 1 : 2); // run-length, 8 or 4 bits
    Put32(b, 34, std::uint32_t(codes.size()));
    Put32(b, 46, std::uint32_t(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i)
        Put32(b, 54 + int(i) * 4, palette[i]);
    for (std::uint8_t code : codes)
        b.append(char(code));
    Put32(b, 2, std::uint32_t(b.size()));
    return b;
}

// 0x00RRGGBB as a TColor.
TColor Rgb(std::uint32_t rgb)
{
    return TColor(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

std::unique_ptr<TBitmap> Solid(int w, int h, TColor color)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush.Color = color;
    b->Canvas().FillRect(Rect(0, 0, w, h));
    return b;
}

// Whether the process has any of Qt's image format plugins mapped.
bool AnImageFormatPluginIsLoaded()
{
    bool found = false;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/imageformats/") != nullptr)
                *static_cast<bool*>(data) = true;
            return 0;
        },
        &found);
    return found;
}

} // namespace

TEST(BitmapTest, NewBitmapIsWhiteAndEmptyOneHasNoSize)
{
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Height(), 0);
    TBitmap b(3, 2);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(b.Canvas().Pixel(2, 1), clWhite);
    EXPECT_EQ(b.Image().format(), QImage::Format_RGB32);
    TBitmap negative(-5, 2); // a negative side is no side
    EXPECT_TRUE(negative.Empty());
    EXPECT_EQ(negative.Width(), 0);
    EXPECT_EQ(negative.Height(), 2);
}

TEST(BitmapTest, SetSizeKeepsPixelsAndAddsWhite)
{
    auto b = Solid(2, 2, clRed);
    b->SetSize(4, 3);
    EXPECT_EQ(b->Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(b->Canvas().Pixel(3, 2), clWhite);
    b->SetWidth(0);
    EXPECT_TRUE(b->Empty());
}

TEST(BitmapTest, KeyColourIsTheBottomLeftPixelNotTheTopLeft)
{
    auto b = Solid(4, 4, clLime);
    b->Canvas().Brush.Color = clRed;
    b->Canvas().FillRect(Rect(0, 0, 1, 1)); // top-left
    b->Canvas().Brush.Color = clBlue;
    b->Canvas().FillRect(Rect(0, 3, 1, 4)); // bottom-left
    EXPECT_EQ(b->TransparentColor(), clBlue);
    EXPECT_EQ(TBitmap().TransparentColor(), clNone);
}

TEST(BitmapTest, TransparentDrawSkipsTheKeyColour)
{
    // Key colour blue (bottom-left); a red cross on blue.
    auto sprite = Solid(5, 5, clBlue);
    sprite->Canvas().Brush.Color = clRed;
    sprite->Canvas().FillRect(Rect(2, 0, 3, 5));
    sprite->Canvas().FillRect(Rect(0, 2, 5, 3));
    sprite->SetTransparent(true);

    auto target = Solid(10, 10, clYellow);
    target->Canvas().Draw(1, 1, *sprite);
    EXPECT_EQ(target->Canvas().Pixel(3, 1), clRed);   // cross
    EXPECT_EQ(target->Canvas().Pixel(1, 3), clRed);
    EXPECT_EQ(target->Canvas().Pixel(1, 1), clYellow); // blue skipped
    EXPECT_EQ(target->Canvas().Pixel(5, 5), clYellow);

    // A copy (as a picture takes one) stays see-through.
    const auto copy = sprite->Clone();
    auto fresh = Solid(10, 10, clYellow);
    fresh->Canvas().Draw(1, 1, *copy);
    EXPECT_EQ(fresh->Canvas().Pixel(1, 1), clYellow);
    EXPECT_EQ(fresh->Canvas().Pixel(3, 1), clRed);

    // New pixels read from a file are masked afresh: lime, with a red key pixel.
    auto lime = Solid(5, 5, clLime);
    lime->Canvas().Brush.Color = clRed;
    lime->Canvas().FillRect(Rect(0, 4, 1, 5));
    auto loaded = Solid(5, 5, clBlue);
    loaded->SetTransparent(true);
    fresh->Canvas().Draw(1, 1, *loaded); // the blue one's mask made
    loaded->LoadFromFileData(EncodeBitmapFile24(lime->ToImage()));
    fresh->Canvas().Draw(1, 1, *loaded);
    EXPECT_EQ(fresh->Canvas().Pixel(1, 1), clLime);
    EXPECT_EQ(fresh->Canvas().Pixel(1, 5), clYellow);

    sprite->SetTransparent(false);
    target->Canvas().Draw(1, 1, *sprite);
    EXPECT_EQ(target->Canvas().Pixel(1, 1), clBlue);
}

TEST(BitmapTest, TransparencyFollowsAChangedKeyPixel)
{
    auto sprite = Solid(3, 3, clBlue);
    sprite->SetTransparent(true);
    auto target = Solid(3, 3, clWhite);
    target->Canvas().Draw(0, 0, *sprite);
    EXPECT_EQ(target->Canvas().Pixel(1, 1), clWhite);
    sprite->Canvas().Brush.Color = clRed;
    sprite->Canvas().FillRect(Rect(0, 2, 1, 3)); // new key colour: red
    target->Canvas().Draw(0, 0, *sprite);
    EXPECT_EQ(target->Canvas().Pixel(1, 1), clBlue);
    EXPECT_EQ(target->Canvas().Pixel(0, 2), clWhite);
}

TEST(BitmapTest, ReadsA4BitPaletteFile)
{
    const std::vector<std::uint32_t> palette{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x123456,
                                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF};
    const QByteArray file = MakeBmp(4, palette, {{1, 2, 3}, {4, 5, 15}});
    TBitmap b;
    b.LoadFromFileData(file);
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), clLime);
    EXPECT_EQ(b.Canvas().Pixel(2, 0), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(0, 1), clYellow);
    EXPECT_EQ(b.Canvas().Pixel(1, 1), Rgb(0x123456));
    EXPECT_EQ(b.Canvas().Pixel(2, 1), clWhite);
    EXPECT_EQ(b.TransparentColor(), clYellow);
}

TEST(BitmapTest, ReadingAFileLoadsNoImageFormatPlugin)
{
    // Each plugin costs a library load at start-up; the built-in reader needs none of them.
    // A fresh process, so that no earlier test has loaded one already.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray file = MakeBmp(8, {0x000000, 0xFFFFFF}, {{0, 1}, {1, 0}});
    EXPECT_EXIT(
        {
            if (AnImageFormatPluginIsLoaded())
                std::_Exit(2);
            TBitmap b;
            b.LoadFromFileData(file);
            std::_Exit(b.Width() == 2 && !AnImageFormatPluginIsLoaded() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(BitmapTest, ReadsAn8BitPaletteFile)
{
    std::vector<std::uint32_t> palette(256, 0);
    palette[7] = 0x808080;
    palette[200] = 0x800080;
    palette[255] = 0x00FFFF;
    const QByteArray file = MakeBmp(8, palette, {{7, 200, 255, 7, 200}, {255, 255, 7, 7, 200}, {0, 0, 0, 0, 0}});
    TBitmap b;
    b.LoadFromFileData(file);
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clGray);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), clPurple);
    EXPECT_EQ(b.Canvas().Pixel(2, 0), clAqua);
    EXPECT_EQ(b.Canvas().Pixel(4, 1), clPurple);
    EXPECT_EQ(b.Canvas().Pixel(3, 2), clBlack);
}

TEST(BitmapTest, ReadsA24BitFileWithRowPadding)
{
    const QByteArray file = MakeBmp(24, {}, {{0xFF0000, 0x00FF00, 0x0000FF}, {0x010203, 0xFFFFFF, 0x000000}});
    TBitmap b;
    b.LoadFromFileData(file);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), clLime);
    EXPECT_EQ(b.Canvas().Pixel(2, 0), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(0, 1), Rgb(0x010203));
    EXPECT_EQ(b.Canvas().Pixel(2, 1), clBlack);
}

TEST(BitmapTest, ReadsATopDownFile)
{
    QByteArray file = MakeBmp(24, {}, {{0xFF0000}, {0x0000FF}});
    // Negative height: rows stored top first. The rows in the file are (blue, red) bottom-up;
    // read top-down they put blue first.
    Put32(file, 22, std::uint32_t(-2));
    TBitmap b;
    b.LoadFromFileData(file);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(0, 1), clRed);
}

TEST(BitmapTest, UnchangedBitmapSavesBackByteIdentical)
{
    std::vector<std::uint32_t> palette(16, 0x336699);
    const QByteArray file = MakeBmp(4, palette, {{1, 2}, {3, 4}});
    TBitmap b;
    b.LoadFromFileData(file);
    EXPECT_EQ(b.FileData(), file);
    QByteArray saved;
    b.SaveToStream(saved);
    ASSERT_EQ(saved.size(), 4 + file.size());
    EXPECT_EQ(saved.mid(4), file);
    EXPECT_EQ(std::uint8_t(saved[0]) | (std::uint8_t(saved[1]) << 8), file.size());
    // A copy that is not changed keeps the file too.
    EXPECT_EQ(static_cast<TBitmap&>(*b.Clone()).FileData(), file);
}

TEST(BitmapTest, ChangedBitmapSavesAValid24BitFile)
{
    std::vector<std::uint32_t> palette(256, 0xFF0000);
    const QByteArray file = MakeBmp(8, palette, {{0, 0, 0}, {0, 0, 0}});
    TBitmap b;
    b.LoadFromFileData(file);
    b.Canvas().Brush.Color = clBlue;
    b.Canvas().FillRect(Rect(1, 1, 2, 2));
    const QByteArray saved = b.FileData();
    ASSERT_NE(saved, file);
    ASSERT_GE(saved.size(), 54);
    EXPECT_EQ(saved.left(2), QByteArray("BM"));
    EXPECT_EQ(std::uint8_t(saved[28]), 24);               // bits per pixel
    EXPECT_EQ(saved.size(), 54 + 2 * 12);                 // 3 pixels = 9 bytes, padded to 12
    EXPECT_EQ(qFromLittleEndian<quint32>(saved.constData() + 2), quint32(saved.size())); // the file's size
    TBitmap reread;
    reread.LoadFromFileData(saved);
    EXPECT_EQ(reread.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(reread.Canvas().Pixel(1, 1), clBlue);
    EXPECT_EQ(reread.Canvas().Pixel(2, 1), clRed);
    EXPECT_EQ(reread.ToImage(), b.ToImage());
}

TEST(BitmapTest, StreamRoundTrip)
{
    auto b = Solid(7, 5, clOlive);
    QByteArray saved;
    b->SaveToStream(saved);
    saved.append("tail");
    TBitmap back;
    qsizetype pos = 0;
    back.LoadFromStream(saved, pos);
    EXPECT_EQ(pos, saved.size() - 4);
    EXPECT_EQ(back.ToImage(), b->ToImage());

    // Long thin bitmaps, within the pixel limit, come back as they went.
    for (const auto& [w, h] : {std::pair{40000, 2}, std::pair{1, 50000}}) {
        TBitmap thin(w, h);
        thin.Canvas().Brush.Color = clRed;
        thin.Canvas().FillRect(Rect(w - 1, h - 1, w, h));
        QByteArray file;
        thin.SaveToStream(file);
        TBitmap read;
        qsizetype at = 0;
        ASSERT_NO_THROW(read.LoadFromStream(file, at)) << w << " x " << h;
        EXPECT_EQ(read.Width(), w);
        EXPECT_EQ(read.Height(), h);
        EXPECT_EQ(read.Canvas().Pixel(w - 1, h - 1), clRed);
        EXPECT_EQ(read.Canvas().Pixel(0, 0), clWhite);
    }

    // Beyond Qt's limit for images its reader makes (128 MB by default; 1 MB here), a
    // bitmap written still reads back.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    TBitmap large(1000, 400);
    large.Canvas().Brush.Color = clRed;
    large.Canvas().FillRect(Rect(999, 399, 1000, 400));
    QByteArray file;
    large.SaveToStream(file);
    TBitmap read;
    qsizetype at = 0;
    EXPECT_NO_THROW(read.LoadFromStream(file, at));
    QImageReader::setAllocationLimit(limit);
    EXPECT_EQ(read.Width(), 1000);
    EXPECT_EQ(read.Canvas().Pixel(999, 399), clRed);
}

TEST(BitmapTest, ALyingHeaderRaisesAndKeepsTheOldPixels)
{
    QByteArray file = MakeBmp(24, {}, {{0xFF0000, 0xFF0000}, {0xFF0000, 0xFF0000}});
    Put32(file, 18, 30000); // 30000 x 30000 pixels promised, 16 bytes present
    Put32(file, 22, 30000);
    auto b = Solid(2, 2, clLime);
    EXPECT_THROW(b->LoadFromFileData(file), EInvalidGraphic);
    EXPECT_EQ(b->Width(), 2);
    EXPECT_EQ(b->Canvas().Pixel(0, 0), clLime);

    QByteArray huge = file;
    Put32(huge, 18, 0x7FFFFFFF);
    EXPECT_THROW(b->LoadFromFileData(huge), EInvalidGraphic);

    QByteArray farOffset = MakeBmp(24, {}, {{0}});
    Put32(farOffset, 10, 1u << 30);
    EXPECT_THROW(b->LoadFromFileData(farOffset), EInvalidGraphic);
}

// The reader takes the pixels from after the colour table when the offset points back into
// the headers: their bytes are no pixels, and a file short of rows is refused as such.
TEST(BitmapTest, AnOffsetIntoTheHeadersDoesNotCountThemAsPixels)
{
    const std::vector<std::uint32_t> palette(256, 0x0000FF);
    const std::vector<std::vector<std::uint32_t>> rows(32, std::vector<std::uint32_t>(64, 1));
    const QByteArray full = MakeBmp(8, palette, rows);
    const QByteArray halfRows = full.left(14 + 40 + 1024 + 64 * 16);
    for (const std::uint32_t offset : {0u, 54u}) {
        QByteArray file = halfRows;
        Put32(file, 10, offset);
        try {
            DecodeBitmapFile(file);
            ADD_FAILURE() << "offset " << offset << ": a file of half the rows was read";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Bitmap image is not valid: pixel data of 1024 bytes is shorter than 2048");
        }
        QByteArray whole = full;
        Put32(whole, 10, offset);
        EXPECT_EQ(DecodeBitmapFile(whole).pixel(63, 31), qRgb(0, 0, 0xFF)) << "offset " << offset;
    }
}

TEST(BitmapTest, PixelsThatRunLengthDataSkipsAreTheFirstPaletteColour)
{
    // Bottom row: 10 pixels of colour 1; a jump 5 right and 3 up; 4 pixels of colour 2; the
    // end of the bitmap. Everything else is never written by the data.
    const int w = 300;
    const int h = 200;
    const QByteArray file = MakeRle8Bmp(w, h, {0x112233, 0xFF0000, 0x00FF00},
                                        {10, 1, 0, 2, 5, 3, 4, 2, 0, 1});
    for (int attempt = 0; attempt < 3; ++attempt) {
        {
            // Memory of the decoder's size, full of colour 2, freed just before: what the
            // reader would otherwise show in the skipped pixels.
            QImage stale(w, h, QImage::Format_Indexed8);
            stale.fill(2);
        }
        TBitmap b;
        b.LoadFromFileData(file);
        ASSERT_EQ(b.Width(), w);
        ASSERT_EQ(b.Height(), h);
        EXPECT_EQ(b.Canvas().Pixel(0, h - 1), clRed);
        EXPECT_EQ(b.Canvas().Pixel(9, h - 1), clRed);
        EXPECT_EQ(b.Canvas().Pixel(10, h - 1), Rgb(0x112233)); // after the run
        EXPECT_EQ(b.Canvas().Pixel(15, h - 4), clLime);         // after the jump
        EXPECT_EQ(b.Canvas().Pixel(12, h - 2), Rgb(0x112233)); // jumped over
        EXPECT_EQ(b.Canvas().Pixel(100, 100), Rgb(0x112233));  // after the end
        EXPECT_EQ(b.Canvas().Pixel(w - 1, 0), Rgb(0x112233));
    }
}

TEST(BitmapTest, ShortRunLengthDataForALargeBitmapIsValidUpToThePixelLimit)
{
    // Ending at once is valid run-length data, whatever the size.
    TBitmap b;
    b.LoadFromFileData(MakeRle8Bmp(4000, 3000, {0x0000FF, 0xFFFFFF}, {0, 1}));
    EXPECT_EQ(b.Width(), 4000);
    EXPECT_EQ(b.Canvas().Pixel(3999, 2999), clBlue);
    TBitmap four;
    four.LoadFromFileData(MakeRle8Bmp(400, 300, {0x0000FF, 0xFFFFFF}, {0, 1}, 4));
    EXPECT_EQ(four.Width(), 400);
    EXPECT_EQ(four.Canvas().Pixel(399, 299), clBlue);
    // Beyond the limit every bitmap has, the header alone is refused, and nothing changes.
    try {
        b.LoadFromFileData(MakeRle8Bmp(16384, 8192, {0x0000FF}, {0, 1}));
        FAIL() << "a bitmap beyond the pixel limit loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid: size 16384 x 8192 is too large");
    }
    EXPECT_EQ(b.Width(), 4000);
}

TEST(BitmapTest, MalformedFilesRaise)
{
    TBitmap b;
    EXPECT_THROW(b.LoadFromFileData(QByteArray("not a bitmap at all, really not")), EInvalidGraphic);
    EXPECT_THROW(b.LoadFromFileData(QByteArray("BM")), EInvalidGraphic);
    QByteArray badBits = MakeBmp(24, {}, {{0}});
    Put16(badBits, 28, 7);
    EXPECT_THROW(b.LoadFromFileData(badBits), EInvalidGraphic);
    QByteArray zeroWidth = MakeBmp(24, {}, {{0}});
    Put32(zeroWidth, 18, 0);
    EXPECT_THROW(b.LoadFromFileData(zeroWidth), EInvalidGraphic);

    // Each says what is wrong, before the decoder is asked.
    const auto errorOf = [](const QByteArray& file) -> std::string {
        try {
            DecodeBitmapFile(file);
        } catch (const EInvalidGraphic& e) {
            return e.what();
        }
        return "no error";
    };
    QByteArray notBm = MakeBmp(24, {}, {{0}});
    notBm[0] = 'X';
    EXPECT_EQ(errorOf(notBm), "Bitmap image is not valid: no bitmap file header");
    EXPECT_EQ(errorOf(zeroWidth), "Bitmap image is not valid: size 0 x 1");
    EXPECT_EQ(errorOf(badBits), "Bitmap image is not valid: 7 bits per pixel");
    QByteArray farOffset = MakeBmp(24, {}, {{0}});
    Put32(farOffset, 10, std::uint32_t(farOffset.size()));
    EXPECT_EQ(errorOf(farOffset), "Bitmap image is not valid: pixel data offset 58 lies beyond the file");
    // Rows are padded to whole 32-bit words: a 1-pixel row of 24 bits takes 4 bytes.
    const QByteArray twoRows = MakeBmp(24, {}, {{0x112233}, {0x445566}});
    EXPECT_EQ(errorOf(twoRows.left(twoRows.size() - 2)), "Bitmap image is not valid: pixel data of 6 bytes is shorter than 8");
    // Colour masks (BI_BITFIELDS) after a 40-byte header are no pixels either.
    QByteArray masked = MakeBmp(16, {}, {{0, 0}, {0, 0}});
    Put32(masked, 30, 3);
    masked.insert(54, QByteArray(12, '\0'));
    Put32(masked, 10, 54);
    EXPECT_EQ(errorOf(masked.left(masked.size() - 4)), "Bitmap image is not valid: pixel data of 4 bytes is shorter than 8");
}

// The oldest header (12 bytes, OS/2) has a colour table of three bytes an entry.
TEST(BitmapTest, ReadsAFileWithTheOldestHeader)
{
    QByteArray b(14 + 12 + 2 * 3 + 2 * 4, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(b.size()));
    Put32(b, 10, 14 + 12 + 6);
    Put32(b, 14, 12);
    Put16(b, 18, 8);  // width
    Put16(b, 20, 2);  // height
    Put16(b, 22, 1);  // planes
    Put16(b, 24, 1);  // bits per pixel
    b[26] = char(0xFF); // entry 0: blue (B, G, R)
    b[31] = char(0xFF); // entry 1: red
    b[32] = char(0xF0); // bottom row: four red pixels, then blue
    const QImage image = DecodeBitmapFile(b);
    EXPECT_EQ(image.size(), QSize(8, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0xFF, 0, 0));
    EXPECT_EQ(image.pixel(7, 1), qRgb(0, 0, 0xFF));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0xFF));
}

TEST(BitmapTest, ACountLargerThanTheDataRaises)
{
    QByteArray saved;
    WriteCountedBlock(saved, MakeBmp(24, {}, {{0}}));
    saved.chop(3);
    TBitmap b;
    qsizetype pos = 0;
    EXPECT_THROW(b.LoadFromStream(saved, pos), EInvalidGraphic);
    EXPECT_EQ(pos, 0);
}

TEST(BitmapTest, ChangesAreNotified)
{
    TBitmap b(2, 2);
    int changes = 0;
    b.SetOnChange([&] { ++changes; });
    b.Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1);
    b.SetTransparent(true);
    EXPECT_EQ(changes, 2);
    b.SetTransparent(true);
    EXPECT_EQ(changes, 2);
    b.SetSize(3, 3);
    EXPECT_EQ(changes, 3);
    b.SetSize(3, 3); // the size it has: nothing changes
    EXPECT_EQ(changes, 3);
}

namespace {

// w x h pixels of `colours` distinct colours, in a pattern that changes along rows and
// columns alike.
QImage Pattern(int w, int h, int colours)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int c = (x * 7 + y * 3) % colours;
            image.setPixel(x, y, qRgb(c % 256, (c * 37) % 256, c / 256 * 50 + 5));
        }
    return image;
}

} // namespace

TEST(BitmapTest, CompactKeepsEveryPixelInOneByteUpTo256Colours)
{
    for (int colours : {1, 2, 17, 256}) {
        const QImage source = Pattern(37, 11, colours); // rows not a multiple of four bytes
        TBitmap b;
        b.Assign(source);
        int changes = 0;
        b.SetOnChange([&] { ++changes; });
        ASSERT_TRUE(b.Compact()) << colours;
        EXPECT_EQ(b.Image().format(), QImage::Format_Indexed8);
        EXPECT_EQ(b.Image().colorCount(), colours);
        EXPECT_EQ(changes, 0) << "the pixels did not change";
        EXPECT_EQ(b.Image().convertToFormat(QImage::Format_RGB32), source) << colours << " colours";
        EXPECT_EQ(b.Canvas().Pixel(36, 10), RgbToColor(source.pixel(36, 10)));
        EXPECT_FALSE(b.Compact()) << "already compact";
        EXPECT_EQ(b.Image().convertToFormat(QImage::Format_RGB32), source) << colours << " colours, twice";
    }
}

TEST(BitmapTest, MoreThan256ColoursStayFourBytesAPixel)
{
    TBitmap b;
    b.Assign(Pattern(40, 20, 257));
    EXPECT_FALSE(b.Compact());
    EXPECT_EQ(b.Image().format(), QImage::Format_RGB32);
    TBitmap empty;
    EXPECT_FALSE(empty.Compact());
}

TEST(BitmapTest, ACompactedBitmapDrawsLikeTheOriginalAndCanBeDrawnOnAgain)
{
    const QImage source = Pattern(30, 20, 9);
    TBitmap plain;
    plain.Assign(source);
    TBitmap compact;
    compact.Assign(source);
    ASSERT_TRUE(compact.Compact());
    // Copied through a clip onto 32-bit surfaces with and without alpha, at an offset
    // that puts part of it outside.
    const TPoint triangle[] = {{0, 0}, {40, 5}, {10, 30}};
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage a(32, 24, format);
        a.fill(Qt::white);
        QImage b = a;
        TCanvas ca(&a);
        TCanvas cb(&b);
        HRGN ra = CreatePolygonRgn(triangle, 3, ALTERNATE);
        HRGN rb = CreatePolygonRgn(triangle, 3, ALTERNATE);
        SelectClipRgn(ca, &ra);
        SelectClipRgn(cb, &rb);
        ca.Draw(5, 7, plain);
        cb.Draw(5, 7, compact);
        EXPECT_EQ(a, b) << "format " << format;
    }
    // Drawing on it brings back four bytes a pixel and changes only what was drawn.
    compact.Canvas().Brush.Color = clRed;
    compact.Canvas().FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(compact.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(compact.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(compact.Image().pixel(29, 19), source.pixel(29, 19));
}

TEST(BitmapTest, ACompactedFileBitmapStillSavesItsOwnFile)
{
    std::vector<std::uint32_t> palette(16, 0x336699);
    palette[2] = 0x102030;
    const QByteArray file = MakeBmp(4, palette, {{1, 2, 2}, {3, 4, 2}});
    TBitmap b;
    b.LoadFromFileData(file);
    ASSERT_TRUE(b.Compact());
    EXPECT_EQ(b.FileData(), file);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), TColor(0x302010));
}

// A look as tall as a bitmap allows and a few pixels wide is mostly rows repeating the one
// above (white where nothing was drawn); those are found and copied in long steps. Every
// row must still come out right: repeated stretches of every length, ending anywhere, and
// rows of three pixels, so one byte of padding in every compacted row.
TEST(BitmapTest, CompactingATallNarrowBitmapKeepsEveryRow)
{
    const int w = 3;
    const int h = 200'000;
    QImage source(w, h, QImage::Format_RGB32);
    source.fill(Qt::white);
    int changed = 0;
    for (int y = 1, gap = 1; y < h; y += gap, gap = gap * 3 % 1013 + 1) {
        source.setPixel(y % w, y, qRgb(y % 200, 10, 20));
        ++changed;
    }
    source.setPixel(0, h - 1, qRgb(1, 2, 3)); // a last row unlike the one above
    ASSERT_GT(changed, 100);
    TBitmap b;
    b.Assign(source);
    ASSERT_TRUE(b.Compact());
    const QImage back = b.Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(back.pixel(x, y), source.pixel(x, y)) << x << "," << y;
}
