// The component tree and the published properties: the reader's generic walk.
#include "platform/Reader.h"

#include "platform/ClassRegistry.h"
#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/CursorIdents.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"

#include <QWidget>
#include <algorithm>

namespace vandora {

namespace {

std::string ComponentLabel(const std::string& name, const std::string& className)
{
    return name.empty() ? className : name + ": " + className;
}

// A foreign error raised by a setter or a custom reader, as a bad property value.
std::string AsInvalidValue(const std::string& what)
{
    if (what.rfind(kInvalidPropertyValue, 0) == 0)
        return what;
    return std::string(kInvalidPropertyValue) + ": " + what;
}

} // namespace

void TReader::ReadRootComponent(TComponent& root)
{
    std::unique_ptr<TComponent> none;
    ReadForm(&root, none);
}

std::unique_ptr<TComponent> TReader::ReadRootComponent()
{
    std::unique_ptr<TComponent> root;
    ReadForm(nullptr, root);
    return root;
}

void TReader::ReadForm(TComponent* given, std::unique_ptr<TComponent>& created)
{
    in_.ReadSignature();
    const std::size_t at = in_.Position();
    const std::string className(in_.ReadShortString());
    const std::string name(in_.ReadShortString());
    if (className.empty())
        in_.Fail("A component has no class name", at);
    if (!given) {
        created = CreateComponent(className, name, at);
        given = created.get();
    }
    TComponent& root = *given;
    const std::string oldName = root.Name();
    root_ = &root;
    try {
        if (!name.empty())
            root.SetName(name);
        root.SetComponentState(csLoading, true);
        root.SetComponentState(csReading, true);
        ReadComponentBody(root, name, className);
        if (!in_.AtEnd())
            in_.Fail("Unexpected data after the form");
        FinishLoading();
    } catch (...) {
        Rollback(root);
        root.SetName(oldName);
        throw;
    }
}

std::unique_ptr<TComponent> TReader::CreateComponent(const std::string& className, const std::string& name,
                                                     std::size_t offset) const
{
    const std::string what = "Class " + className + (name.empty() ? "" : " of component " + name);
    const TClassInfo* info = TClassRegistry::Instance().Find(className);
    if (!info)
        throw EClassNotFound(what + " not found (" + in_.Describe(offset) + ")");
    if (!info->CanCreate())
        throw EClassNotFound(what + " cannot be created from a form (" + in_.Describe(offset) + ")");
    return info->Create();
}

void TReader::ReadComponentBody(TComponent& component, const std::string& name, const std::string& className)
{
    TDepth depth(*this);
    components_.push_back(ComponentLabel(name, className));
    property_.clear();
    ReadProperties(component, "");
    property_.clear();
    while (in_.PeekByte() != 0)
        ReadChild(component);
    in_.ReadByte();
    components_.pop_back();
}

void TReader::ReadChild(TComponent& parent)
{
    const std::size_t at = in_.Position();
    const std::string className(in_.ReadShortString());
    const std::string name(in_.ReadShortString());
    if (!name.empty() && (root_->FindComponent(name) || name == root_->Name()))
        in_.Fail("A component named " + name + " already exists", at);
    std::unique_ptr<TComponent> owned = CreateComponent(className, name, at);
    TComponent* child = owned.release();
    root_->InsertComponent(child);
    created_.push_back(child);
    child->SetName(name);
    child->SetComponentState(csLoading, true);
    child->SetComponentState(csReading, true);
    auto* childWidget = dynamic_cast<QWidget*>(child);
    auto* parentWidget = dynamic_cast<QWidget*>(&parent);
    if (childWidget && parentWidget)
        childWidget->setParent(parentWidget);
    BindField(*child, at);
    ReadComponentBody(*child, name, className);
}

void TReader::BindField(TComponent& child, std::size_t offset)
{
    const TClassInfo* rootInfo = TClassRegistry::Instance().FindFor(*root_);
    const TFieldInfo* field = rootInfo && !child.Name().empty() ? rootInfo->FindField(child.Name()) : nullptr;
    if (!field)
        return;
    if (!field->Assign(*root_, &child))
        in_.Fail("Field " + child.Name() + " of " + rootInfo->Name() + " cannot hold a " + child.ClassName(), offset);
    boundFields_.push_back(field);
}

void TReader::FinishLoading()
{
    root_->SetComponentState(csReading, false);
    for (TComponent* child : created_)
        child->SetComponentState(csReading, false);
    RunLoaded(*root_);
    for (TComponent* child : created_)
        RunLoaded(*child);
    created_.clear();
    boundFields_.clear();
}

void TReader::RunLoaded(TComponent& component)
{
    try {
        component.Loaded();
    } catch (const EFilerError&) {
        throw;
    } catch (const std::exception& e) {
        components_.push_back(ComponentLabel(component.Name(), component.ClassName()));
        property_.clear();
        in_.Fail("Loading failed: " + std::string(e.what()), in_.Position());
    }
}

void TReader::Rollback(TComponent& root)
{
    for (const TFieldInfo* field : boundFields_)
        field->Assign(root, nullptr);
    boundFields_.clear();
    // Last first, so that a widget is gone before the widget it is nested in.
    while (!created_.empty()) {
        TComponent* child = created_.back();
        created_.pop_back();
        delete child;
    }
    root.SetComponentState(csReading, false);
    root.SetComponentState(csLoading, false);
    root.ReadFailed();
}

void TReader::ReadProperties(TPersistent& object, const std::string& contextPrefix)
{
    while (in_.PeekByte() != 0)
        ReadPropertyEntry(object, contextPrefix);
    in_.ReadByte();
}

void TReader::ReadPropertyEntry(TPersistent& object, const std::string& contextPrefix)
{
    const std::size_t nameOffset = in_.Position();
    const std::string name(in_.ReadShortString());
    property_ = contextPrefix + name;
    const std::size_t valueOffset = in_.Position();
    try {
        ReadProperty(object, name, nameOffset);
    } catch (const EFilerError&) {
        throw;
    } catch (const std::exception& e) {
        property_ = contextPrefix + name;
        in_.Fail(AsInvalidValue(e.what()), valueOffset);
    }
    // Read whole: what comes next (another name, or the list's end) is the item's or the
    // component's, and a fault there is not this property's.
    property_ = contextPrefix.empty() ? std::string() : contextPrefix.substr(0, contextPrefix.size() - 1);
}

void TReader::ReadProperty(TPersistent& object, std::string_view path, std::size_t nameOffset)
{
    const std::size_t dot = path.find('.');
    const std::string_view head = path.substr(0, dot);
    const std::string_view rest = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    const TClassInfo* info = TClassRegistry::Instance().FindFor(object);
    if (const TPropertyInfo* property = info ? info->FindProperty(head) : nullptr) {
        if (dot == std::string_view::npos)
            return ReadValue(object, *property);
        if (property->Kind == TPropertyKind::Object) {
            if (TPersistent* sub = property->GetObject(object))
                return ReadProperty(*sub, rest, nameOffset);
        }
        if (property->Kind == TPropertyKind::Picture && rest == "Data")
            return ReadPicture(object, *property);
    }
    if (ReadCustomProperty(object, path))
        return;
    in_.Fail("Property " + std::string(path) + " does not exist in " + object.ClassName(), nameOffset);
}

bool TReader::ReadCustomProperty(TPersistent& object, std::string_view path)
{
    customName_ = std::string(path);
    customSearch_ = TCustomSearch::Searching;
    try {
        object.DeclareCustomProperties(*this);
    } catch (...) {
        customSearch_ = TCustomSearch::Idle;
        throw;
    }
    const bool found = customSearch_ == TCustomSearch::Found;
    customSearch_ = TCustomSearch::Idle;
    return found;
}

void TReader::ReadValue(TPersistent& object, const TPropertyInfo& property)
{
    if (!property.IsWritable())
        Fail("Property " + property.Name + " is read-only");
    switch (property.Kind) {
    case TPropertyKind::String: return property.SetString(object, ReadString());
    case TPropertyKind::Event: return ReadEvent(object, property);
    case TPropertyKind::Collection: return ReadCollection(*property.GetCollection(object));
    case TPropertyKind::Object:
    case TPropertyKind::Picture: return InvalidValue(in_.Position()); // only their parts have values
    default: return ReadOrdinal(object, property);
    }
}

void TReader::ReadOrdinal(TPersistent& object, const TPropertyInfo& property)
{
    const std::size_t at = in_.Position();
    const TValueKind kind = in_.PeekKind();
    const auto identIndex = [&](const std::string& ident) -> std::int64_t {
        const auto it = std::find(property.Idents.begin(), property.Idents.end(), ident);
        if (it == property.Idents.end())
            InvalidValue(at);
        return it - property.Idents.begin();
    };
    std::int64_t value = 0;
    switch (property.Kind) {
    case TPropertyKind::Boolean: value = ReadBoolean() ? 1 : 0; break;
    case TPropertyKind::Enumeration: value = identIndex(ReadIdent()); break;
    case TPropertyKind::Set:
        for (const std::string& element : ReadSet()) {
            const std::int64_t bit = identIndex(element);
            if (bit >= 63)
                InvalidValue(at);
            value |= std::int64_t(1) << bit;
        }
        break;
    case TPropertyKind::Color:
    case TPropertyKind::Cursor:
        if (kind == TValueKind::Ident) {
            const std::string ident = ReadIdent();
            const auto named = property.Kind == TPropertyKind::Color ? IdentToColor(ident) : IdentToCursor(ident);
            if (!named)
                InvalidValue(at);
            value = *named;
        } else {
            value = ReadInteger();
        }
        break;
    default: value = ReadInteger(); break;
    }
    property.SetOrdinal(object, value);
}

void TReader::ReadEvent(TPersistent& object, const TPropertyInfo& property)
{
    const std::size_t at = in_.Position();
    if (in_.PeekKind() == TValueKind::Nil) {
        in_.ReadKind();
        property.SetEvent(object, nullptr, std::string());
        return;
    }
    if (in_.PeekKind() != TValueKind::Ident)
        InvalidValue(at);
    const std::string method = ReadIdent();
    const TClassInfo* rootInfo = TClassRegistry::Instance().FindFor(*root_);
    const TMethodInfo* found = rootInfo ? rootInfo->FindMethod(method) : nullptr;
    if (found) {
        const std::any handler = found->Bind(*root_);
        if (!property.SetEvent(object, &handler, method))
            in_.Fail(std::string(kInvalidPropertyValue) + ": method " + method + " does not take the parameters of " +
                         property.Name,
                     at);
    } else if (rootInfo && rootInfo->HasMethods()) {
        in_.Fail(std::string(kInvalidPropertyValue) + ": " + rootInfo->Name() + " has no method " + method, at);
    } else {
        property.SetEvent(object, nullptr, method); // a form we do not know: keep the name
    }
}

void TReader::ReadCollection(TCollection& collection)
{
    std::size_t at = 0;
    if (ReadKindAt(at) != TValueKind::Collection)
        InvalidValue(at);
    TDepth depth(*this);
    const std::string path = property_;
    collection.BeginBatch();
    try {
        if (!EndOfList())
            collection.Clear();
        for (int index = 0; !EndOfList(); ++index) {
            std::size_t itemAt = 0;
            TValueKind kind = ReadKindAt(itemAt);
            if (IsIntegerKind(kind)) {
                in_.ReadIntegerData(kind); // an item's leading integer says nothing here
                kind = in_.ReadKind();
            }
            if (kind != TValueKind::List)
                InvalidValue(itemAt);
            ReadProperties(*collection.Add(), path + "[" + std::to_string(index) + "].");
            property_ = path;
        }
        in_.ReadByte();
    } catch (...) {
        collection.EndBatch();
        throw;
    }
    collection.EndBatch();
}

void TReader::ReadPicture(TPersistent& object, const TPropertyInfo& property)
{
    const QByteArray data = ReadBinary();
    if (property.SetPicture) {
        TPicture picture;
        picture.SetData(data);
        property.SetPicture(object, picture);
    } else if (TPicture* picture = property.GetPicture(object)) {
        picture->SetData(data);
    }
}

} // namespace vandora
