// Publisher: TPublisher<C> and QUIRN_PUBLISH, with which a class builds its published table.
//
// How a class publishes (in its .cpp file; the class body has QUIRN_CLASS):
//
//     QUIRN_PUBLISH(TButton, p) {
//         p.Property("Caption", &TButton::Caption, &TButton::SetCaption);
//         p.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
//         p.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
//         p.Property("Font", &TButton::Font, &TButton::SetFont);       // class property (TFont*)
//         p.Property("OnClick", &TButton::OnClick, &TButton::SetOnClick); // event (a TDelegate)
//     }
//
// - The getter is a member function (const or not) or a data member; its type
//   gives the property's kind: integers -> tkInteger (int64_t -> tkInt64),
//   char -> tkChar, bool -> tkEnumeration "Boolean", an enumeration declared
//   with QUIRN_ENUM -> tkEnumeration, TSet<E> -> tkSet, std::string ->
//   tkString, std::wstring -> tkWString, T* (T derived from TObject) ->
//   tkClass, TDelegate<...> -> tkMethod.
// - The setter is a member function taking the value (by value, const
//   reference or, for strings, string_view), a data member, or omitted for a
//   read-only property.
// - Ordinal properties are written by component streaming unless they equal
//   their Default; strings unless empty; events unless unassigned.
//   .Stored(false) or .Stored(&TFoo::IsBarStored) decides otherwise.
// - Forms publish their event handlers and component fields, so that
//   streaming binds "OnClick = Button1Click" and the field Button1:
//       p.Method("Button1Click", &TForm1::Button1Click);
//       p.Field("Button1", &TForm1::Button1);
// - QUIRN_PUBLISH also registers the class by name for component streaming.
//
// Enumerations get their value names with QUIRN_ENUM next to their declaration:
//
//     enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
//     QUIRN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <variant>
#include <vector>

#include "framework/core/IdentMap.h"
#include "framework/core/PropInfo.h"
#include "framework/core/TypeInfo.h"

// --- conversion between C++ values and TPropValue -----------------------------

namespace typeinfo_detail {
[[noreturn]] void InvalidPropertyValue(const std::string& detail);

template <class T>
TPropValue ToPropValue(const T& value) {
    if constexpr (IsSetType<T>::value) {
        return static_cast<int64_t>(value.Bits());
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<int64_t>(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_same_v<T, char>) {
        return static_cast<int64_t>(static_cast<unsigned char>(value));
    } else if constexpr (std::is_integral_v<T>) {
        return static_cast<int64_t>(value);
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::wstring>) {
        return value;
    } else if constexpr (std::is_pointer_v<T>) {
        return static_cast<TObject*>(const_cast<std::remove_cv_t<std::remove_pointer_t<T>>*>(value));
    } else if constexpr (IsDelegateType<T>::value) {
        return value.ToMethod();
    }
}

template <class T>
T FromPropValue(const TPropValue& value) {
    if constexpr (IsSetType<T>::value || std::is_enum_v<T> || std::is_integral_v<T>) {
        const int64_t* ordinal = std::get_if<int64_t>(&value);
        if (ordinal == nullptr) InvalidPropertyValue("an ordinal value is expected");
        if constexpr (IsSetType<T>::value)
            return T::FromBits(static_cast<uint64_t>(*ordinal));
        else if constexpr (std::is_same_v<T, bool>)
            return *ordinal != 0;
        else if constexpr (std::is_enum_v<T>)
            return static_cast<T>(static_cast<std::underlying_type_t<T>>(*ordinal));
        else
            return static_cast<T>(*ordinal);
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::wstring>) {
        const T* text = std::get_if<T>(&value);
        if (text == nullptr) InvalidPropertyValue("a text value is expected");
        return *text;
    } else if constexpr (std::is_pointer_v<T>) {
        using C = std::remove_cv_t<std::remove_pointer_t<T>>;
        TObject* const* object = std::get_if<TObject*>(&value);
        if (object == nullptr) InvalidPropertyValue("an object is expected");
        if (*object != nullptr && !(*object)->InheritsFrom(C::StaticClass()))
            InvalidPropertyValue("a " + C::StaticClass().ClassName() + " is expected, not a " + (*object)->ClassName());
        return static_cast<C*>(*object);
    } else if constexpr (IsDelegateType<T>::value) {
        const TMethod* method = std::get_if<TMethod>(&value);
        if (method == nullptr) InvalidPropertyValue("a method is expected");
        if (method->Assigned() && *method->Signature != typeid(typename T::TSignature))
            InvalidPropertyValue("the method does not match the event type");
        return T::FromMethod(*method);
    }
}

template <class M>
struct GetterTraits;
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() const noexcept> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() noexcept> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R C::*> {
    using Class = C;
    using Type = R;
};
}  // namespace typeinfo_detail

// TPropertyBuilder: chained options of one property being published.
class TPropertyBuilder {
public:
    explicit TPropertyBuilder(TPropInfo& info) : FInfo(info) {}
    // Ordinal default: the value component streaming leaves out.
    template <class T>
    TPropertyBuilder& Default(T value) {
        const TPropValue v = typeinfo_detail::ToPropValue<T>(value);
        FInfo.FDefault = std::get<int64_t>(v);
        return *this;
    }
    TPropertyBuilder& NoDefault() {
        FInfo.FDefault.reset();
        return *this;
    }
    // Integer properties: values are streamed and shown as text by their
    // identifier in map where they have one, by number otherwise. The map
    // must outlive the class (a constexpr table does).
    TPropertyBuilder& Identifiers(const TIdentMap& map) {
        if (FInfo.Kind() != tkInteger && FInfo.Kind() != tkInt64)
            throw EPropertyError("Property " + FInfo.Name() +
                                 " is not an integer property and cannot take identifiers");
        FInfo.FIdentifiers = &map;
        return *this;
    }
    TPropertyBuilder& Stored(bool stored) {
        FInfo.FStored = [stored](TObject*) { return stored; };
        return *this;
    }
    template <class C>
    TPropertyBuilder& Stored(bool (C::*predicate)() const) {
        FInfo.FStored = [predicate](TObject* instance) { return (static_cast<C*>(instance)->*predicate)(); };
        return *this;
    }

private:
    TPropInfo& FInfo;
};

// TPublisher<C>: the builder handed to QUIRN_PUBLISH for class C.
template <class C>
class TPublisher {
public:
    explicit TPublisher(TPublished& table) : FTable(table) {}

    template <class Getter, class Setter>
    TPropertyBuilder Property(std::string_view name, Getter getter, Setter setter) {
        using T = typename typeinfo_detail::GetterTraits<Getter>::Type;
        TPropInfo::TSetter set;
        if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
            set = [setter](TObject* instance, const TPropValue& value) {
                C* object = static_cast<C*>(instance);
                if constexpr (std::is_member_object_pointer_v<Setter>)
                    object->*setter = typeinfo_detail::FromPropValue<T>(value);
                else
                    (object->*setter)(typeinfo_detail::FromPropValue<T>(value));
            };
        }
        return Add<T>(name, getter, std::move(set));
    }

    template <class Getter>
    TPropertyBuilder Property(std::string_view name, Getter getter) {
        using T = typename typeinfo_detail::GetterTraits<Getter>::Type;
        return Add<T>(name, getter, TPropInfo::TSetter());
    }

    template <class B, class R, class... A>
    void Method(std::string_view name, R (B::*member)(A...)) {
        static_assert(std::is_base_of_v<B, C>);
        FTable.Methods.push_back(TMethodInfo{
            std::string(name), &typeid(R(A...)),
            [member](TObject* instance) { return TDelegate<R(A...)>(static_cast<C*>(instance), member).ToMethod(); }});
    }

    template <class B, class T>
    void Field(std::string_view name, T* B::*field) {
        static_assert(std::is_base_of_v<B, C> && std::is_base_of_v<TObject, T>);
        FTable.Fields.push_back(TFieldInfo{
            std::string(name), &T::StaticClass(),
            [field](TObject* instance, TObject* value) { static_cast<C*>(instance)->*field = static_cast<T*>(value); },
            [field](TObject* instance) -> TObject* { return static_cast<C*>(instance)->*field; }});
    }

    static std::shared_ptr<const TPublished> Build() {
        auto table = std::make_shared<TPublished>();
        TPublisher publisher(*table);
        C::QuirnPublish(publisher);
        return table;
    }

private:
    template <class T, class Getter>
    TPropertyBuilder Add(std::string_view name, Getter getter, TPropInfo::TSetter set) {
        auto get = [getter](TObject* instance) -> TPropValue {
            C* object = static_cast<C*>(instance);
            if constexpr (std::is_member_object_pointer_v<Getter>)
                return typeinfo_detail::ToPropValue<T>(object->*getter);
            else
                return typeinfo_detail::ToPropValue<T>((object->*getter)());
        };
        FTable.Properties.push_back(
            std::make_unique<TPropInfo>(std::string(name), TypeInfo<T>(), std::move(get), std::move(set)));
        return TPropertyBuilder(*FTable.Properties.back());
    }

    TPublished& FTable;
};

// Defines Self::StaticClass() with a published table and registers the class
// by name; the braces that follow are the publishing function's body.
#define QUIRN_PUBLISH(Self, publisher)                                                                     \
    const TClass& Self::StaticClass() {                                                                    \
        static const TClass quirnClass(#Self, &Self::inherited::StaticClass(), TClass::CreatorFor<Self>(), \
                                       &TPublisher<Self>::Build);                                          \
        return quirnClass;                                                                                 \
    }                                                                                                      \
    QUIRN_REGISTER_CLASS(Self)                                                                             \
    void Self::QuirnPublish([[maybe_unused]] TPublisher<Self>& publisher)
