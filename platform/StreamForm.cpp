#include "platform/StreamForm.h"

#include "platform/BinaryForm.h"
#include "platform/Component.h"
#include "platform/Reader.h"
#include "platform/StreamFormat.h"
#include "platform/TextForm.h"
#include "platform/Writer.h"

namespace vandora {

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// Runs read on a reader over the form's binary twin, naming text lines in its errors.
template <class Read>
auto WithReader(const QByteArray& form, Read read)
{
    if (IsBinaryForm(form)) {
        TReader reader(View(form));
        return read(reader);
    }
    TStreamLineMap lines;
    const QByteArray binary = TBinaryForm::FromText(View(form), &lines);
    TReader reader(View(binary));
    reader.SetLocator([&lines](std::size_t offset) { return "line " + std::to_string(lines.LineAt(offset)); });
    return read(reader);
}

} // namespace

bool IsBinaryForm(const QByteArray& form)
{
    return View(form).substr(0, kFormSignature.size()) == kFormSignature;
}

QByteArray FormToBinary(const QByteArray& form)
{
    if (!IsBinaryForm(form))
        return TBinaryForm::FromText(View(form));
    TTextForm::FromBinary(View(form)); // checks the structure
    return form;
}

std::string FormToText(const QByteArray& form)
{
    if (IsBinaryForm(form))
        return TTextForm::FromBinary(View(form));
    return TTextForm::FromBinary(View(TBinaryForm::FromText(View(form))));
}

void ReadForm(const QByteArray& form, TComponent& root)
{
    WithReader(form, [&root](TReader& reader) { reader.ReadRootComponent(root); });
}

std::unique_ptr<TComponent> ReadForm(const QByteArray& form)
{
    return WithReader(form, [](TReader& reader) { return reader.ReadRootComponent(); });
}

QByteArray WriteFormBinary(const TComponent& root)
{
    TWriter writer;
    writer.WriteRootComponent(root);
    return writer.TakeData();
}

std::string WriteFormText(const TComponent& root)
{
    return TTextForm::FromBinary(View(WriteFormBinary(root)));
}

} // namespace vandora
