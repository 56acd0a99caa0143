#pragma once
// One class's published table: its properties in declaration order, the methods events
// can be bound to, the fields that receive child components, a link to the parent class
// (by name, so that tables may be declared in any order) and, for components, a factory.
#include "platform/PropertyInfo.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vandora {

class TClassInfo {
public:
    using Factory = std::function<std::unique_ptr<TComponent>()>;
    using InstanceTest = std::function<bool(const TObject&)>;

    TClassInfo(std::string name, std::string parentName, InstanceTest isInstance, Factory factory);

    const std::string& Name() const { return name_; }
    const std::string& ParentName() const { return parentName_; }
    // The parent's table, null for a root class. Raises EClassNotFound when the named
    // parent is not registered.
    const TClassInfo* Parent() const;

    // Inherited properties first, then this class's, each in declaration order.
    std::vector<const TPropertyInfo*> Properties() const;
    const TPropertyInfo* FindProperty(std::string_view name) const;
    const TMethodInfo* FindMethod(std::string_view name) const;
    // Whether this class or a parent declares any method: a form that knows its methods.
    bool HasMethods() const;
    const TFieldInfo* FindField(std::string_view name) const;

    bool IsInstance(const TObject& object) const { return isInstance_(object); }
    bool CanCreate() const { return bool(factory_); }
    std::unique_ptr<TComponent> Create() const;

    // Raise EInvalidOperation for a name declared twice in the class.
    void AddProperty(TPropertyInfo property);
    void AddMethod(TMethodInfo method);
    void AddField(TFieldInfo field);

private:
    // The class and its ancestors, nearest first.
    std::vector<const TClassInfo*> Lineage() const;

    std::string name_;
    std::string parentName_;
    InstanceTest isInstance_;
    Factory factory_;
    std::vector<TPropertyInfo> properties_;
    std::vector<TMethodInfo> methods_;
    std::vector<TFieldInfo> fields_;
};

} // namespace vandora
