#include "platform/ClassRegistry.h"

#include "platform/Component.h"
#include "platform/Exceptions.h"

namespace vandora {

TClassRegistry& TClassRegistry::Instance()
{
    static TClassRegistry registry;
    return registry;
}

const TClassInfo& TClassRegistry::Register(std::unique_ptr<TClassInfo> info)
{
    const std::string name = info->Name();
    const auto [it, inserted] = classes_.emplace(name, std::move(info));
    if (!inserted)
        throw EInvalidOperation("Class " + name + " is registered twice");
    return *it->second;
}

const TClassInfo* TClassRegistry::Find(std::string_view name) const
{
    const auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : it->second.get();
}

const TClassInfo* TClassRegistry::FindFor(const TObject& object) const
{
    const TClassInfo* info = Find(object.ClassName());
    return info && info->IsInstance(object) ? info : nullptr;
}

} // namespace vandora
