#include "platform/Writer.h"

#include "platform/ClassRegistry.h"
#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/CursorIdents.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/StreamUtf8.h"

#include <QWidget>
#include <limits>

namespace vandora {

namespace {

// The component a child is written inside: the nearest QWidget ancestor that belongs to
// the form, else the root.
TComponent* StreamParent(TComponent& child, TComponent& root)
{
    if (auto* widget = dynamic_cast<QWidget*>(&child))
        for (QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget())
            if (auto* component = dynamic_cast<TComponent*>(parent))
                if (component == &root || component->Owner() == &root)
                    return component;
    return &root;
}

} // namespace

void TWriter::WriteRootComponent(const TComponent& root)
{
    // The walk reaches objects through their getters, which never change them.
    auto& form = const_cast<TComponent&>(root);
    out_.WriteSignature();
    WriteComponent(form, form);
}

void TWriter::WriteComponent(TComponent& component, TComponent& root)
{
    if (!TClassRegistry::Instance().FindFor(component))
        throw EWriteError("Component " + component.Name() + " cannot be written: class " + component.ClassName() +
                          " has no published table");
    out_.WriteShortString(component.ClassName());
    out_.WriteShortString(component.Name());
    WriteProperties(component);
    out_.WriteByte(0);
    for (int i = 0; i < root.ComponentCount(); ++i) {
        TComponent* child = root.Components(i);
        if (StreamParent(*child, root) == &component)
            WriteComponent(*child, root);
    }
    out_.WriteByte(0);
}

void TWriter::WriteProperties(TPersistent& object)
{
    if (const TClassInfo* info = TClassRegistry::Instance().FindFor(object))
        for (const TPropertyInfo* property : info->Properties())
            WriteProperty(object, *property);
    object.DeclareCustomProperties(*this);
}

void TWriter::WriteProperty(TPersistent& object, const TPropertyInfo& property)
{
    if (!property.IsWritable() || (property.IsStored && !property.IsStored(object)))
        return;
    switch (property.Kind) {
    case TPropertyKind::String: {
        const std::string value = property.GetString(object);
        if (value.empty())
            break;
        // Refused here, or the form would be written and then refused when read.
        if (!IsValidUtf8(value))
            throw EWriteError("Property " + prefix_ + property.Name + " of " + object.ClassName() +
                              " holds bytes that are not UTF-8");
        WritePropertyName(property.Name);
        out_.WriteString(value);
        break;
    }
    case TPropertyKind::Object:
        if (TPersistent* sub = property.GetObject(object)) {
            const std::string saved = prefix_;
            prefix_ += property.Name + ".";
            WriteProperties(*sub);
            prefix_ = saved;
        }
        break;
    case TPropertyKind::Picture: {
        const TPicture* picture = property.GetPicture(object);
        if (picture && picture->HasGraphic() && !picture->Graphic()->Empty()) {
            WritePropertyName(property.Name + ".Data");
            WriteBinary(picture->Data());
        }
        break;
    }
    case TPropertyKind::Collection: {
        TCollection* collection = property.GetCollection(object);
        if (collection && collection->Count() > 0) {
            WritePropertyName(property.Name);
            WriteCollection(*collection);
        }
        break;
    }
    case TPropertyKind::Event: {
        const std::string method = property.GetMethodName(object);
        if (!method.empty()) {
            WritePropertyName(property.Name);
            WriteIdent(method);
        }
        break;
    }
    default: WriteOrdinal(object, property); break;
    }
}

void TWriter::WriteOrdinal(TPersistent& object, const TPropertyInfo& property)
{
    const std::int64_t value = property.GetOrdinal(object);
    if (property.Default && value == *property.Default)
        return;
    WritePropertyName(property.Name);
    switch (property.Kind) {
    case TPropertyKind::Boolean: WriteBoolean(value != 0); break;
    case TPropertyKind::Enumeration:
        if (value < 0 || std::uint64_t(value) >= property.Idents.size())
            throw EWriteError("Property " + property.Name + " of " + object.ClassName() + " has the value " +
                              std::to_string(value) + ", which has no identifier");
        WriteIdent(property.Idents[std::size_t(value)]);
        break;
    case TPropertyKind::Set: {
        std::vector<std::string> elements;
        for (std::size_t bit = 0; bit < 64; ++bit) {
            if ((std::uint64_t(value) >> bit & 1) == 0)
                continue;
            if (bit >= property.Idents.size())
                throw EWriteError("Property " + property.Name + " of " + object.ClassName() + " has bit " +
                                  std::to_string(bit) + " set, which has no identifier");
            elements.push_back(property.Idents[bit]);
        }
        WriteSet(elements);
        break;
    }
    case TPropertyKind::Color:
    case TPropertyKind::Cursor: {
        const auto ident = property.Kind == TPropertyKind::Color ? ColorToIdent(TColor(value)) : CursorToIdent(int(value));
        if (ident)
            WriteIdent(*ident);
        else
            WriteInteger(value);
        break;
    }
    default: WriteInteger(value); break;
    }
}

void TWriter::WriteCollection(TCollection& collection)
{
    const std::string saved = prefix_;
    prefix_.clear();
    out_.WriteKind(TValueKind::Collection);
    for (int i = 0; i < collection.Count(); ++i) {
        out_.WriteKind(TValueKind::List);
        WriteProperties(*collection.Items(i));
        out_.WriteByte(0);
    }
    out_.WriteByte(0);
    prefix_ = saved;
}

void TWriter::WritePropertyName(const std::string& name)
{
    out_.WriteShortString(prefix_ + name);
}

void TWriter::WriteInteger(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw EWriteError("The integer " + std::to_string(value) + " does not fit in 32 bits");
    out_.WriteInteger(std::int32_t(value));
}

void TWriter::WriteBinary(const QByteArray& bytes)
{
    out_.WriteBinary(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void TWriter::WriteString(std::string_view utf8)
{
    if (!IsValidUtf8(utf8))
        throw EWriteError("A string holds bytes that are not UTF-8");
    out_.WriteString(utf8);
}

void TWriter::WriteSet(const std::vector<std::string>& elements)
{
    out_.WriteKind(TValueKind::Set);
    for (const std::string& element : elements)
        out_.WriteShortString(element);
    out_.WriteByte(0);
}

void TWriter::DefineProperty(const std::string& name, ReadProc read, WriteProc write, bool hasData)
{
    (void)read;
    if (hasData && write) {
        WritePropertyName(name);
        write(*this);
    }
}

} // namespace vandora
