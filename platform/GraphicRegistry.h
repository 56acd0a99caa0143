#pragma once
// The picture formats the program knows: by persisted class name and by file extension.
#include "platform/Graphic.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

struct TFileFormat {
    std::string Extension;   // lower case, without the dot: "jpg"
    std::string Description; // "JPEG Image File"
    std::string ClassName;   // "TJPEGImage"
};

class TGraphicRegistry {
public:
    using Factory = std::function<std::unique_ptr<TGraphic>()>;

    // The one registry; TBitmap and TJPEGImage are registered when it is first used.
    static TGraphicRegistry& Instance();

    void RegisterClass(const std::string& className, Factory factory);
    void RegisterFileFormat(const std::string& extension, const std::string& description,
                            const std::string& className);

    // A new empty graphic of the class, or null when the class is unknown.
    std::unique_ptr<TGraphic> CreateByClassName(std::string_view className) const;
    // A new empty graphic for a file extension (case-insensitive, without the dot), or null.
    std::unique_ptr<TGraphic> CreateForExtension(std::string_view extension) const;
    std::optional<TFileFormat> FormatForExtension(std::string_view extension) const;
    const std::vector<TFileFormat>& Formats() const { return formats_; }

private:
    TGraphicRegistry();

    struct ClassEntry {
        std::string name;
        Factory factory;
    };
    std::vector<ClassEntry> classes_;
    std::vector<TFileFormat> formats_;
};

} // namespace vandora
