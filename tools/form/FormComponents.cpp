#include "tools/form/FormComponents.h"

#include "hotspot/MorvaneClasses.h"
#include "platform/ClassRegistry.h"
#include "platform/Form.h"
#include "platform/StreamForm.h"

namespace vandora::formtool {

namespace {

// The class name of the form's root component: after the signature, a length-prefixed name.
std::string RootClassName(const QByteArray& binary)
{
    if (binary.size() < 5)
        return {};
    const auto length = static_cast<unsigned char>(binary[4]);
    return binary.mid(5, length).toStdString();
}

} // namespace

std::unique_ptr<TComponent> LoadComponents(const QByteArray& form)
{
    RegisterMorvaneClasses();
    const QByteArray binary = FormToBinary(form);
    const TClassInfo* rootClass = TClassRegistry::Instance().Find(RootClassName(binary));
    if (rootClass != nullptr && rootClass->CanCreate())
        return ReadForm(binary);
    auto plain = std::make_unique<TForm>();
    ReadForm(binary, *plain);
    return plain;
}

} // namespace vandora::formtool
