// Fuzzes picture data through the picture holder: the persisted form of a TBitmap or a
// TJPEGImage (class name, byte count, file) as TPicture::SetData meets it.
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzClasses.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/JpegImage.h"
#include "platform/Picture.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace vandora;
using vandora::fuzz::Broken;

// What a picture holds before the input is loaded over it: nothing, a bitmap or a JPEG.
QByteArray startData[3];

void MakeStartPictures()
{
    QImage image(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(40 * x, 80 * y, 200));
    TPicture bitmap;
    auto b = std::make_unique<TBitmap>();
    b->Assign(image);
    bitmap.TakeGraphic(std::move(b));
    startData[1] = bitmap.Data();
    TPicture jpeg;
    auto j = std::make_unique<TJPEGImage>();
    j->Assign(image, 75);
    jpeg.TakeGraphic(std::move(j));
    startData[2] = jpeg.Data();
}

// An arithmetic-coded JPEG may legally end its data early and decode the rest as zeros,
// so a few hundred bytes can describe tens of millions of pixels; TJPEGImage bounds those
// only by its fixed pixel limit. Decoding that many pixels under the sanitizers takes
// longer than the fuzzer's time limit without being a fault, so such inputs are skipped.
bool IsLargeArithmeticJpeg(const QByteArray& input)
{
    static const QByteArray jpegClass("\x0aTJPEGImage", 11);
    if (!input.startsWith(jpegClass))
        return false;
    const auto* file = reinterpret_cast<const unsigned char*>(input.constData()) + jpegClass.size() + 4;
    const qsizetype size = input.size() - jpegClass.size() - 4;
    auto be16 = [file](qsizetype at) { return (file[at] << 8) | file[at + 1]; };
    qsizetype at = 2; // after the start of image
    while (at + 3 < size && file[at] == 0xFF) {
        const unsigned marker = file[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break; // the scan's data follows; no frame header after it counts
        const bool arithmeticFrame = (marker >= 0xC9 && marker <= 0xCB) || (marker >= 0xCD && marker <= 0xCF);
        if (arithmeticFrame && at + 8 < size &&
            std::int64_t(be16(at + 5)) * be16(at + 7) > std::int64_t(4) * 1024 * 1024)
            return true;
        at += 2 + be16(at + 2);
    }
    return false;
}

// Run-length bitmap data may end at once and still be valid, so a few bytes can stand for
// as many pixels as the bitmap limit allows; TBitmap clears them all before decoding. Like
// the large JPEGs above, such inputs are not faults, only slow under the sanitizers.
bool IsLargeRunLengthBitmap(const QByteArray& input)
{
    static const QByteArray bitmapClass("\x07TBitmap", 8);
    const qsizetype file = bitmapClass.size() + 4;
    if (!input.startsWith(bitmapClass) || input.size() < file + 54)
        return false;
    auto le32 = [&input](qsizetype at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(input[at + i]);
        return v;
    };
    const std::uint32_t compression = le32(file + 30);
    if (le32(file + 14) < 40 || (compression != 1 && compression != 2))
        return false;
    const std::int64_t width = std::int32_t(le32(file + 18));
    const std::int64_t height = std::int32_t(le32(file + 22));
    return std::abs(width * height) > std::int64_t(4) * 1024 * 1024;
}

std::string Sizes(const TPicture& picture)
{
    return std::to_string(picture.Width()) + "x" + std::to_string(picture.Height());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const bool done = [] {
        fuzz::StartApplication(fuzz::TFuzzApplication::Gui);
        MakeStartPictures();
        return true;
    }();
    (void)done;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (IsLargeArithmeticJpeg(input) || IsLargeRunLengthBitmap(input))
        return 0;
    const QByteArray& start = startData[size % 3];
    TPicture picture;
    picture.SetData(start);
    int changes = 0;
    picture.SetOnChange([&changes] { ++changes; });
    const TGraphic* before = picture.Graphic();
    const QImage beforeImage = before ? before->ToImage() : QImage();
    const int beforeWidth = picture.Width();
    const int beforeHeight = picture.Height();

    try {
        picture.SetData(input);
    } catch (const EInvalidGraphic&) {
        if (picture.Graphic() != before || changes != 0)
            Broken("a failed load keeps the picture's graphic and tells nobody");
        if (picture.Data() != start || picture.Width() != beforeWidth || picture.Height() != beforeHeight)
            Broken("a failed load leaves the previous graphic's data and size", Sizes(picture));
        if (before && before->ToImage() != beforeImage)
            Broken("a failed load leaves the previous graphic's pixels");
        return 0;
    }

    fuzz::CountAcceptedRead();
    if (changes == 0)
        Broken("a successful load tells the owner");
    if (input.isEmpty()) {
        if (picture.HasGraphic())
            Broken("empty data clears the picture");
        return 0;
    }
    const TGraphic* graphic = picture.Graphic();
    if (!graphic)
        Broken("a successful load of data holds a graphic");
    const QImage image = graphic->ToImage();
    if (!graphic->Empty() && (image.width() != picture.Width() || image.height() != picture.Height()))
        Broken("the picture's size is its pixels' size", Sizes(picture));
    const QByteArray saved = picture.Data();
    if (saved != input)
        Broken("a loaded picture's data is the data it was loaded from",
               std::to_string(saved.size()) + " bytes instead of " + std::to_string(input.size()));
    TPicture again;
    try {
        again.SetData(saved);
    } catch (const EInvalidGraphic& e) {
        Broken("a picture's data loads again", e.what());
    }
    if (again.Data() != saved || again.Width() != picture.Width() || again.Height() != picture.Height() ||
        again.Graphic()->ToImage() != image)
        Broken("a picture loaded from another's data is the same picture", Sizes(again) + " / " + Sizes(picture));
    TPicture copy;
    copy.Assign(&picture);
    if (copy.Data() != saved || copy.Graphic()->ToImage() != image)
        Broken("a copied picture is the same picture");
    return 0;
}
