#pragma once
// How the generic reader and writer reach one published property: its kind, its storage
// rule and type-erased accessors over the object's getter and setter. Made by
// TClassBuilder; nothing else needs to fill one in.
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vandora {

class TCollection;
class TComponent;
class TObject;
class TPersistent;
class TPicture;

enum class TPropertyKind {
    Integer,     // an integer value
    Boolean,     // False / True
    Enumeration, // an identifier from Idents
    Color,       // a standard colour's identifier (clYellow), else an integer
    Cursor,      // a standard cursor's identifier (crHandPoint), else an integer
    Set,         // [identifiers from Idents], bit n for Idents[n]
    String,      // written when not empty
    Object,      // an owned sub-object whose properties are written as Name.Sub
    Picture,     // Name.Data, written when the picture holds a graphic
    Collection,  // items with their own properties, written when not empty
    Event,       // the name of the root's method it is bound to, written when bound
};

struct TPropertyInfo {
    std::string Name;
    TPropertyKind Kind = TPropertyKind::Integer;
    // Ordinal kinds: written only when the value differs from this.
    std::optional<std::int64_t> Default;
    // Optional, for any kind: when it answers false the property is not written at all (a
    // label's font that follows its form's belongs to the form).
    std::function<bool(TObject&)> IsStored;
    // Enumeration and Set: the identifiers of the values, in value order.
    std::vector<std::string> Idents;

    // Integer, Boolean, Enumeration, Color, Cursor and Set values as integers. A setter
    // raises EPropertyError for a value the property cannot take.
    std::function<std::int64_t(TObject&)> GetOrdinal;
    std::function<void(TObject&, std::int64_t)> SetOrdinal;
    std::function<std::string(TObject&)> GetString;
    std::function<void(TObject&, const std::string&)> SetString;
    std::function<TPersistent*(TObject&)> GetObject;
    std::function<TCollection*(TObject&)> GetCollection;
    std::function<TPicture*(TObject&)> GetPicture;
    // Optional: reading hands the picture read to this instead of loading into GetPicture's.
    std::function<void(TObject&, const TPicture&)> SetPicture;
    std::function<std::string(TObject&)> GetMethodName;
    // Binds the event: handler null keeps the binding by name only, an empty name clears
    // it. False when the handler's type does not fit the event.
    std::function<bool(TObject&, const std::any* handler, const std::string& name)> SetEvent;

    // Has a value that can be set (sub-objects, pictures and collections are filled in
    // place and count as writable).
    bool IsWritable() const
    {
        switch (Kind) {
        case TPropertyKind::String: return bool(SetString);
        case TPropertyKind::Object:
        case TPropertyKind::Picture:
        case TPropertyKind::Collection:
        case TPropertyKind::Event: return true;
        default: return bool(SetOrdinal);
        }
    }
};

// A method of a form class that events can be bound to by name: Bind gives the handler,
// bound to the given root, as a std::function of the method's parameters inside a std::any.
struct TMethodInfo {
    std::string Name;
    std::function<std::any(TObject& root)> Bind;
};

// A field of a form class that receives the child component of the same name when it is
// read (null to forget it). False when the component is not of the field's class.
struct TFieldInfo {
    std::string Name;
    std::function<bool(TObject& root, TComponent* component)> Assign;
};

} // namespace vandora
