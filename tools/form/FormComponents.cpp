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
    // The binary twin only tells the root's class; the form itself is read as given, so
    // that errors in a text form name its line.
    const TClassInfo* rootClass = TClassRegistry::Instance().Find(RootClassName(FormToBinary(form)));
    if (rootClass != nullptr && rootClass->CanCreate())
        return ReadForm(form);
    auto plain = std::make_unique<TForm>();
    ReadForm(form, *plain);
    return plain;
}

} // namespace vandora::formtool
