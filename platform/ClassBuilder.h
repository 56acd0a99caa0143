#pragma once
// Declares a class's published table, one line per property, in declaration order:
//
//   const TClassInfo& kHotSpotClass = TClassBuilder<THotSpot>("THotSpot", "TCollectionItem")
//       .Enum("ShapeType", &THotSpot::ShapeType, &THotSpot::SetShapeType, kShapeTypeIdents)
//       .String("Hint", &THotSpot::Hint, &THotSpot::SetHint)
//       .Integer("OffsetX", &THotSpot::OffsetX, &THotSpot::SetOffsetX, Default(4))
//       .Boolean("ShowClick", &THotSpot::ShowClick, &THotSpot::SetShowClick, Default(false))
//       .Color("HoverColor", &THotSpot::HoverColor, &THotSpot::SetHoverColor)
//       .Picture("HoverImage", &THotSpot::HoverImage)
//       .Register();
//
// A getter is a member function, a data member or a callable taking T&; its result type
// is the property's value type. A setter is a member function, a callable taking (T&,
// value), a data member (a plain field: the value is stored) or nullptr (read-only:
// never written, an error to read). Default(v) declares the value that is not written;
// NeverStored{} (integers) a property read but never written by itself.
// Put the declaration in the class's own .cpp, so that it is linked whenever the class is.
#include "platform/ClassInfo.h"
#include "platform/ClassRegistry.h"
#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"

#include <QString>
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace vandora {

// The declared default of an ordinal property: a value equal to it is not written.
struct Default {
    template <class V>
    constexpr Default(V v) : value(static_cast<std::int64_t>(v)) {}
    std::int64_t value;
};

// Marks a published property that is never written by itself: its value travels inside
// another property. Reading it still calls its setter.
struct NeverStored {};

using TIdentList = std::vector<std::string>;

namespace streaming_detail {

template <class T>
T& As(TObject& object)
{
    return static_cast<T&>(object);
}

template <class T, class G>
decltype(auto) Get(const G& getter, TObject& object)
{
    return std::invoke(getter, As<T>(object));
}

template <class T, class G>
using ValueOf = std::remove_cvref_t<std::invoke_result_t<const G&, T&>>;

template <class T, class S, class V>
void Set(const S& setter, TObject& object, V&& value)
{
    if constexpr (std::is_member_object_pointer_v<S>)
        As<T>(object).*setter = std::forward<V>(value);
    else
        std::invoke(setter, As<T>(object), std::forward<V>(value));
}

template <class V>
std::int64_t ToOrdinal(const V& value)
{
    return static_cast<std::int64_t>(value);
}

// Raises EPropertyError when the value does not fit the property's type.
template <class V>
V FromOrdinal(std::int64_t value)
{
    if constexpr (std::is_same_v<V, bool>) {
        return value != 0;
    } else if constexpr (std::is_enum_v<V>) {
        using U = std::underlying_type_t<V>;
        if (!std::in_range<U>(value))
            throw EPropertyError(kInvalidPropertyValue);
        return static_cast<V>(value);
    } else {
        if (!std::in_range<V>(value))
            throw EPropertyError(kInvalidPropertyValue);
        return static_cast<V>(value);
    }
}

inline std::string ToStdString(const std::string& text) { return text; }
inline std::string ToStdString(std::string_view text) { return std::string(text); }
inline std::string ToStdString(const char* text) { return text ? text : ""; }
inline std::string ToStdString(const QString& text) { return text.toStdString(); }

template <class V>
V FromStdString(const std::string& text)
{
    if constexpr (std::is_same_v<V, QString>)
        return QString::fromStdString(text);
    else
        return V(text);
}

// A getter's result, reference or pointer, as a pointer.
template <class P, class R>
P* AsPointer(R&& result)
{
    if constexpr (std::is_pointer_v<std::remove_cvref_t<R>>)
        return const_cast<P*>(static_cast<const P*>(result));
    else
        return const_cast<P*>(static_cast<const P*>(&result));
}

template <class T>
std::unique_ptr<TComponent> CreateComponent()
{
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> && std::is_default_constructible_v<T>)
        return std::make_unique<T>();
    else
        return nullptr;
}

template <class T>
constexpr bool kCreatable = std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> && std::is_default_constructible_v<T>;

} // namespace streaming_detail

template <class T>
class TClassBuilder {
public:
    static_assert(std::is_base_of_v<TObject, T>, "published classes derive from TObject");

    // parent: the registered name of the class whose properties come first ("" for none).
    explicit TClassBuilder(std::string name, std::string parent = {})
        : info_(std::make_unique<TClassInfo>(
              std::move(name), std::move(parent),
              [](const TObject& object) { return dynamic_cast<const T*>(&object) != nullptr; },
              streaming_detail::kCreatable<T> ? TClassInfo::Factory(&streaming_detail::CreateComponent<T>)
                                              : TClassInfo::Factory()))
    {
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Integer(std::string name, G get, S set = nullptr, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Integer, std::move(name), get, set, def, {});
    }
    template <class G, class S>
    TClassBuilder& Integer(std::string name, G get, S set, NeverStored)
    {
        TPropertyInfo p = OrdinalInfo(TPropertyKind::Integer, std::move(name), get, set, std::nullopt, {});
        p.IsStored = [](TObject&) { return false; };
        return Add(std::move(p));
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Boolean(std::string name, G get, S set = nullptr, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Boolean, std::move(name), get, set, def, {});
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Color(std::string name, G get, S set = nullptr, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Color, std::move(name), get, set, def, {});
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Cursor(std::string name, G get, S set = nullptr, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Cursor, std::move(name), get, set, def, {});
    }
    // idents[n] names the value n.
    template <class G, class S>
    TClassBuilder& Enum(std::string name, G get, S set, TIdentList idents, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Enumeration, std::move(name), get, set, def, std::move(idents));
    }
    // The value is a bit mask; idents[n] names bit n.
    template <class G, class S>
    TClassBuilder& Set(std::string name, G get, S set, TIdentList idents, std::optional<Default> def = std::nullopt)
    {
        return Ordinal(TPropertyKind::Set, std::move(name), get, set, def, std::move(idents));
    }

    // std::string or QString; written when not empty.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& String(std::string name, G get, S set = nullptr)
    {
        using V = streaming_detail::ValueOf<T, G>;
        TPropertyInfo p = Named(std::move(name), TPropertyKind::String);
        p.GetString = [get](TObject& o) { return streaming_detail::ToStdString(streaming_detail::Get<T>(get, o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetString = [set](TObject& o, const std::string& v) {
                streaming_detail::Set<T>(set, o, streaming_detail::FromStdString<V>(v));
            };
        return Add(std::move(p));
    }

    // An owned sub-object (a TPersistent); its properties are written as Name.Property.
    // stored, when given, is a predicate over T&: false leaves the sub-object unwritten.
    template <class G, class P = std::nullptr_t>
    TClassBuilder& Object(std::string name, G get, P stored = nullptr)
    {
        TPropertyInfo p = Named(std::move(name), TPropertyKind::Object);
        p.GetObject = [get](TObject& o) {
            return streaming_detail::AsPointer<TPersistent>(streaming_detail::Get<T>(get, o));
        };
        if constexpr (!std::is_null_pointer_v<P>)
            p.IsStored = [stored](TObject& o) { return bool(std::invoke(stored, streaming_detail::As<T>(o))); };
        return Add(std::move(p));
    }

    // An owned TPicture, stored as Name.Data when it holds a graphic. Reading loads into
    // the owned picture, or, with a setter (taking a TPicture* or const TPicture&), hands
    // a picture with the data read to the setter.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Picture(std::string name, G get, S set = nullptr)
    {
        TPropertyInfo p = Named(std::move(name), TPropertyKind::Picture);
        p.GetPicture = [get](TObject& o) {
            return streaming_detail::AsPointer<TPicture>(streaming_detail::Get<T>(get, o));
        };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetPicture = [set](TObject& o, const TPicture& picture) {
                if constexpr (std::is_invocable_v<const S&, T&, const TPicture*>)
                    std::invoke(set, streaming_detail::As<T>(o), &picture);
                else
                    std::invoke(set, streaming_detail::As<T>(o), picture);
            };
        return Add(std::move(p));
    }

    // An owned TCollection.
    template <class G>
    TClassBuilder& Collection(std::string name, G get)
    {
        TPropertyInfo p = Named(std::move(name), TPropertyKind::Collection);
        p.GetCollection = [get](TObject& o) {
            return streaming_detail::AsPointer<TCollection>(streaming_detail::Get<T>(get, o));
        };
        return Add(std::move(p));
    }

    // A TEvent data member (or a getter returning a TEvent&).
    template <class G>
    TClassBuilder& Event(std::string name, G get)
    {
        TPropertyInfo p = Named(std::move(name), TPropertyKind::Event);
        p.GetMethodName = [get](TObject& o) { return streaming_detail::Get<T>(get, o).MethodName(); };
        p.SetEvent = [get](TObject& o, const std::any* handler, const std::string& methodName) {
            auto& event = streaming_detail::Get<T>(get, o);
            using E = std::remove_cvref_t<decltype(event)>;
            using H = typename E::Handler;
            if (methodName.empty()) {
                event.Clear();
                return true;
            }
            if (!handler) {
                event = E(H(), methodName);
                return true;
            }
            const H* bound = std::any_cast<H>(handler);
            if (!bound)
                return false;
            event = E(*bound, methodName);
            return true;
        };
        return Add(std::move(p));
    }

    // A method of a form class that events name in the stream.
    template <class... Args>
    TClassBuilder& Method(std::string name, void (T::*method)(Args...))
    {
        info_->AddMethod(TMethodInfo{std::move(name), [method](TObject& root) {
                                         T& form = streaming_detail::As<T>(root);
                                         return std::any(std::function<void(Args...)>(
                                             [&form, method](Args... args) { (form.*method)(std::forward<Args>(args)...); }));
                                     }});
        return *this;
    }

    // A field of a form class that receives the child component of that name.
    template <class C>
    TClassBuilder& Field(std::string name, C* T::*field)
    {
        info_->AddField(TFieldInfo{std::move(name), [field](TObject& root, TComponent* component) {
                                       C* typed = component ? dynamic_cast<C*>(component) : nullptr;
                                       if (component && !typed)
                                           return false;
                                       streaming_detail::As<T>(root).*field = typed;
                                       return true;
                                   }});
        return *this;
    }

    // Hands the table to the registry; the builder is spent afterwards.
    const TClassInfo& Register() { return TClassRegistry::Instance().Register(std::move(info_)); }

private:
    static TPropertyInfo Named(std::string name, TPropertyKind kind)
    {
        TPropertyInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        return p;
    }

    TClassBuilder& Add(TPropertyInfo property)
    {
        info_->AddProperty(std::move(property));
        return *this;
    }

    template <class G, class S>
    TClassBuilder& Ordinal(TPropertyKind kind, std::string name, G get, S set, std::optional<Default> def,
                           TIdentList idents)
    {
        return Add(OrdinalInfo(kind, std::move(name), get, set, def, std::move(idents)));
    }

    template <class G, class S>
    static TPropertyInfo OrdinalInfo(TPropertyKind kind, std::string name, G get, S set,
                                     std::optional<Default> def, TIdentList idents)
    {
        using V = streaming_detail::ValueOf<T, G>;
        TPropertyInfo p = Named(std::move(name), kind);
        p.Idents = std::move(idents);
        if (def)
            p.Default = def->value;
        p.GetOrdinal = [get](TObject& o) { return streaming_detail::ToOrdinal(streaming_detail::Get<T>(get, o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrdinal = [set](TObject& o, std::int64_t v) {
                streaming_detail::Set<T>(set, o, streaming_detail::FromOrdinal<V>(v));
            };
        return p;
    }

    std::unique_ptr<TClassInfo> info_;
};

} // namespace vandora
