#include "platform/ClassInfo.h"

#include "platform/ClassRegistry.h"
#include "platform/Component.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace vandora {

namespace {

// Deeper than any real class tree; stops a parent loop from running forever.
constexpr std::size_t kMaxLineage = 64;

template <class Item>
const Item* FindByName(const std::vector<Item>& items, std::string_view name)
{
    const auto it = std::find_if(items.begin(), items.end(), [name](const Item& item) { return item.Name == name; });
    return it == items.end() ? nullptr : &*it;
}

} // namespace

TClassInfo::TClassInfo(std::string name, std::string parentName, InstanceTest isInstance, Factory factory)
    : name_(std::move(name)),
      parentName_(std::move(parentName)),
      isInstance_(std::move(isInstance)),
      factory_(std::move(factory))
{
}

const TClassInfo* TClassInfo::Parent() const
{
    if (parentName_.empty())
        return nullptr;
    const TClassInfo* parent = TClassRegistry::Instance().Find(parentName_);
    if (!parent)
        throw EClassNotFound("Class " + parentName_ + ", the parent of " + name_ + ", is not registered");
    return parent;
}

std::vector<const TClassInfo*> TClassInfo::Lineage() const
{
    std::vector<const TClassInfo*> lineage;
    for (const TClassInfo* info = this; info; info = info->Parent()) {
        if (lineage.size() == kMaxLineage)
            throw EInvalidOperation("The parents of class " + name_ + " form a loop");
        lineage.push_back(info);
    }
    return lineage;
}

std::vector<const TPropertyInfo*> TClassInfo::Properties() const
{
    std::vector<const TPropertyInfo*> properties;
    const auto lineage = Lineage();
    for (auto it = lineage.rbegin(); it != lineage.rend(); ++it)
        for (const TPropertyInfo& property : (*it)->properties_)
            properties.push_back(&property);
    return properties;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (const TClassInfo* info : Lineage())
        if (const TPropertyInfo* property = FindByName(info->properties_, name))
            return property;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const
{
    for (const TClassInfo* info : Lineage())
        if (const TMethodInfo* method = FindByName(info->methods_, name))
            return method;
    return nullptr;
}

bool TClassInfo::HasMethods() const
{
    const auto lineage = Lineage();
    return std::any_of(lineage.begin(), lineage.end(), [](const TClassInfo* info) { return !info->methods_.empty(); });
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const
{
    for (const TClassInfo* info : Lineage())
        if (const TFieldInfo* field = FindByName(info->fields_, name))
            return field;
    return nullptr;
}

std::unique_ptr<TComponent> TClassInfo::Create() const
{
    if (!factory_)
        throw EClassNotFound("Class " + name_ + " cannot be created from a form");
    return factory_();
}

void TClassInfo::AddProperty(TPropertyInfo property)
{
    if (FindByName(properties_, property.Name))
        throw EInvalidOperation("Class " + name_ + " declares property " + property.Name + " twice");
    properties_.push_back(std::move(property));
}

void TClassInfo::AddMethod(TMethodInfo method)
{
    if (FindByName(methods_, method.Name))
        throw EInvalidOperation("Class " + name_ + " declares method " + method.Name + " twice");
    methods_.push_back(std::move(method));
}

void TClassInfo::AddField(TFieldInfo field)
{
    if (FindByName(fields_, field.Name))
        throw EInvalidOperation("Class " + name_ + " declares field " + field.Name + " twice");
    fields_.push_back(std::move(field));
}

} // namespace vandora
