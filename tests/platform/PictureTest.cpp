// TPicture (one graphic or none, copies, change notification, persisted data) and the
// graphic-format registry.
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/GraphicRegistry.h"
#include "platform/JpegImage.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

using namespace vandora;

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor color)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush.Color = color;
    b->Canvas().FillRect(Rect(0, 0, w, h));
    return b;
}

QImage RedImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    return image;
}

} // namespace

TEST(PictureTest, EmptyPictureHasNoSize)
{
    TPicture picture;
    EXPECT_FALSE(picture.HasGraphic());
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(picture.Data().isEmpty());
}

TEST(PictureTest, PictureWithAnEmptyBitmapIsEmpty)
{
    TPicture picture;
    picture.Bitmap();
    EXPECT_TRUE(picture.HasGraphic());
    EXPECT_TRUE(picture.Empty());
}

TEST(PictureTest, ChangesAreNotified)
{
    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    auto bitmap = Solid(4, 3, clRed);
    picture.SetGraphic(bitmap.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    // Drawing on the held bitmap is a change of the picture.
    picture.Bitmap().Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 2);
    picture.SetGraphic(nullptr);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(picture.Empty());
}

TEST(PictureTest, SetGraphicCopiesAndNeverTakesTheCallersGraphic)
{
    auto mine = Solid(2, 2, clRed);
    TPicture picture;
    picture.SetGraphic(mine.get());
    ASSERT_NE(picture.Graphic(), mine.get());
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    mine->Canvas().Brush.Color = clBlue;
    mine->Canvas().FillRect(Rect(0, 0, 2, 2)); // my graphic changes, the picture's does not
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(picture.Bitmap().Canvas().Pixel(0, 0), clRed);
    mine.reset(); // and it may go away
    EXPECT_EQ(picture.Width(), 2);
}

TEST(PictureTest, AssignCopiesTheOtherPicturesGraphic)
{
    TPicture source;
    auto bitmap = Solid(3, 3, clLime);
    source.SetGraphic(bitmap.get());
    TPicture target;
    int changes = 0;
    target.SetOnChange([&] { ++changes; });
    target.Assign(&source);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(target.HasGraphic());
    EXPECT_NE(target.Graphic(), source.Graphic());
    EXPECT_EQ(target.Graphic()->ToImage(), source.Graphic()->ToImage());
    source.Bitmap().Canvas().Brush.Color = clRed;
    source.Bitmap().Canvas().FillRect(Rect(0, 0, 3, 3));
    EXPECT_EQ(target.Bitmap().Canvas().Pixel(1, 1), clLime);

    target.Assign(&target); // itself: a copy of itself
    EXPECT_EQ(target.Bitmap().Canvas().Pixel(1, 1), clLime);
    target.Assign(nullptr);
    EXPECT_FALSE(target.HasGraphic());
}

TEST(PictureTest, AssignCopiesJpegAsJpeg)
{
    TPicture source;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(RedImage(8, 8));
    source.TakeGraphic(std::move(jpeg));
    TPicture target;
    target.Assign(&source);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(target.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TJPEGImage*>(target.Graphic())->FileData(),
              static_cast<TJPEGImage*>(source.Graphic())->FileData());
}

TEST(PictureTest, DataRoundTripOfABitmap)
{
    TPicture picture;
    auto bitmap = Solid(5, 4, clPurple);
    picture.SetGraphic(bitmap.get());
    const QByteArray data = picture.Data();
    ASSERT_FALSE(data.isEmpty());
    EXPECT_EQ(std::uint8_t(data[0]), 7);
    EXPECT_EQ(data.mid(1, 7), QByteArray("TBitmap"));

    TPicture back;
    back.SetData(data);
    ASSERT_NE(dynamic_cast<TBitmap*>(back.Graphic()), nullptr);
    EXPECT_EQ(back.Graphic()->ToImage(), picture.Graphic()->ToImage());
    EXPECT_EQ(back.Data(), data);
}

TEST(PictureTest, DataRoundTripOfAJpeg)
{
    TPicture picture;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(RedImage(16, 8));
    picture.TakeGraphic(std::move(jpeg));
    const QByteArray data = picture.Data();
    EXPECT_EQ(data.mid(1, 10), QByteArray("TJPEGImage"));
    TPicture back;
    back.SetData(data);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(back.Graphic()), nullptr);
    EXPECT_EQ(back.Width(), 16);
    EXPECT_EQ(back.Data(), data);
}

TEST(PictureTest, EmptyDataClearsThePicture)
{
    TPicture picture;
    auto bitmap = Solid(2, 2, clRed);
    picture.SetGraphic(bitmap.get());
    picture.SetData(QByteArray());
    EXPECT_FALSE(picture.HasGraphic());
}

TEST(PictureTest, UnknownClassNameRaisesAndKeepsTheOldGraphic)
{
    TPicture picture;
    auto bitmap = Solid(2, 2, clRed);
    picture.SetGraphic(bitmap.get());
    const TGraphic* before = picture.Graphic();
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });

    QByteArray data;
    data.append(char(8));
    data.append("TPNGFile");
    WriteCountedBlock(data, QByteArray("whatever"));
    EXPECT_THROW(picture.SetData(data), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(picture.Bitmap().Canvas().Pixel(0, 0), clRed);
}

TEST(PictureTest, MalformedDataRaisesAndKeepsTheOldGraphic)
{
    TPicture picture;
    auto bitmap = Solid(2, 2, clRed);
    picture.SetGraphic(bitmap.get());
    const TGraphic* before = picture.Graphic();
    const QByteArray good = picture.Data();

    EXPECT_THROW(picture.SetData(QByteArray("\x20TBit", 5)), EInvalidGraphic);       // name cut short
    EXPECT_THROW(picture.SetData(good.left(good.size() - 1)), EInvalidGraphic);       // file cut short
    EXPECT_THROW(picture.SetData(good + QByteArray("x")), EInvalidGraphic);           // bytes after it
    QByteArray badJpeg;
    badJpeg.append(char(10));
    badJpeg.append("TJPEGImage");
    WriteCountedBlock(badJpeg, QByteArray("\xFF\xD8garbage", 9));
    EXPECT_THROW(picture.SetData(badJpeg), EInvalidGraphic);
    // A name one byte short of its length is cut short too, not read past.
    try {
        picture.SetData(QByteArray("\x05TBit", 5));
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Picture data ends inside the graphic's class name");
    }
    EXPECT_EQ(picture.Graphic(), before);
}

// A graphic's data is a four-byte count, then that many bytes: one byte short of either
// is refused by name, not read past.
TEST(PictureTest, ACountedBlockOneByteShortIsRefused)
{
    QByteArray data;
    WriteCountedBlock(data, QByteArray("abc"));
    qsizetype pos = 0;
    EXPECT_EQ(ReadCountedBlock(data, pos, "TBitmap"), QByteArray("abc"));
    EXPECT_EQ(pos, 7);
    const auto errorOf = [](const QByteArray& bytes) {
        qsizetype at = 0;
        try {
            ReadCountedBlock(bytes, at, "TBitmap");
        } catch (const EInvalidGraphic& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf(data.left(6)), "TBitmap: picture data announces 3 bytes but holds 2");
    EXPECT_EQ(errorOf(data.left(3)), "TBitmap: picture data ends before its byte count");
}

TEST(PictureTest, BitmapReplacesAnotherKindOfGraphic)
{
    TPicture picture;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(RedImage(4, 4));
    picture.TakeGraphic(std::move(jpeg));
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    TBitmap& bitmap = picture.Bitmap();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(changes, 1);
}

TEST(PictureTest, LoadsFilesByExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString jpegPath = dir.filePath("red.JPG");
    {
        QFile f(jpegPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(EncodeJpeg(RedImage(6, 5), 90));
    }
    TPicture picture;
    picture.LoadFromFile(jpegPath);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 6);

    const QString bmpPath = dir.filePath("blue.bmp");
    {
        QFile f(bmpPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(EncodeBitmapFile24(Solid(3, 2, clBlue)->ToImage()));
    }
    picture.LoadFromFile(bmpPath);
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Bitmap().Canvas().Pixel(2, 1), clBlue);

    {
        QFile gif(dir.filePath("x.gif"));
        ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
        gif.write("GIF89a");
    }
    try {
        picture.LoadFromFile(dir.filePath("x.gif"));
        ADD_FAILURE() << "a GIF file loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Unknown picture file extension (.gif)");
    }
    EXPECT_THROW(picture.LoadFromFile(dir.filePath("missing.jpg")), EInvalidGraphic);
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr); // kept
}

TEST(GraphicRegistryTest, KnowsJpegAndJpgAsJpegImageFile)
{
    auto& registry = TGraphicRegistry::Instance();
    for (const char* ext : {"jpeg", "jpg", "JPG", "Jpeg"}) {
        const auto format = registry.FormatForExtension(ext);
        ASSERT_TRUE(format.has_value()) << ext;
        EXPECT_EQ(format->Description, "JPEG Image File") << ext;
        EXPECT_EQ(format->ClassName, "TJPEGImage") << ext;
        auto graphic = registry.CreateForExtension(ext);
        ASSERT_NE(graphic, nullptr);
        EXPECT_STREQ(graphic->ClassName(), "TJPEGImage");
    }
}

TEST(GraphicRegistryTest, KnowsBitmapsAndNothingElse)
{
    auto& registry = TGraphicRegistry::Instance();
    EXPECT_STREQ(registry.CreateForExtension("bmp")->ClassName(), "TBitmap");
    EXPECT_STREQ(registry.CreateByClassName("TBitmap")->ClassName(), "TBitmap");
    EXPECT_STREQ(registry.CreateByClassName("TJPEGImage")->ClassName(), "TJPEGImage");
    EXPECT_EQ(registry.CreateByClassName("TPngImage"), nullptr);
    EXPECT_EQ(registry.CreateForExtension("png"), nullptr);
    EXPECT_FALSE(registry.FormatForExtension("").has_value());
}

// Registering a class or an extension again replaces what it stood for.
TEST(GraphicRegistryTest, ARegistrationAgainReplacesTheEarlierOne)
{
    auto& registry = TGraphicRegistry::Instance();
    registry.RegisterFileFormat("JPG", "Bitmaps by another name", "TBitmap");
    EXPECT_STREQ(registry.CreateForExtension("jpg")->ClassName(), "TBitmap");
    EXPECT_EQ(registry.FormatForExtension("jpg")->Description, "Bitmaps by another name");
    registry.RegisterFileFormat("jpg", "JPEG Image File", "TJPEGImage");
    EXPECT_STREQ(registry.CreateForExtension("jpg")->ClassName(), "TJPEGImage");

    int made = 0;
    registry.RegisterClass("TBitmap", [&made] {
        ++made;
        return std::make_unique<TBitmap>();
    });
    registry.CreateByClassName("TBitmap");
    registry.RegisterClass("TBitmap", [] { return std::make_unique<TBitmap>(); });
    EXPECT_EQ(made, 1);
}
