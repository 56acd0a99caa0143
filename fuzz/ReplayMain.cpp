// Without libFuzzer: runs a fuzz target once on every file of the given directories (or on
// the given files), as a regression test over its corpus.
#include "fuzz/FuzzChecks.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        QStringList files;
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(path).isDir()) {
            for (const QString& name : QDir(path).entryList(QDir::Files, QDir::Name))
                files << QDir(path).filePath(name);
        } else {
            files << path;
        }
        for (const QString& file : files) {
            QFile input(file);
            if (!input.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
                return 1;
            }
            const QByteArray data = input.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size()));
            ++replayed;
        }
    }
    const int accepted = vandora::fuzz::AcceptedReads();
    std::printf("%d inputs replayed, %d read into components\n", replayed, accepted);
    // The checks hold for what is read: a reader that refused every input would pass them all.
    if (accepted == 0)
        std::fprintf(stderr, "no input was read: nothing was checked\n");
    return replayed > 0 && accepted > 0 ? 0 : 1;
}
