// Writes the JPEG seeds of the picture fuzz target into the given directory, encoded by the
// project's own encoder (fuzz/make_seeds.py runs it): small pictures whose sizes are not
// multiples of the block size, so that the decoder's edge handling is in the corpus.
#include "platform/JpegImage.h"
#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <memory>

namespace {

bool Write(const QString& directory, const QString& name, const QImage& image, int quality)
{
    vandora::TPicture picture;
    auto jpeg = std::make_unique<vandora::TJPEGImage>();
    jpeg->Assign(image, quality);
    picture.TakeGraphic(std::move(jpeg));
    QFile file(QDir(directory).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(picture.Data()) == picture.Data().size();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    QImage colours(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y)
        for (int x = 0; x < colours.width(); ++x)
            colours.setPixel(x, y, qRgb(28 * x, 36 * y, 255 - 20 * (x + y)));
    QImage flat(17, 3, QImage::Format_RGB32);
    flat.fill(qRgb(120, 130, 140));
    const bool ok = Write(directory, "jpeg-colours.bin", colours, 60) && Write(directory, "jpeg-flat.bin", flat, 10);
    return ok ? 0 : 1;
}
