#include "platform/Graphic.h"

#include "platform/Exceptions.h"

#include <cstdint>

namespace vandora {

void TGraphic::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    Changed();
}

QByteArray ReadCountedBlock(const QByteArray& data, qsizetype& pos, const char* className)
{
    if (pos < 0 || data.size() - pos < 4)
        throw EInvalidGraphic(std::string(className) + ": picture data ends before its byte count");
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + pos);
    const std::uint32_t count = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                                (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    if (count > std::uint64_t(data.size() - pos - 4))
        throw EInvalidGraphic(std::string(className) + ": picture data announces " +
                              std::to_string(count) + " bytes but holds " +
                              std::to_string(data.size() - pos - 4));
    QByteArray block = data.mid(pos + 4, qsizetype(count));
    pos += 4 + qsizetype(count);
    return block;
}

void WriteCountedBlock(QByteArray& out, const QByteArray& file)
{
    const auto count = static_cast<std::uint32_t>(file.size());
    const char bytes[4] = {char(count & 0xFF), char((count >> 8) & 0xFF), char((count >> 16) & 0xFF),
                           char((count >> 24) & 0xFF)};
    out.append(bytes, 4);
    out.append(file);
}

} // namespace vandora
