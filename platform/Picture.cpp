#include "platform/Picture.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/GraphicRegistry.h"

#include <QFile>
#include <QFileInfo>

namespace vandora {

TPicture::TPicture() = default;

TPicture::~TPicture()
{
    // A graphic dying with its picture notifies nobody.
    if (graphic_)
        graphic_->SetOnChange({});
}

void TPicture::Changed()
{
    if (onChange_)
        onChange_();
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic)
{
    if (graphic_)
        graphic_->SetOnChange({});
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->SetOnChange([this] { Changed(); });
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    Adopt(graphic ? graphic->Clone() : nullptr);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic)
{
    Adopt(std::move(graphic));
}

void TPicture::Assign(const TPicture* source)
{
    SetGraphic(source ? source->Graphic() : nullptr);
}

TBitmap& TPicture::Bitmap()
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get()))
        return *bitmap;
    Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

int TPicture::Width() const
{
    return graphic_ ? graphic_->Width() : 0;
}

int TPicture::Height() const
{
    return graphic_ ? graphic_->Height() : 0;
}

void TPicture::LoadFromFile(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    auto graphic = TGraphicRegistry::Instance().CreateForExtension(extension.toStdString());
    if (!graphic)
        throw EInvalidGraphic("Unknown picture file extension (." + extension.toStdString() + ")");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic("Cannot open picture file " + path.toStdString() + ": " +
                              file.errorString().toStdString());
    graphic->LoadFromFileData(file.readAll());
    Adopt(std::move(graphic));
}

QByteArray TPicture::Data() const
{
    QByteArray out;
    if (!graphic_)
        return out;
    const std::string name = graphic_->ClassName();
    out.append(char(name.size()));
    out.append(name.data(), qsizetype(name.size()));
    graphic_->SaveToStream(out);
    return out;
}

void TPicture::SetData(const QByteArray& data)
{
    if (data.isEmpty()) {
        Adopt(nullptr);
        return;
    }
    const auto nameLength = static_cast<unsigned char>(data[0]);
    if (data.size() < 1 + qsizetype(nameLength))
        throw EInvalidGraphic("Picture data ends inside the graphic's class name");
    const std::string className(data.constData() + 1, nameLength);
    auto graphic = TGraphicRegistry::Instance().CreateByClassName(className);
    if (!graphic)
        throw EInvalidGraphic("Unknown picture class '" + className + "'");
    qsizetype pos = 1 + nameLength;
    graphic->LoadFromStream(data, pos);
    if (pos != data.size())
        throw EInvalidGraphic("Picture data has " + std::to_string(data.size() - pos) +
                              " bytes after the " + className + " graphic");
    Adopt(std::move(graphic));
}

} // namespace vandora
