#include "platform/JpegImage.h"

#include "platform/Exceptions.h"

#include <QPainter>
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

// How libjpeg is driven without ever ending the process or leaking:
//
// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps
// back (longjmp) to the setjmp in the one small function that called into libjpeg. Those
// functions (ReadHeader, ReadPixels, Compress) hold nothing but plain pointers and
// integers, so the jump skips no destructor. The C++ side (DecodeJpeg, EncodeJpeg) owns
// the libjpeg state through a guard whose destructor calls jpeg_destroy_*: it runs on
// every path, after success and after a failure, and so also when the exception leaves.
// libjpeg's own memory (its pools, the scanline buffer) dies with jpeg_destroy_*; the one
// block libjpeg does not own, the compressed output of jpeg_mem_dest, is freed by the guard.

namespace vandora {

namespace {

// Anything larger is refused before a pixel is allocated (256 MiB of RGB32).
constexpr std::uint64_t kMaxPixels = 64u * 1024u * 1024u;

struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees this struct as a jpeg_error_mgr
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// libjpeg reports damaged data it can step over (a truncated file, a broken segment) as a
// warning and goes on with grey pixels. A picture is either sound or invalid: warnings are
// fatal. Trace messages (level >= 0) are ignored; nothing is ever printed.
void EmitMessage(j_common_ptr cinfo, int msgLevel)
{
    if (msgLevel < 0)
        ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

void InitErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
    err.message[0] = '\0';
}

// ---- decoding ------------------------------------------------------------------------

struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

// Creates the decompressor, reads the header and chooses the output colour space.
// Returns false with err.message set when libjpeg failed.
bool ReadHeader(DecodeState* s, const unsigned char* data, unsigned long size)
{
    if (setjmp(s->err.jump) != 0)
        return false;
    jpeg_create_decompress(&s->cinfo);
    jpeg_mem_src(&s->cinfo, data, size);
    jpeg_read_header(&s->cinfo, TRUE);
    switch (s->cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        s->cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        s->cinfo.out_color_space = JCS_CMYK; // libjpeg turns YCCK into CMYK
        break;
    default:
        s->cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&s->cinfo);
    return true;
}

// Decodes every scanline into bits (Format_RGB32, bytesPerLine apart).
bool ReadPixels(DecodeState* s, unsigned char* bits, std::ptrdiff_t bytesPerLine)
{
    if (setjmp(s->err.jump) != 0)
        return false;
    j_decompress_ptr cinfo = &s->cinfo;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    const int components = cinfo->output_components;
    // Pool memory: released by jpeg_destroy_decompress on every path.
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 width * JDIMENSION(components), 1);
    // Adobe writes CMYK (and YCCK) inverted: 0 means full ink.
    const bool invertedCmyk = cinfo->saw_Adobe_marker != 0;
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION y = cinfo->output_scanline;
        if (jpeg_read_scanlines(cinfo, row, 1) != 1) {
            std::snprintf(s->err.message, sizeof s->err.message, "Decoder delivered no scanline %u", unsigned(y));
            return false;
        }
        const JSAMPLE* in = row[0];
        auto* out = reinterpret_cast<std::uint32_t*>(bits + std::ptrdiff_t(y) * bytesPerLine);
        for (JDIMENSION x = 0; x < width; ++x) {
            unsigned r = 0;
            unsigned g = 0;
            unsigned b = 0;
            switch (components) {
            case 1:
                r = g = b = in[x];
                break;
            case 3:
                r = in[3 * x];
                g = in[3 * x + 1];
                b = in[3 * x + 2];
                break;
            case 4: {
                unsigned c = in[4 * x];
                unsigned m = in[4 * x + 1];
                unsigned ye = in[4 * x + 2];
                unsigned k = in[4 * x + 3];
                if (!invertedCmyk) {
                    c = 255 - c;
                    m = 255 - m;
                    ye = 255 - ye;
                    k = 255 - k;
                }
                // Now 255 means no ink.
                r = (c * k + 127) / 255;
                g = (m * k + 127) / 255;
                b = (ye * k + 127) / 255;
                break;
            }
            default:
                break;
            }
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

class DecoderGuard {
public:
    DecoderGuard()
    {
        std::memset(&s_, 0, sizeof s_); // cinfo.mem stays null until creation succeeds
        InitErrorManager(s_.err);
        s_.cinfo.err = &s_.err.pub;
    }
    ~DecoderGuard() { jpeg_destroy_decompress(&s_.cinfo); } // safe also when never created
    DecoderGuard(const DecoderGuard&) = delete;
    DecoderGuard& operator=(const DecoderGuard&) = delete;
    DecodeState* operator->() { return &s_; }
    DecodeState* get() { return &s_; }

private:
    DecodeState s_;
};

[[noreturn]] void Invalid(const std::string& why)
{
    throw EInvalidGraphic("JPEG image is not valid: " + why);
}

// ---- encoding ------------------------------------------------------------------------

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* out;   // malloc'ed by jpeg_mem_dest, freed by the guard
    unsigned long outSize;
};

bool Compress(EncodeState* s, const unsigned char* rgb, int width, int height, std::ptrdiff_t bytesPerLine,
              int quality)
{
    if (setjmp(s->err.jump) != 0)
        return false;
    j_compress_ptr cinfo = &s->cinfo;
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, &s->out, &s->outSize);
    cinfo->image_width = JDIMENSION(width);
    cinfo->image_height = JDIMENSION(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + std::ptrdiff_t(cinfo->next_scanline) * bytesPerLine);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

class EncoderGuard {
public:
    EncoderGuard()
    {
        std::memset(&s_, 0, sizeof s_);
        InitErrorManager(s_.err);
        s_.cinfo.err = &s_.err.pub;
    }
    ~EncoderGuard()
    {
        jpeg_destroy_compress(&s_.cinfo);
        std::free(s_.out);
    }
    EncoderGuard(const EncoderGuard&) = delete;
    EncoderGuard& operator=(const EncoderGuard&) = delete;
    EncodeState* operator->() { return &s_; }
    EncodeState* get() { return &s_; }

private:
    EncodeState s_;
};

} // namespace

QImage DecodeJpeg(const QByteArray& file)
{
    if (file.isEmpty())
        Invalid("no data");
    DecoderGuard decoder;
    const auto* data = reinterpret_cast<const unsigned char*>(file.constData());
    if (!ReadHeader(decoder.get(), data, static_cast<unsigned long>(file.size())))
        Invalid(decoder->err.message);

    const jpeg_decompress_struct& cinfo = decoder->cinfo;
    const std::uint64_t width = cinfo.output_width;
    const std::uint64_t height = cinfo.output_height;
    const std::uint64_t pixels = width * height;
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0)
        Invalid("size " + size);
    if (pixels > kMaxPixels)
        Invalid("size " + size + " is too large");
    // A Huffman-coded scan spends at least one bit on every block it holds, and one block
    // covers at most 8 x 8 pixels times the largest sampling factors; so the file bounds
    // the pixel count it can carry. (Arithmetic coding can go below a bit per block; it
    // only gets the fixed limit above.)
    const std::uint64_t pixelsPerBit =
        64u * std::uint64_t(std::max(cinfo.max_h_samp_factor, 1)) * std::uint64_t(std::max(cinfo.max_v_samp_factor, 1));
    if (!cinfo.arith_code && pixels > std::uint64_t(file.size()) * 8u * pixelsPerBit)
        Invalid("size " + size + " needs more data than the " + std::to_string(file.size()) +
                " bytes present");

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        Invalid("no memory for " + size + " pixels");
    if (!ReadPixels(decoder.get(), image.bits(), image.bytesPerLine()))
        Invalid(decoder->err.message);
    return image;
}

QByteArray EncodeJpeg(const QImage& source, int quality)
{
    if (source.isNull() || source.width() <= 0 || source.height() <= 0)
        throw EInvalidGraphic("JPEG image cannot encode an empty image");
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    EncoderGuard encoder;
    if (!Compress(encoder.get(), rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(),
                  std::clamp(quality, 1, 100)))
        throw EInvalidGraphic(std::string("JPEG image cannot be encoded: ") + encoder->err.message);
    return QByteArray(reinterpret_cast<const char*>(encoder->out), qsizetype(encoder->outSize));
}

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto copy = std::make_unique<TJPEGImage>();
    copy->image_ = image_;
    copy->file_ = file_;
    copy->transparent_ = transparent_;
    return copy;
}

void TJPEGImage::Draw(QPainter& painter, const QRect& dest) const
{
    // A JPEG has no key colour: it is always drawn opaque.
    if (Empty())
        return;
    painter.drawImage(dest, image_);
}

void TJPEGImage::SaveToStream(QByteArray& out) const
{
    WriteCountedBlock(out, file_);
}

void TJPEGImage::LoadFromStream(const QByteArray& data, qsizetype& pos)
{
    qsizetype at = pos;
    const QByteArray file = ReadCountedBlock(data, at, "TJPEGImage");
    LoadFromFileData(file);
    pos = at;
}

void TJPEGImage::LoadFromFileData(const QByteArray& file)
{
    // Decoded completely before anything is replaced: a failure leaves the image as it was.
    QImage decoded = file.isEmpty() ? QImage() : DecodeJpeg(file);
    image_ = std::move(decoded);
    file_ = file;
    Changed();
}

void TJPEGImage::Assign(const QImage& image, int quality)
{
    if (image.isNull()) {
        image_ = QImage();
        file_.clear();
        Changed();
        return;
    }
    QByteArray file = EncodeJpeg(image, quality);
    // The pixels kept are the decoded ones, so that what is drawn is what is saved.
    QImage decoded = DecodeJpeg(file);
    image_ = std::move(decoded);
    file_ = std::move(file);
    Changed();
}

} // namespace vandora
