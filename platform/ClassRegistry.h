#pragma once
// The published classes by name: the stream creates components by the class name it reads
// and finds an object's table by its ClassName().
#include "platform/ClassInfo.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace vandora {

class TObject;

class TClassRegistry {
public:
    static TClassRegistry& Instance();

    // Raises EInvalidOperation when a class of the same name is registered already.
    const TClassInfo& Register(std::unique_ptr<TClassInfo> info);
    const TClassInfo* Find(std::string_view name) const;
    // The table for the object's ClassName(), null when there is none or when it belongs
    // to another class of the same name.
    const TClassInfo* FindFor(const TObject& object) const;

private:
    TClassRegistry() = default;

    std::map<std::string, std::unique_ptr<TClassInfo>, std::less<>> classes_;
};

} // namespace vandora
