#include "platform/Bitmap.h"

#include "platform/Exceptions.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <array>
#include <cstdint>
#include <cstring>

namespace vandora {

namespace {

std::uint32_t U32(const QByteArray& b, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

std::uint16_t U16(const QByteArray& b, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return std::uint16_t(p[0] | (p[1] << 8));
}

[[noreturn]] void Invalid(const std::string& why)
{
    throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

// What the decoder needs to know of a checked file beforehand.
struct TBitmapFileShape {
    int width = 0;
    int height = 0;     // rows, whichever way they run
    bool runLength = false;
    bool trueColour = false; // more than 8 bits a pixel: read as 32-bit pixels
};

// Checks that the header is consistent and that the pixels it promises fit in the file,
// so that a lying header never makes the decoder allocate more than the data justifies.
TBitmapFileShape CheckBitmapHeader(const QByteArray& file)
{
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
        Invalid("no bitmap file header");
    const std::uint32_t offBits = U32(file, 10);
    const std::uint32_t headerSize = U32(file, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = U16(file, 18);
        height = std::int16_t(U16(file, 20));
        bitCount = U16(file, 24);
    } else if (headerSize >= 40 && file.size() >= 54) {
        width = std::int32_t(U32(file, 18));
        height = std::int32_t(U32(file, 22));
        bitCount = U16(file, 28);
        compression = U32(file, 30);
    } else {
        Invalid("unknown information header of " + std::to_string(headerSize) + " bytes");
    }
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0)
        Invalid("size " + std::to_string(width) + " x " + std::to_string(height));
    // The same limit as every bitmap's, so that any bitmap written can be read back.
    if (width * height > TBitmap::kMaxPixels)
        Invalid("size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");
    if (offBits >= std::uint32_t(file.size()))
        Invalid("pixel data offset " + std::to_string(offBits) + " lies beyond the file");
    const TBitmapFileShape shape{int(width), int(height), compression == 1 || compression == 2, bitCount > 8};
    // Run-length data may skip pixels and end early, so its length bounds nothing: a few
    // bytes validly stand for the largest bitmap there is.
    if (shape.runLength)
        return shape;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        Invalid(std::to_string(bitCount) + " bits per pixel");
    // The reader starts at the offset only when it lies past the headers, the colour table
    // and the colour masks; an offset pointing back into them must not count their bytes
    // as pixels (rows beyond the file's end would be left as whatever memory held).
    std::int64_t tableBytes = 0;
    if (bitCount <= 8) {
        const std::uint32_t used = headerSize >= 40 ? U32(file, 46) : 0;
        tableBytes = std::int64_t(used != 0 ? used : 1u << bitCount) * (headerSize == 12 ? 3 : 4);
    }
    const std::int64_t maskBytes = headerSize == 40 && compression == 3 ? 12 : 0;
    const std::int64_t pixelStart =
        std::max<std::int64_t>(offBits, 14 + std::int64_t(headerSize) + tableBytes + maskBytes);
    const std::int64_t available = file.size() - pixelStart;
    const std::int64_t stride = ((width * bitCount + 31) / 32) * 4;
    if (stride * height > available)
        Invalid("pixel data of " + std::to_string(available) + " bytes is shorter than " +
                std::to_string(stride * height));
    return shape;
}

// Sizes come from callers as well as from files (a hotspot's box sizes its looks): one
// beyond reason must fail, not take all the memory there is.
void CheckPixelCount(int width, int height)
{
    if (std::int64_t(width) * height > TBitmap::kMaxPixels)
        throw EInvalidGraphic("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                              " pixels is too large");
}

// White pixels, or EInvalidGraphic when the memory for them cannot be had (Qt then gives
// a null image, which every later step would take for pixels).
QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw EInvalidGraphic("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels");
    image.fill(Qt::white);
    return image;
}


// The colours of a compacted bitmap and the byte each one gets, at most 256.
class TColorIndex {
public:
    TColorIndex() { slotIndex_.fill(-1); }

    // Writes the byte of each of the w pixels; false once a 257th colour turns up. A look
    // is mostly runs of one colour: one lookup and one fill per run.
    bool IndexRow(const QRgb* from, int w, uchar* to)
    {
        for (int x = 0; x < w;) {
            const QRgb color = from[x];
            const int index = IndexOf(color);
            if (index < 0)
                return false;
            int end = x + 1;
            while (end + 4 <= w && from[end] == color && from[end + 1] == color && from[end + 2] == color &&
                   from[end + 3] == color)
                end += 4;
            while (end < w && from[end] == color)
                ++end;
            std::memset(to + x, index, std::size_t(end - x));
            x = end;
        }
        return true;
    }

    const QList<QRgb>& Table() const { return table_; }

private:
    static constexpr std::uint32_t kSlots = 1024; // open addressing, never more than a quarter full

    int IndexOf(QRgb color)
    {
        std::uint32_t slot = (color * 2654435761u) >> 22; // the top 10 bits
        while (slotIndex_[slot] >= 0 && slotColor_[slot] != color)
            slot = (slot + 1) % kSlots;
        if (slotIndex_[slot] < 0) {
            if (table_.size() == 256)
                return -1;
            slotColor_[slot] = color;
            slotIndex_[slot] = int(table_.size());
            table_.append(color);
        }
        return slotIndex_[slot];
    }

    std::array<QRgb, kSlots> slotColor_{};
    std::array<int, kSlots> slotIndex_;
    QList<QRgb> table_;
};

// How many rows from y on (y > 0) repeat row y - 1. Rows lie one after another, so rows
// y .. y + n - 1 all repeat row y - 1 exactly when the n rows from y - 1 equal the n rows
// from y: one comparison checks any number of rows. The count doubles while they match,
// then halves back to the exact end.
int RowsRepeatingTheOneAbove(const uchar* rows, qsizetype stride, std::size_t rowBytes, int y, int h)
{
    auto repeat = [&](int n) {
        if (qsizetype(rowBytes) != stride) { // padded rows: one row at a time
            for (int r = y; r < y + n; ++r)
                if (std::memcmp(rows + (r - 1) * stride, rows + r * stride, rowBytes) != 0)
                    return false;
            return true;
        }
        return std::memcmp(rows + (y - 1) * stride, rows + y * stride, std::size_t(n) * rowBytes) == 0;
    };
    if (!repeat(1))
        return 0;
    int good = 1;
    int step = 1;
    while (y + good < h) {
        const int n = std::min(good + step, h - y);
        if (!repeat(n))
            break;
        good = n;
        step *= 2;
    }
    for (step /= 2; step > 0; step /= 2)
        if (y + good + step <= h && repeat(good + step))
            good += step;
    return good;
}

// Copies row y - 1 onto rows y .. y + n - 1, doubling the block copied at each step.
void RepeatRowAbove(uchar* rows, qsizetype stride, int y, int n)
{
    int done = 0;
    while (done < n) {
        const int block = std::min(done + 1, n - done); // rows y - 1 .. y + done - 1 are ready
        std::memcpy(rows + (y + done) * stride, rows + (y + done - block) * stride, std::size_t(block) * stride);
        done += block;
    }
}

} // namespace

QImage DecodeBitmapFile(const QByteArray& file)
{
    const TBitmapFileShape shape = CheckBitmapHeader(file);
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    // The format is known: without this Qt loads every image format plugin to ask it first.
    reader.setAutoDetectImageFormat(false);
    // The pixels that run-length data skips or never reaches are left by Qt's reader as
    // the memory held before. Read into a cleared image of the reader's own format, they
    // are the first palette colour instead of whatever was in that memory. True-colour
    // pixels are read into an image made here too: Qt's reader refuses to make one above
    // its allocation limit (128 MB unless the program sets another), which lies below the
    // bitmap limit, and bitmaps are written with 24-bit pixels: large ones would not read back.
    QImage image;
    if (shape.runLength || shape.trueColour) {
        image = QImage(shape.width, shape.height, shape.runLength ? QImage::Format_Indexed8 : QImage::Format_RGB32);
        if (image.isNull())
            Invalid("no memory for " + std::to_string(shape.width) + " x " + std::to_string(shape.height) + " pixels");
        if (shape.runLength)
            image.fill(0);
    }
    const uchar* const cleared = image.constBits();
    if (!reader.read(&image) || image.isNull())
        Invalid(reader.errorString().toStdString());
    if (shape.runLength && image.constBits() != cleared)
        Invalid("run-length pixels were not read into the cleared image");
    return image.convertToFormat(QImage::Format_RGB32);
}

QByteArray EncodeBitmapFile24(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int stride = ((w * 24 + 31) / 32) * 4;
    const std::uint32_t dataSize = std::uint32_t(stride) * std::uint32_t(h);
    QByteArray out(54 + qsizetype(dataSize), '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&](int at, std::uint16_t v) {
        out[at] = char(v & 0xFF);
        out[at + 1] = char(v >> 8);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(w));
    put32(22, std::uint32_t(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2834);
    put32(42, 2834);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - y));
        char* row = out.data() + 54 + qsizetype(y) * stride;
        for (int x = 0; x < w; ++x) {
            row[3 * x] = char(qBlue(line[x]));
            row[3 * x + 1] = char(qGreen(line[x]));
            row[3 * x + 2] = char(qRed(line[x]));
        }
    }
    return out;
}

const TBitmap* OpaqueBitmap(const TGraphic& graphic)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic);
    return bitmap != nullptr && !bitmap->Empty() && !bitmap->Transparent() ? bitmap : nullptr;
}

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int width, int height)
    : canvas_(std::make_unique<TCanvas>(&image_, [this](const QRect&) { PixelsChanged(); }))
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    CheckPixelCount(width_, height_);
    if (width_ > 0 && height_ > 0)
        image_ = WhiteImage(width_, height_);
}

TBitmap::~TBitmap() = default;

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto copy = std::make_unique<TBitmap>();
    copy->width_ = width_;
    copy->height_ = height_;
    copy->image_ = image_;
    copy->original_ = original_;
    copy->transparent_ = transparent_;
    return copy;
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    CheckPixelCount(width, height);
    if (width == 0 || height == 0) {
        width_ = width;
        height_ = height;
        image_ = QImage();
    } else {
        QImage resized = WhiteImage(width, height); // may raise: nothing has changed yet
        width_ = width;
        height_ = height;
        if (!image_.isNull()) {
            QPainter p(&resized);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, image_);
        }
        image_ = std::move(resized);
    }
    PixelsChanged();
}

TColor TBitmap::TransparentColor() const
{
    if (Empty())
        return clNone;
    return RgbToColor(image_.pixel(0, image_.height() - 1));
}

const QImage& TBitmap::DrawImage() const
{
    if (!transparent_ || Empty())
        return image_;
    if (!maskedValid_) {
        masked_ = image_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image_.pixel(0, image_.height() - 1) & 0x00FFFFFF;
        for (int y = 0; y < masked_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(masked_.scanLine(y));
            for (int x = 0; x < masked_.width(); ++x)
                if ((line[x] & 0x00FFFFFF) == key)
                    line[x] = 0;
        }
        maskedValid_ = true;
    }
    return masked_;
}

void TBitmap::Draw(QPainter& painter, const QRect& dest) const
{
    if (Empty())
        return;
    painter.drawImage(dest, DrawImage());
}

void TBitmap::Assign(const QImage& image)
{
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    width_ = image_.width();
    height_ = image_.height();
    PixelsChanged();
}

bool TBitmap::Compact()
{
    if (Empty() || image_.format() != QImage::Format_RGB32)
        return false;
    TColorIndex colors;
    const int w = width_;
    const int h = height_;
    const auto* source = image_.constBits();
    const qsizetype sourceStride = image_.bytesPerLine();
    QImage indexed(w, h, QImage::Format_Indexed8);
    if (indexed.isNull())
        return false; // no memory for the smaller copy: the pixels stay as they are
    uchar* const target = indexed.bits();
    const qsizetype targetStride = indexed.bytesPerLine();
    for (int y = 0; y < h;) {
        // Rows like the one above (white where nothing was drawn, say) are that row again,
        // found and copied in a few long steps however many there are.
        const int same = y > 0 ? RowsRepeatingTheOneAbove(source, sourceStride, std::size_t(w) * 4, y, h) : 0;
        if (same > 0) {
            RepeatRowAbove(target, targetStride, y, same);
            y += same;
            continue;
        }
        if (!colors.IndexRow(reinterpret_cast<const QRgb*>(source + y * sourceStride), w, target + y * targetStride))
            return false; // more than 256 colours
        ++y;
    }
    indexed.setColorTable(colors.Table());
    image_ = std::move(indexed);
    return true;
}

void TBitmap::PixelsChanged()
{
    original_.clear();
    maskedValid_ = false;
    masked_ = QImage();
    Changed();
}

QByteArray TBitmap::FileData() const
{
    if (!original_.isEmpty())
        return original_;
    if (Empty())
        return QByteArray();
    return EncodeBitmapFile24(image_);
}

void TBitmap::SaveToStream(QByteArray& out) const
{
    WriteCountedBlock(out, FileData());
}

void TBitmap::LoadFromStream(const QByteArray& data, qsizetype& pos)
{
    qsizetype at = pos;
    const QByteArray file = ReadCountedBlock(data, at, "TBitmap");
    LoadFromFileData(file);
    pos = at;
}

void TBitmap::LoadFromFileData(const QByteArray& file)
{
    if (file.isEmpty()) {
        image_ = QImage();
        width_ = height_ = 0;
        PixelsChanged();
        return;
    }
    QImage decoded = DecodeBitmapFile(file);
    image_ = std::move(decoded);
    width_ = image_.width();
    height_ = image_.height();
    maskedValid_ = false;
    masked_ = QImage();
    original_ = file;
    Changed();
}

} // namespace vandora
