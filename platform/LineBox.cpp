#include "platform/LineBox.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QHash>
#include <QRawFont>
#include <QtEndian>
#include <cmath>

namespace vandora {

namespace {

// usWinAscent and usWinDescent: unsigned 16-bit big-endian at offsets 74 and 76 of the
// OS/2 table, in font units.
constexpr int kWinAscentOffset = 74;
constexpr int kWinDescentOffset = 76;

TLineBox Measure(const QFont& font)
{
    const QFontMetrics metrics(font);
    const TLineBox qtBox{metrics.ascent(), metrics.descent()};
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || raw.unitsPerEm() <= 0)
        return qtBox;
    const QByteArray os2 = raw.fontTable("OS/2");
    if (os2.size() < kWinDescentOffset + 2)
        return qtBox;
    const auto* bytes = reinterpret_cast<const uchar*>(os2.constData());
    const qreal scale = raw.pixelSize() / raw.unitsPerEm();
    const int ascent = int(std::lround(qFromBigEndian<quint16>(bytes + kWinAscentOffset) * scale));
    const int descent = int(std::lround(qFromBigEndian<quint16>(bytes + kWinDescentOffset) * scale));
    if (ascent <= 0 || ascent + descent <= 0)
        return qtBox;
    return {ascent, descent};
}

} // namespace

TLineBox DesignedLineBox(const QFont& font)
{
    // Asked on every caption change; a font's figures never change. GUI thread only.
    static QHash<QString, TLineBox> cache;
    const QString key = font.key();
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    const TLineBox box = Measure(font);
    cache.insert(key, box);
    return box;
}

} // namespace vandora
