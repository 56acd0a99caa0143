#include "platform/GraphicRegistry.h"

#include "platform/Bitmap.h"
#include "platform/JpegImage.h"

#include <QString>

namespace vandora {

namespace {

std::string Lower(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toLower().toStdString();
}

} // namespace

TGraphicRegistry& TGraphicRegistry::Instance()
{
    static TGraphicRegistry registry;
    return registry;
}

TGraphicRegistry::TGraphicRegistry()
{
    RegisterClass("TBitmap", [] { return std::make_unique<TBitmap>(); });
    RegisterFileFormat("bmp", "Bitmaps", "TBitmap");
    RegisterClass("TJPEGImage", [] { return std::make_unique<TJPEGImage>(); });
    RegisterFileFormat("jpeg", "JPEG Image File", "TJPEGImage");
    RegisterFileFormat("jpg", "JPEG Image File", "TJPEGImage");
}

void TGraphicRegistry::RegisterClass(const std::string& className, Factory factory)
{
    for (auto& entry : classes_)
        if (entry.name == className) {
            entry.factory = std::move(factory);
            return;
        }
    classes_.push_back({className, std::move(factory)});
}

void TGraphicRegistry::RegisterFileFormat(const std::string& extension, const std::string& description,
                                          const std::string& className)
{
    const std::string ext = Lower(extension);
    for (auto& format : formats_)
        if (format.Extension == ext) {
            format = {ext, description, className};
            return;
        }
    formats_.push_back({ext, description, className});
}

std::unique_ptr<TGraphic> TGraphicRegistry::CreateByClassName(std::string_view className) const
{
    for (const auto& entry : classes_)
        if (entry.name == className)
            return entry.factory();
    return nullptr;
}

std::optional<TFileFormat> TGraphicRegistry::FormatForExtension(std::string_view extension) const
{
    const std::string ext = Lower(extension);
    for (const auto& format : formats_)
        if (format.Extension == ext)
            return format;
    return std::nullopt;
}

std::unique_ptr<TGraphic> TGraphicRegistry::CreateForExtension(std::string_view extension) const
{
    const auto format = FormatForExtension(extension);
    return format ? CreateByClassName(format->ClassName) : nullptr;
}

} // namespace vandora
